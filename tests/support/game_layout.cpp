#include "support/game_layout.h"

#include <algorithm>

#include "engine/crc32.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace testing_support {

namespace {

const wchar_t* const kQuarnelKeys[] = {
    L"PatchPathError", L"Error", L"LauncherXMLNoFind", L"NotMatch %1%", L"Caption",
    L"TextContent", L"OKBtn", L"CancelBtn", L"Installing_Check %1%/%2%",
    L"Installing_Update %1%/%2%", L"Installing_FileFalid %1%", L"Installing_PatchErr %1%",
    L"Installing_Added", L"Installing_Deleted", L"Installing_PatchFile"};

const wchar_t* const kLauncherKeys[] = {
    L"Error", L"Note", L"NeedDiskSpaceMore", L"WarningForClosing", L"DecompressUpdatePack",
    L"UpdateSuccessfully", L"UpdateFailedPleaseRetry", L"ParsePatchesIndexError",
    L"CopyFileFailed", L"To", L"SystemReturn", L"WorkingDir", L"NoExist", L"PatchFiles",
    L"CannotGenerate", L"ErrorOfPatchTarget", L"ApplyPatch", L"ToSource"};

// Each entry is "Key" or "Key directives"; the text is the entry in brackets.
template <std::size_t N>
std::vector<std::pair<std::wstring, std::wstring>> BracketTexts(const wchar_t* const (&entries)[N],
                                                                 wchar_t open, wchar_t close) {
  std::vector<std::pair<std::wstring, std::wstring>> texts;
  for (const std::wstring entry : entries) {
    texts.emplace_back(entry.substr(0, entry.find(L' ')), open + entry + close);
  }
  return texts;
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring escaped;
  for (const wchar_t c : text) {
    switch (c) {
      case L'&': escaped += L"&amp;"; break;
      case L'<': escaped += L"&lt;"; break;
      case L'>': escaped += L"&gt;"; break;
      case L'"': escaped += L"&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::wstring Element(const std::wstring& name, const std::wstring& text) {
  return L"<" + name + L">" + Escaped(text) + L"</" + name + L">";
}

std::wstring TextSet(const std::vector<std::pair<std::wstring, std::wstring>>& texts) {
  std::wstring xml = L"  <TextSet>\n";
  for (const auto& [key, text] : texts) xml += L"    " + Element(key, text) + L"\n";
  return xml + L"  </TextSet>\n";
}

void WriteXml(const std::wstring& path, const std::wstring& body) {
  WriteFile(path, platform::ToUtf8(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + body));
}

void SetText(std::vector<std::pair<std::wstring, std::wstring>>& texts, const std::wstring& key,
             const std::wstring& text) {
  const auto found = std::find_if(texts.begin(), texts.end(),
                                  [&](const auto& entry) { return entry.first == key; });
  if (found != texts.end()) {
    found->second = text;
  } else {
    texts.emplace_back(key, text);
  }
}

std::string SamplePackage() {
  std::string bytes(1000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  return bytes;
}

std::wstring ManifestPatch(const PatchInfo& patch) {
  return L"    <patch srcVersion=\"" + Escaped(patch.srcVersion) + L"\" destVersion=\"" +
         Escaped(patch.destVersion) + L"\" Size=\"" + std::to_wstring(patch.Size) +
         L"\" Crc=\"" + std::to_wstring(patch.Crc) + L"\"/>\n";
}

}  // namespace

GameLayout::GameLayout(GameLayoutSettings settings)
    : settings_(std::move(settings)),
      root_(temp_ / settings_.rootName),
      quarnelTexts_(BracketTexts(kQuarnelKeys, L'[', L']')),
      launcherTexts_(BracketTexts(kLauncherKeys, L'(', L')')) {
  WriteFile(platform::JoinPath(root_, L"Launcher.exe"), "launcher");
  WriteFile(platform::JoinPath(root_, L"qvtr.exe"), "client");
  WriteFile(InstallerPath(), "installer");
  WriteQuarnelConfig();
  WriteLauncherConfig();
  patch_.srcVersion = settings_.clientVersion;
  patch_.destVersion = settings_.targetVersion;
  WritePackage(SamplePackage());
}

std::wstring GameLayout::UpdatesFolder() const { return platform::JoinPath(root_, L"updates"); }
std::wstring GameLayout::ProfileFolder() const { return platform::JoinPath(root_, L"profile"); }
std::wstring GameLayout::InstallerFolder() const {
  return platform::JoinPath(root_, settings_.installerFolder);
}
std::wstring GameLayout::InstallerPath() const {
  return platform::JoinPath(InstallerFolder(), L"quarnel");
}
std::wstring GameLayout::QuarnelConfigPath() const {
  return platform::JoinPath(InstallerFolder(), L"Quarnel.cfg");
}
std::wstring GameLayout::ManifestPath() const {
  return platform::JoinPath(InstallerFolder(), L"index.xml");
}
std::wstring GameLayout::LauncherConfigPath() const {
  return platform::JoinPath(ProfileFolder(), L"Launcher.cfg");
}
std::wstring GameLayout::PackagePath() const {
  return platform::JoinPath(InstallerFolder(),
                            patch_.srcVersion + L"-" + patch_.destVersion + L".7z");
}

void GameLayout::WritePackage(const std::string& bytes) {
  package_ = bytes;
  WriteFile(PackagePath(), bytes);
  patch_.Size = static_cast<std::uint32_t>(bytes.size());
  patch_.Crc = Crc32Update(kCrc32Initial, bytes.data(), bytes.size());
  WriteClientPatches({patch_});
}

void GameLayout::WriteClientPatches(const std::vector<PatchInfo>& patches) {
  std::wstring xml = L"<root>\n  <launcher>\n";
  xml += L"    <patch srcVersion=\"" + Escaped(settings_.launcherVersion) +
         L"\" destVersion=\"" + Escaped(settings_.launcherVersion) + L".1\"/>\n";
  xml += L"  </launcher>\n  <client>\n";
  for (const PatchInfo& patch : patches) xml += ManifestPatch(patch);
  WriteXml(ManifestPath(), xml + L"  </client>\n</root>\n");
}

void GameLayout::SetQuarnelText(const std::wstring& key, const std::wstring& text) {
  SetText(quarnelTexts_, key, text);
  WriteQuarnelConfig();
}

void GameLayout::RemoveQuarnelText(const std::wstring& key) {
  std::erase_if(quarnelTexts_, [&](const auto& entry) { return entry.first == key; });
  WriteQuarnelConfig();
}

void GameLayout::SetLauncherText(const std::wstring& key, const std::wstring& text) {
  SetText(launcherTexts_, key, text);
  WriteLauncherConfig();
}

void GameLayout::SetClientVersion(const std::wstring& version) {
  settings_.clientVersion = version;
  WriteLauncherConfig();
}

void GameLayout::WriteQuarnelConfig() const {
  WriteXml(QuarnelConfigPath(), L"<Quarnel>\n" + TextSet(quarnelTexts_) + L"</Quarnel>\n");
}

void GameLayout::WriteLauncherConfig() const {
  WriteXml(LauncherConfigPath(),
           L"<Launcher>\n  " + Element(L"CurLauncherVersion", settings_.launcherVersion) +
               L"\n  " + Element(L"CurClientVersion", settings_.clientVersion) + L"\n" +
               TextSet(launcherTexts_) + L"</Launcher>\n");
}

InstallerProcess::InstallerProcess(const GameLayout& game)
    : executable_(game.InstallerPath()),
      previousFolder_(platform::System().CurrentFolder()),
      scope_(*this) {}

InstallerProcess::~InstallerProcess() { SetCurrentFolder(previousFolder_); }

std::wstring InstallerProcess::ExecutablePath() { return executable_; }

std::optional<std::uint64_t> InstallerProcess::FreeBytesAvailable(const std::wstring&) {
  return freeBytes;
}

}  // namespace testing_support

void PrintTo(const PatchInfo& patch, std::ostream* out) {
  *out << '{' << platform::ToUtf8(patch.srcVersion) << " -> " << platform::ToUtf8(patch.destVersion)
       << ", Size " << patch.Size << ", Crc " << patch.Crc << '}';
}
