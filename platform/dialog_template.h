#pragma once
// A dialog described as data: what a resource script would hold.
#include <string>
#include <vector>

namespace platform {

enum class ControlKind { PushButton, DefaultPushButton, ProgressBar, StaticText, ListBox };

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::wstring text;
  int x, y, width, height;  // dialog units
};

struct DialogTemplate {
  int id;
  int width, height;  // dialog units
  std::wstring title;
  std::wstring fontName;
  int fontPointSize;
  std::vector<ControlTemplate> controls;  // creation and tab order
};

}  // namespace platform
