#include "config/text_sets.h"

#include <boost/format.hpp>

#include "config/launcher_config.h"
#include "config/quarnel_config.h"

namespace {

template <typename... Values>
std::wstring Format(const std::wstring& pattern, const Values&... values) {
  try {
    boost::wformat format(pattern);
    (format % ... % values);
    return format.str();
  } catch (const boost::io::format_error&) {
    return {};
  }
}

}  // namespace

std::wstring QuarnelText(const std::wstring& key) {
  return ValueAt(QuarnelConfig(), L"Quarnel.TextSet." + key);
}

std::wstring LauncherText(const std::wstring& key) {
  return ValueAt(LauncherConfig::Instance().tree, L"Launcher.TextSet." + key);
}

std::wstring FormatText(const std::wstring& pattern, const std::wstring& value) {
  return Format(pattern, value);
}

std::wstring FormatText(const std::wstring& pattern, std::uint32_t first, std::uint32_t second) {
  return Format(pattern, first, second);
}
