#include "fuzz/fuzz_input.h"

#include <stdexcept>

#include "engine/game_folders.h"
#include "platform/text_encoding.h"

namespace fuzzing {

FuzzGame& FuzzGame::Instance() {
  static FuzzGame game;
  return game;
}

FuzzGame::FuzzGame() {
  if (!LocateGameRoot(L"updates", ProgramFolder())) {
    throw std::runtime_error("the fuzzing game layout has no game root");
  }
}

void FuzzGame::Write(const std::wstring& path, const std::uint8_t* data, std::size_t size) const {
  testing_support::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
}

std::wstring WideText(const std::uint8_t* data, std::size_t size) {
  return platform::FromUtf8Lossy(std::string(reinterpret_cast<const char*>(data), size));
}

}  // namespace fuzzing
