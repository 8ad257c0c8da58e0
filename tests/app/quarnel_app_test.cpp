#include "app/quarnel_app.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <thread>

#include "engine/game_folders.h"
#include "platform/headless/headless_window_system.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"

namespace {

using testing_support::GameLayout;
using testing_support::GameLayoutSettings;
using testing_support::InstallerProcess;
using testing_support::WriteFile;

constexpr wchar_t kSettingsKey[] = L"应用程序向导生成的本地应用程序";

void Remove(const std::wstring& path) {
  ASSERT_EQ(std::remove(platform::NativePath(path).c_str()), 0) << platform::ToUtf8(path);
}

struct Box {
  std::wstring caption;
  std::wstring text;
};

struct StartupCase {
  const char* name;
  GameLayoutSettings settings;
  std::function<void(GameLayout&, InstallerProcess&)> change;
  std::optional<Box> box;  // nothing: the program ends silently
};

const auto kNoChange = [](GameLayout&, InstallerProcess&) {};

TEST(StartupTest, EveryFailingStepEndsWithItsMessage) {
  const Box pathError{L"[Error]", L"[PatchPathError]"};
  const Box launcherError{L"[Error]", L"[LauncherXMLNoFind]"};
  const StartupCase cases[] = {
      {"no Quarnel.cfg", {}, [](GameLayout& game, InstallerProcess&) {
         Remove(game.QuarnelConfigPath());
       }, std::nullopt},
      {"Quarnel.cfg not well-formed", {}, [](GameLayout& game, InstallerProcess&) {
         WriteFile(game.QuarnelConfigPath(), "<Quarnel><TextSet>");
       }, std::nullopt},
      {"folder named Updates", {.installerFolder = L"Updates"}, kNoChange, pathError},
      {"folder named updates2", {.installerFolder = L"updates2"}, kNoChange, pathError},
      {"no updates folder", {.installerFolder = L"tools"}, kNoChange, pathError},
      {"nearest updates folder is not below a game root",
       {.installerFolder = L"updates/B/updates"}, kNoChange, pathError},
      {"Launcher.exe is a folder", {}, [](GameLayout& game, InstallerProcess&) {
         const std::wstring launcher = platform::JoinPath(game.Root(), L"Launcher.exe");
         Remove(launcher);
         WriteFile(platform::JoinPath(launcher, L"inside"), "");
       }, pathError},
      {"qvtr.exe missing", {}, [](GameLayout& game, InstallerProcess&) {
         Remove(platform::JoinPath(game.Root(), L"qvtr.exe"));
       }, pathError},
      {"PatchPathError text missing", {.installerFolder = L"Updates"},
       [](GameLayout& game, InstallerProcess&) { game.RemoveQuarnelText(L"PatchPathError"); },
       Box{L"[Error]", L""}},
      {"no index.xml beside the installer", {}, [](GameLayout& game, InstallerProcess&) {
         WriteFile(platform::JoinPath(game.Root(), L"index.xml"), "<root><launcher/><client/></root>");
         Remove(game.ManifestPath());
       }, std::nullopt},
      {"index.xml without client", {}, [](GameLayout& game, InstallerProcess&) {
         WriteFile(game.ManifestPath(), "<root><launcher/></root>");
       }, std::nullopt},
      {"no Launcher.cfg nor back-up", {}, [](GameLayout& game, InstallerProcess&) {
         Remove(game.LauncherConfigPath());
       }, launcherError},
      {"Launcher.cfg not well-formed", {}, [](GameLayout& game, InstallerProcess&) {
         WriteFile(game.LauncherConfigPath(), "<Launcher>");
       }, launcherError},
      {"1023 MiB free", {}, [](GameLayout&, InstallerProcess& process) {
         process.freeBytes = (std::uint64_t{1024} << 20) - 1;
       }, Box{L"(Note)", L"(NeedDiskSpaceMore)"}},
      {"no package", {}, [](GameLayout& game, InstallerProcess&) {
         Remove(game.PackagePath());
       }, Box{L"[Error]", L"[NotMatch Patch_1.0.0.7-1.0.0.8.exe]"}},
  };
  for (const StartupCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameLayout game(c.settings);
    InstallerProcess process(game);
    c.change(game, process);
    platform::ScopedHeadlessWindows windows;
    CQuarnelApp app;

    EXPECT_FALSE(app.InitInstance());

    const auto boxes = windows->Boxes();
    ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
    if (c.box) {
      EXPECT_EQ(boxes[0].caption, c.box->caption);
      EXPECT_EQ(boxes[0].text, c.box->text);
      EXPECT_EQ(boxes[0].owner, nullptr);
      EXPECT_EQ(boxes[0].thread, std::this_thread::get_id());
    }
    EXPECT_EQ(windows->SettingsKey(), L"");
    EXPECT_EQ(app.PatchInfo, PatchInfo());
  }
}

TEST(StartupTest, ReachesTheDialogWithThePatchChosen) {
  const GameLayoutSettings layouts[] = {
      {},
      {.installerFolder = L"updates/a/b"},
      {.rootName = L"游戏 Vostrand", .installerFolder = L"updates/补丁",
       .clientVersion = L"版本1", .targetVersion = L"版本2"},
  };
  for (const GameLayoutSettings& layout : layouts) {
    SCOPED_TRACE(platform::ToUtf8(layout.rootName + L"/" + layout.installerFolder));
    GameLayout game(layout);
    InstallerProcess process(game);
    platform::ScopedHeadlessWindows windows;
    CQuarnelApp app;

    EXPECT_FALSE(app.InitInstance());

    EXPECT_TRUE(windows->Boxes().empty());
    EXPECT_EQ(windows->SettingsKey(), kSettingsKey);
    EXPECT_EQ(app.PatchInfo, game.Patch());
    EXPECT_EQ(GameRootFolder(), game.Root());
    EXPECT_EQ(platform::System().CurrentFolder(), game.InstallerFolder());
  }
}

TEST(StartupTest, RaisesTheOpenFileLimit) {
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max < 2) GTEST_SKIP() << "no finite hard limit";
  limit.rlim_cur = limit.rlim_max / 2;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);

  GameLayout game;
  InstallerProcess process(game);
  platform::ScopedHeadlessWindows windows;
  CQuarnelApp().InitInstance();

  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  EXPECT_EQ(limit.rlim_cur, limit.rlim_max);
}

}  // namespace
