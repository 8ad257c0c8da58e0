#include "platform/wx/log_list.h"

namespace platform {

namespace {
constexpr int kCellPadding = 12;
}  // namespace

LogList::LogList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size,
                 long style)
    : wxListCtrl(parent, id, position, size,
                 style | wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL) {
  AppendColumn(wxString());
}

void LogList::Append(const std::wstring& line) {
  InsertItem(GetItemCount(), line);
  // The one column is as wide as the widest line, measured once per line.
  const int width = GetTextExtent(line).GetWidth() + kCellPadding;
  if (width > widestLine_) {
    widestLine_ = width;
    SetColumnWidth(0, width);
  }
}

void LogList::Clear() {
  DeleteAllItems();
  widestLine_ = 0;
  SetColumnWidth(0, 0);
}

}  // namespace platform
