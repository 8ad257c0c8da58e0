#pragma once
// The dialog's controls as members: each is bound to a control of the open window by id.
#include <cstdint>
#include <string>

#include "platform/window.h"

class DialogControl {
 public:
  void Bind(platform::DialogWindow& window, int controlId) {
    window_ = &window;
    id_ = controlId;
  }

 protected:
  platform::DialogWindow& Window() const { return *window_; }
  int Id() const { return id_; }

 private:
  platform::DialogWindow* window_ = nullptr;
  int id_ = 0;
};

class ButtonControl : public DialogControl {
 public:
  void Enable(bool enabled) { Window().EnableControl(Id(), enabled); }
  void SetCaption(const std::wstring& caption) { Window().SetControlText(Id(), caption); }
};

class ProgressControl : public DialogControl {
 public:
  void SetRange(std::uint16_t minimum, std::uint16_t maximum) {
    Window().SetProgressRange16(Id(), minimum, maximum);
  }
  void SetRange32(std::int32_t minimum, std::int32_t maximum) {
    Window().SetProgressRange32(Id(), minimum, maximum);
  }
  void SetPos(std::int32_t position) { Window().SetProgressPosition(Id(), position); }
};

class ListControl : public DialogControl {
 public:
  void ResetContent() { Window().ListClear(Id()); }
};
