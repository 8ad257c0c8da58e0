// Time of a whole update run (unpack, check, apply, clean up) with the real 7z and
// xdelta3, on a package of many small entries of each kind and one large patched file.
// Usage: update_run [small entries per kind] [MiB of the large file]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "config/patch_info.h"
#include "engine/crc32.h"
#include "engine/game_folders.h"
#include "engine/updater.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = boost::filesystem;
using Clock = std::chrono::steady_clock;

// The installer as if it lay in the game's updates folder.
class InstallerInGame : public platform::SystemServices {
 public:
  explicit InstallerInGame(const fs::path& installer) : installer_(platform::FromUtf8Lossy(installer.string())) {}
  std::wstring ExecutablePath() override { return installer_; }

 private:
  std::wstring installer_;
};

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path.string(), std::ios::binary) << bytes;
}

std::string RandomBytes(std::size_t length, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(length, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::uint32_t Crc(const std::string& bytes) { return Crc32Update(kCrc32Initial, bytes.data(), bytes.size()); }

void Shell(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string PatchElement(const std::string& name, const std::string& source) {
  return "<Patch PatchFile=\"d\\" + name + "\" SrcFile=\"" + name + "\" SrcSize=\"" + std::to_string(source.size()) +
         "\" SrcCrc=\"" + std::to_string(Crc(source)) + "\"/>";
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 1000;
  const std::size_t largeMiB = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 256;
  platform::RaiseOpenFileLimit();
  const fs::path base = fs::temp_directory_path() / fs::unique_path("quarnel-run-bench-%%%%-%%%%");
  const fs::path root = base / "Game";
  const fs::path top = base / "build" / "1-2";
  Write(root / "Launcher.exe", "l");
  Write(root / "qvtr.exe", "q");
  Write(root / "updates" / "quarnel", "");

  // Each patched file: its game file, its target and its delta.
  struct Patched {
    fs::path source, target, delta;
  };
  std::vector<Patched> deltas;
  std::string added, deleted, patched;
  for (int i = 0; i < entries; ++i) {
    const std::string name = "file " + std::to_string(i) + ".dat";
    const std::string source = RandomBytes(4096, i);
    Write(top / "small" / name, "added " + std::to_string(i));
    added += "<Patch SrcFile=\"small\\" + name + "\"/>";
    Write(root / ("old " + name), "old");
    deleted += "<Patch SrcFile=\"old " + name + "\"/>";
    Write(root / "patched" / name, source);
    Write(base / "targets" / name, source + "tail");
    deltas.push_back({root / "patched" / name, base / "targets" / name, top / "d" / "patched" / name});
    patched += PatchElement("patched\\" + name, source);
  }
  const std::string largeSource = RandomBytes(largeMiB << 20, 7);
  std::string largeTarget = largeSource;
  largeTarget.replace(largeTarget.size() / 2, 4096, RandomBytes(4096, 8));
  Write(root / "large.pak", largeSource);
  Write(base / "targets" / "large.pak", largeTarget);
  deltas.push_back({root / "large.pak", base / "targets" / "large.pak", top / "d" / "large.pak"});
  patched += PatchElement("large.pak", largeSource);
  Write(top / "1-2.xml", "<Root><Patches><AddedFiles>" + added + "</AddedFiles><DeletedFiles>" + deleted +
                             "</DeletedFiles><PatchFiles>" + patched + "</PatchFiles></Patches></Root>");

  const auto buildStart = Clock::now();
  for (const Patched& file : deltas) {
    fs::create_directories(file.delta.parent_path());
    Shell("xdelta3 -e -D -f -s '" + file.source.string() + "' '" + file.target.string() + "' '" +
          file.delta.string() + "'");
  }
  Shell("cd '" + (base / "build").string() + "' && 7z a -mx1 '" + (root / "updates" / "1-2.7z").string() + "' 1-2");
  const double buildSeconds = SecondsSince(buildStart);

  InstallerInGame installer(root / "updates" / "quarnel");
  const platform::ScopedSystemServices scope(installer);
  LocateGameRoot(L"updates", ProgramFolder());
  const PatchInfo patch{L"1", L"2", 1, 1};
  const auto runStart = Clock::now();
  CUpdater::Instance().run(patch);
  const double runSeconds = SecondsSince(runStart);

  const CUpdater& updater = CUpdater::Instance();
  std::printf("package: %d added, %d deleted, %d small patched, 1 patched file of %zu MiB (built in %.1f s)\n", entries,
              entries, entries, largeMiB, buildSeconds);
  std::printf("run:     state %u, %u of %u entries applied, %.2f s\n", updater.state.load(), updater.updatedCount.load(),
              updater.updateTotal.load(), runSeconds);
  fs::remove_all(base);
  return updater.state.load() == Succeeded ? 0 : 1;
}
