#pragma once
// The application icon, as XPM image data (32 x 32).

const char* const* AppIconXpm();
