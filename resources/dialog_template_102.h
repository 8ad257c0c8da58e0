#pragma once
// The main dialog's template and the ids of its controls.
#include "platform/dialog_template.h"

inline constexpr int kMainDialogTemplateId = 102;
inline constexpr int kInstallButtonId = 1;
inline constexpr int kCloseButtonId = 2;
inline constexpr int kLogListControlId = 1004;
inline constexpr int kProgressBarId = 1010;
inline constexpr int kStatusTextControlId = 1011;

const platform::DialogTemplate& MainDialogTemplate();
