#pragma once
// A progress bar drawn to the template's geometry, with a signed 32-bit range that need
// not start at 0. The position stays inside the range, as a progress bar keeps it.
#include <cstdint>

#include <wx/window.h>

namespace platform {

class ProgressBar : public wxWindow {
 public:
  ProgressBar(wxWindow* parent, int id, const wxPoint& position, const wxSize& size, long style);

  void SetRange(std::int32_t minimum, std::int32_t maximum);
  void SetValue(std::int32_t position);

  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);

  std::int32_t minimum_ = 0, maximum_ = 100, position_ = 0;
};

}  // namespace platform
