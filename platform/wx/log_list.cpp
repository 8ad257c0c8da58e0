#include "platform/wx/log_list.h"

namespace platform {

namespace {
constexpr int kCellPadding = 12;
}  // namespace

LogList::LogList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size, long style)
    : wxListCtrl(parent, id, position, size,
                 style | wxLC_REPORT | wxLC_VIRTUAL | wxLC_NO_HEADER | wxLC_SINGLE_SEL) {
  AppendColumn(wxString());
}

void LogList::Append(const std::wstring& line) {
  // Lines not yet measured mean a measuring is already queued.
  const bool measuringQueued = linesMeasured_ < lines_.size();
  lines_.push_back(line);
  SetItemCount(static_cast<long>(lines_.size()));
  // Measuring text costs more than the rest of an append, and the worker waits for each
  // append: the column is widened just after, by the time the lines are drawn.
  if (!measuringQueued) CallAfter([this] { WidenForNewLines(); });
}

// The one column is as wide as the widest line, each line measured once.
void LogList::WidenForNewLines() {
  int widest = widestLine_;
  for (; linesMeasured_ < lines_.size(); ++linesMeasured_)
    widest = std::max(widest, GetTextExtent(lines_[linesMeasured_]).GetWidth() + kCellPadding);
  if (widest > widestLine_) {
    widestLine_ = widest;
    SetColumnWidth(0, widest);
  }
}

void LogList::Clear() {
  lines_.clear();
  linesMeasured_ = 0;
  SetItemCount(0);
  widestLine_ = 0;
  SetColumnWidth(0, 0);
}

wxString LogList::OnGetItemText(long item, long) const {
  return item >= 0 && static_cast<std::size_t>(item) < lines_.size() ? wxString(lines_[item])
                                                                     : wxString();
}

}  // namespace platform
