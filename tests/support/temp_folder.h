#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <string>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // Path() + separator + relative ('\' in relative is taken as a separator).
  std::wstring operator/(const std::wstring& relative) const;

 private:
  std::wstring path_;
};

// Small file helpers for tests; parents are created as needed. Paths are wide.
void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);
bool Exists(const std::wstring& path);

}  // namespace testing_support
