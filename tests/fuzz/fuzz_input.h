#pragma once
// What the fuzz targets share: the readers take paths under a game folder, so every
// target works in one game layout that lives for the whole process, with the process set
// up as its installer and the game root located; each input is written over the file
// the reader is about to read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/game_layout.h"

namespace fuzzing {

class FuzzGame {
 public:
  static FuzzGame& Instance();

  const testing_support::GameLayout& Layout() const { return game_; }
  // Replaces the file at path with the input's bytes.
  void Write(const std::wstring& path, const std::uint8_t* data, std::size_t size) const;

 private:
  FuzzGame();

  testing_support::GameLayout game_;
  testing_support::InstallerProcess process_{game_};
};

// The input as the readers see attribute texts: UTF-8 with invalid bytes as U+FFFD.
std::wstring WideText(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
