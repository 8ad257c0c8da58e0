#pragma once
// A dialog described as data: what a resource script would hold.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class ControlKind { PushButton, DefaultPushButton, ProgressBar, StaticText, ListBox };

enum ControlStyle : std::uint32_t {
  kTabStop = 1u << 0,  // reached with the Tab key
  kBorder = 1u << 1,
  kVerticalScroll = 1u << 2,
  kHorizontalScroll = 1u << 3,
};

enum DialogStyle : std::uint32_t {
  kCaption = 1u << 0,
  kSystemMenu = 1u << 1,  // the caption has a close box
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::wstring text;
  int x, y, width, height;  // dialog units
  std::uint32_t style;      // ControlStyle bits
};

struct DialogTemplate {
  int id;
  int width, height;  // dialog units
  std::wstring title;
  std::wstring fontName;
  int fontPointSize;
  std::uint32_t style;                    // DialogStyle bits
  std::vector<ControlTemplate> controls;  // creation and tab order
};

// Dialog units to pixels for a font whose average character is charWidth x charHeight
// pixels: a horizontal unit is a quarter of the width, a vertical one an eighth of the height.
inline int DialogUnitsToPixelsX(int units, int charWidth) { return units * charWidth / 4; }
inline int DialogUnitsToPixelsY(int units, int charHeight) { return units * charHeight / 8; }

}  // namespace platform
