// Texts of both sets are data: any pattern, with one text value or two numbers.
#include "config/text_sets.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::wstring pattern = fuzzing::WideText(data + 1, size - 1);
  if (data[0] & 1) {
    FormatText(pattern, L"Patch_1.0-1.1.exe \u7248 %1% %s");
  } else {
    FormatText(pattern, data[0], 4294967295u);
  }
  return 0;
}
