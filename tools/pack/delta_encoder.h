#pragma once
// Owns the xdelta3 command line that makes a package's deltas.
#include <string>

class DeltaEncoder {
 public:
  // Throws PackError when xdelta3 is neither beside the packer nor on PATH.
  DeltaEncoder();

  // Writes to delta the difference that rebuilds target from source, in a form any
  // xdelta3 build decodes: external decompression off (-D), so a gzip-looking file is
  // taken as it is, and no secondary compression (-S none), which needs a build with
  // that compressor and gains nothing once 7z has compressed the package. Throws PackError.
  void Encode(const std::wstring& source, const std::wstring& target, const std::wstring& delta) const;

 private:
  std::wstring program_;
};
