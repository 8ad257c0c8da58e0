#include "engine/updater.h"

#include <utility>

CUpdater& CUpdater::Instance() {
  static CUpdater instance;
  return instance;
}

CUpdater::CUpdater() : messageId(platform::RegisterMessageName(L"UPDATER_THREAD_EVENT")) {}

void CUpdater::Notify(UpdaterState newState) {
  state.store(newState, std::memory_order_release);
  if (const auto link = dialog_.load()) link->channel->Post(messageId, newState, 0);
}

void CUpdater::AddLogLine(const std::wstring& line) {
  ChangeDialog([&](platform::DialogWindow& window) { window.ListAppend(kLogListId, line); });
}

void CUpdater::SetStatusText(const std::wstring& text) {
  ChangeDialog([&](platform::DialogWindow& window) { window.SetControlText(kStatusTextId, text); });
}

void CUpdater::AttachDialog(std::shared_ptr<platform::DialogChannel> channel, platform::DialogWindow* window) {
  dialog_.store(std::make_shared<const DialogLink>(DialogLink{std::move(channel), window}));
}

void CUpdater::DetachDialog() { dialog_.store(nullptr); }

void CUpdater::ChangeDialog(const std::function<void(platform::DialogWindow&)>& change) {
  const auto link = dialog_.load();
  if (!link) return;
  // The channel drops the call once the dialog is gone, so window is never reached late.
  link->channel->CallSync([&] { change(*link->window); });
}
