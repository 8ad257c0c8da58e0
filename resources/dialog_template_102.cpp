#include "resources/dialog_template_102.h"

using namespace platform;

const DialogTemplate& MainDialogTemplate() {
  static const DialogTemplate dialog{
      kMainDialogTemplateId,
      351,
      193,
      L"Vostrand - 手动更新工具",
      L"宋体",
      10,
      kCaption | kSystemMenu,
      {
          {kInstallButtonId, ControlKind::DefaultPushButton, L"安装", 231, 171, 53, 14, kTabStop},
          {kCloseButtonId, ControlKind::PushButton, L"关闭", 290, 171, 54, 14, kTabStop},
          {kProgressBarId, ControlKind::ProgressBar, L"", 7, 25, 333, 12, kBorder},
          {kStatusTextControlId, ControlKind::StaticText, L"安装进度", 9, 11, 226, 8, 0},
          {kLogListControlId, ControlKind::ListBox, L"", 7, 40, 333, 126,
           kBorder | kVerticalScroll | kHorizontalScroll | kTabStop},
      }};
  return dialog;
}
