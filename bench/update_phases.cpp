// Where the time of one update goes: runs the worker without a window on a game folder
// that is ready for the installer (its updates folder holding the texts, the manifest and
// the package) and prints the time of each phase, of the external programs, of the copies
// and moves into the game, of the deletions, and of one CRC pass over the game files to
// be patched. The game folder is updated. Usage: update_phases GAME_FOLDER
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/patch_info.h"
#include "config/quarnel_config.h"
#include "engine/crc32.h"
#include "engine/game_folders.h"
#include "engine/patch_index.h"
#include "engine/updater.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// The real services, timed, for an installer that lies in the game's updates folder.
class TimedServices : public platform::SystemServices {
 public:
  explicit TimedServices(std::wstring installer) : installer_(std::move(installer)) {}
  std::wstring ExecutablePath() override { return installer_; }

  bool CopyFile(const std::wstring& source, const std::wstring& destination) override {
    const auto start = Clock::now();
    const bool copied = SystemServices::CopyFile(source, destination);
    copying += Clock::now() - start;
    return copied;
  }
  bool MoveFile(const std::wstring& source, const std::wstring& destination) override {
    const auto start = Clock::now();
    const bool moved = SystemServices::MoveFile(source, destination);
    copying += Clock::now() - start;
    return moved;
  }
  bool DeleteFile(const std::wstring& path) override {
    const auto start = Clock::now();
    const bool deleted = SystemServices::DeleteFile(path);
    deleting += Clock::now() - start;
    return deleted;
  }
  std::optional<int> RunProgram(const std::wstring& program, const std::vector<std::wstring>& args,
                                const std::wstring& workingFolder) override {
    const auto start = Clock::now();
    const auto status = SystemServices::RunProgram(program, args, workingFolder);
    (program.find(L"7z") != std::wstring::npos ? archiver : deltaTool) += Clock::now() - start;
    return status;
  }

  Clock::duration copying{}, deleting{}, archiver{}, deltaTool{};

 private:
  std::wstring installer_;
};

// The moment the worker first shows each state, polled every 100 µs from another thread
// (Counted passes too quickly to be seen).
class StateWatch {
 public:
  explicit StateWatch(const CUpdater& updater)
      : thread_([this, &updater] {
          for (bool last = false; !last;) {
            last = stop_;
            const std::uint32_t state = updater.state.load();
            if (state < seen_.size() && seen_[state] == Clock::time_point{}) seen_[state] = Clock::now();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
          }
        }) {}
  ~StateWatch() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  double Between(UpdaterState from, UpdaterState to) const { return Seconds(seen_[to] - seen_[from]); }

 private:
  std::array<Clock::time_point, 9> seen_{};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// One CRC pass over every game file to be patched, as the check phase makes it.
double CrcPassSeconds(const PatchInfo& patch) {
  PatchIndex index;
  // The index is only in the package: unpack it aside to read the list.
  const std::wstring probe = platform::JoinPath(ProgramFolder(), L"crc-probe");
  platform::System().RunProgram(platform::FindProgram(L"7z"),
                                {L"x", platform::JoinPath(ProgramFolder(), PackageFileName(patch)), L"-o" + probe,
                                 L"-ir!" + PackageBaseName(patch) + L".xml", L"-aoa"},
                                ProgramFolder());
  const bool parsed =
      ParsePatchIndex(index, platform::JoinPath(probe, PackageBaseName(patch) + L"/" + PackageBaseName(patch) + L".xml"));
  platform::System().DeleteTree(probe);
  if (!parsed) std::fprintf(stderr, "update_phases: the package index cannot be read\n");
  const auto start = Clock::now();
  for (const PatchEntry& entry : index.PatchFiles) FileCrc32(platform::JoinPath(GameRootFolder(), entry.SrcFile));
  return Seconds(Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: update_phases GAME_FOLDER\n");
    return 2;
  }
  platform::RaiseOpenFileLimit();
  const std::wstring updates = platform::JoinPath(platform::FromUtf8Lossy(argv[1]), L"updates");
  TimedServices services(platform::JoinPath(updates, L"quarnel"));
  const platform::ScopedSystemServices scope(services);
  if (!LoadQuarnelConfig(QuarnelConfig()) || !LocateGameRoot(L"updates", ProgramFolder()) ||
      !LoadLauncherConfig(LauncherConfig::Instance()) ||
      !LoadManifest(platform::JoinPath(updates, L"index.xml"))) {
    std::fprintf(stderr, "update_phases: %s is no game ready for the installer\n", argv[1]);
    return 1;
  }
  const PatchInfo patch = FindClientPatch(CurrentClientVersion());
  const double crcPass = CrcPassSeconds(patch);
  services.archiver = {};

  CUpdater& updater = CUpdater::Instance();
  StateWatch watch(updater);
  const auto start = Clock::now();
  updater.run(patch);
  const double total = Seconds(Clock::now() - start);
  watch.Stop();
  if (updater.state.load() != Succeeded) {
    std::fprintf(stderr, "update_phases: the update did not succeed (state %u)\n", updater.state.load());
    return 1;
  }
  std::printf("total %.3f unpack %.3f check %.3f apply %.3f archiver %.3f xdelta3 %.3f copies %.3f deletions %.3f "
              "crc-pass %.3f entries %u\n",
              total, watch.Between(Unpacking, Checking), watch.Between(Checking, Applying),
              watch.Between(Applying, Succeeded), Seconds(services.archiver), Seconds(services.deltaTool),
              Seconds(services.copying), Seconds(services.deleting), crcPass, updater.updateTotal.load());
  return 0;
}
