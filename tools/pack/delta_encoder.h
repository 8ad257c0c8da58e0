#pragma once
// Owns the xdelta3 command line that makes a package's deltas.
#include <string>

class DeltaEncoder {
 public:
  // Throws PackError when xdelta3 is neither beside the packer nor on PATH.
  DeltaEncoder();

  // Writes to delta the difference that rebuilds target from source. External
  // decompression is off (-D), so a delta of a gzip-looking file decodes with any
  // xdelta3 build. Throws PackError.
  void Encode(const std::wstring& source, const std::wstring& target, const std::wstring& delta) const;

 private:
  std::wstring program_;
};
