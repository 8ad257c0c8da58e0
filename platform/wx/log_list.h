#pragma once
// A list of lines that scrolls both ways: a line wider than the list can be scrolled to,
// and appending never scrolls or selects. The lines are kept here and drawn on demand,
// so appending stays cheap however long the list grows.
#include <string>
#include <vector>

#include <wx/listctrl.h>

namespace platform {

class LogList : public wxListCtrl {
 public:
  LogList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size, long style);

  void Append(const std::wstring& line);
  void Clear();

 private:
  wxString OnGetItemText(long item, long column) const override;
  void WidenForNewLines();

  std::vector<std::wstring> lines_;
  std::size_t linesMeasured_ = 0;
  int widestLine_ = 0;
};

}  // namespace platform
