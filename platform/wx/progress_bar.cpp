#include "platform/wx/progress_bar.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace platform {

ProgressBar::ProgressBar(wxWindow* parent, int id, const wxPoint& position, const wxSize& size,
                         long style)
    : wxWindow(parent, id, position, size, style | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &ProgressBar::OnPaint, this);
}

void ProgressBar::SetRange(std::int32_t minimum, std::int32_t maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetValue(position_);
}

void ProgressBar::SetValue(std::int32_t position) {
  position_ = std::clamp(position, minimum_, maximum_);
  Refresh();
}

void ProgressBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
  dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
  const std::int64_t span = std::int64_t{maximum_} - minimum_;
  if (span <= 0) return;
  const auto filled =
      static_cast<int>(size.GetWidth() * (std::int64_t{position_} - minimum_) / span);
  dc.SetBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
  dc.DrawRectangle(0, 0, filled, size.GetHeight());
}

}  // namespace platform
