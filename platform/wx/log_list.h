#pragma once
// A list of lines that scrolls both ways: a line wider than the list can be scrolled to,
// and appending never scrolls or selects.
#include <string>

#include <wx/listctrl.h>

namespace platform {

class LogList : public wxListCtrl {
 public:
  LogList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size, long style);

  void Append(const std::wstring& line);
  void Clear();

 private:
  int widestLine_ = 0;
};

}  // namespace platform
