#pragma once
// Owns the xdelta3 command line that makes a package's deltas.
#include <cstdint>
#include <string>

class DeltaEncoder {
 public:
  // xdelta3 finds content that moved only within its source window (64 MiB unless told).
  // A window as large as the old file finds it anywhere, at up to about twice the window
  // in memory per running xdelta3; sourceWindowLimit bounds it.
  // Throws PackError when xdelta3 is neither beside the packer nor on PATH.
  explicit DeltaEncoder(std::uint64_t sourceWindowLimit);

  // Writes to delta the difference that rebuilds target from source, in a form any
  // xdelta3 build decodes: external decompression off (-D), so a gzip-looking file is
  // taken as it is, and no secondary compression (-S none), which needs a build with
  // that compressor and gains nothing once 7z has compressed the package. Throws PackError.
  void Encode(const std::wstring& source, std::uint64_t sourceSize, const std::wstring& target,
              const std::wstring& delta) const;

 private:
  std::wstring program_;
  std::uint64_t sourceWindowLimit_;
};
