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
  lines_.push_back(line);
  SetItemCount(static_cast<long>(lines_.size()));
  // The one column is as wide as the widest line, measured once per line.
  const int width = GetTextExtent(line).GetWidth() + kCellPadding;
  if (width > widestLine_) {
    widestLine_ = width;
    SetColumnWidth(0, width);
  }
}

void LogList::Clear() {
  lines_.clear();
  SetItemCount(0);
  widestLine_ = 0;
  SetColumnWidth(0, 0);
}

wxString LogList::OnGetItemText(long item, long) const {
  return item >= 0 && static_cast<std::size_t>(item) < lines_.size() ? wxString(lines_[item])
                                                                     : wxString();
}

}  // namespace platform
