#include "app/quarnel_app.h"

#include "app/pre_install_checks.h"
#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/quarnel_config.h"
#include "config/text_sets.h"
#include "engine/game_folders.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/run_main_dialog.h"

namespace {

// Name of the per-user key under which the window toolkit keeps its own settings.
constexpr wchar_t kSettingsKey[] = L"应用程序向导生成的本地应用程序";

void ShowStartupError(const wchar_t* textKey) {
  platform::Windows().MessageBox(QuarnelText(textKey), QuarnelText(L"Error"), nullptr);
}

}  // namespace

bool CQuarnelApp::InitInstance() {
  // An update holds every file it touches open at once.
  platform::RaiseOpenFileLimit();
  if (PrepareInstall()) RunMainDialog(PatchInfo);
  return false;
}

bool CQuarnelApp::PrepareInstall() {
  const std::wstring programFolder = ProgramFolder();
  platform::System().SetCurrentFolder(programFolder);
  // No texts yet, so nothing can be said.
  if (!LoadQuarnelConfig(QuarnelConfig())) return false;
  if (!LocateGameRoot(L"updates", programFolder)) {
    ShowStartupError(L"PatchPathError");
    return false;
  }
  if (!LoadManifest(platform::JoinPath(programFolder, L"index.xml"))) return false;
  if (!LoadLauncherConfig(LauncherConfig::Instance())) {
    ShowStartupError(L"LauncherXMLNoFind");
    return false;
  }
  if (CheckBeforeInstall(*this) == 0) return false;
  platform::Windows().SetSettingsKey(kSettingsKey);
  return true;
}

CQuarnelApp& TheApp() {
  static CQuarnelApp app;
  return app;
}
