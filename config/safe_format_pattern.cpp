#include "config/safe_format_pattern.h"

namespace {

// Argument numbers, widths and precisions of real texts are far below this.
constexpr std::size_t kMaximumDigits = 4;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsFlag(wchar_t c) {
  return c == L'\'' || c == L'-' || c == L'=' || c == L'_' || c == L' ' || c == L'+' ||
         c == L'0' || c == L'#';
}

bool IsSizeModifier(wchar_t c) {
  return c == L'h' || c == L'l' || c == L'j' || c == L'z' || c == L'L' || c == L'w' ||
         c == L'I' || c == L'3' || c == L'2' || c == L'6' || c == L'4';
}

class DirectiveReader {
 public:
  DirectiveReader(std::wstring_view pattern, std::size_t position)
      : pattern_(pattern), position_(position) {}

  std::size_t Position() const { return position_; }

  // Reads one directive, the '%' already passed; false when it is one of the unsafe shapes.
  bool Read() {
    const bool inBrackets = Skip(L'|');
    if (!SkipNumber()) return false;  // argument number or width
    if (Skip(L'%')) return true;      // "%N%"
    Skip(L'$');
    while (At(IsFlag)) ++position_;
    if (!Skip(L'*') && !SkipNumber()) return false;
    if (Skip(L'.') && !Skip(L'*') && !SkipNumber()) return false;
    while (At(IsSizeModifier)) ++position_;
    if (inBrackets && Skip(L'|')) return true;
    if (Skip(L'T') && Skip(L'%')) return false;  // the fill character
    if (position_ < pattern_.size()) ++position_;  // the conversion, or the fill after 'T'
    if (inBrackets) Skip(L'|');
    return true;
  }

 private:
  bool At(bool (*matches)(wchar_t)) const {
    return position_ < pattern_.size() && matches(pattern_[position_]);
  }

  bool Skip(wchar_t c) {
    if (position_ >= pattern_.size() || pattern_[position_] != c) return false;
    ++position_;
    return true;
  }

  bool SkipNumber() {
    const std::size_t start = position_;
    while (At(IsDigit)) ++position_;
    return position_ - start <= kMaximumDigits;
  }

  std::wstring_view pattern_;
  std::size_t position_;
};

}  // namespace

bool IsSafeFormatPattern(std::wstring_view pattern) {
  std::size_t position = 0;
  while ((position = pattern.find(L'%', position)) != std::wstring_view::npos) {
    if (position + 1 < pattern.size() && pattern[position + 1] == L'%') {
      position += 2;  // "%%"
      continue;
    }
    DirectiveReader directive(pattern, position + 1);
    if (!directive.Read()) return false;
    position = directive.Position();
  }
  return true;
}
