#include "shell/settings_ui/StockSettings.h"

#include "platform/win/message_box.h"
#include "platform/win/messages.h"
#include "shell/app/LogStore.h"
#include "shell/settings/PresetItems.h"
#include "shell/settings_ui/StockBlocks.h"

namespace StockSettings {
namespace {
constexpr const char* kUnit = ".\\StockSettings";
}  // namespace

CSetupSettingView::CSetupSettingView(QWidget* parent) : CSettingView("CSetupSettingView", parent) {}

void CSetupSettingView::BuildBlocks() {
  add(std::make_unique<StockBlocks::CInputSettingBlock>(Content()));
  add(std::make_unique<StockBlocks::CSyncSettingBlock>(Content()));
  add(std::make_unique<StockBlocks::CEopSettingBlock>(Content()));
  add(std::make_unique<StockBlocks::CTransColorSettingBlock>(Content()));
}

void CSetupSettingView::add(std::unique_ptr<CSettingBlock> block) {
  registry_.Register(*block);
  AppendBlock(std::move(block));
}

void CSetupSettingView::OnMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  // Sent by the main frame with the graph stopped; the name is valid
  // during the call.
  if (message == WM_APPLY_PRESET && lParam) ApplyPreset(reinterpret_cast<const char*>(lParam));
}

void CSetupSettingView::ApplyPreset(const std::string& name) {
  Sett::PresetStore& store = presets_ ? *presets_ : Sett::PresetStore::Default();
  // The lines this camera cannot take are found as the preset editor finds
  // them; a file that cannot be read changes nothing.
  const auto contents = Sett::LoadPresetItems(store, name);
  if (!contents) return;
  const bool applied = Sett::ApplyPresetRecords(store, name, [this](const std::string& line, std::int32_t index) {
    for (const auto& block : Blocks()) block->ApplyRecord(line, index);
  });
  // The lines were taken; only the file's time could not be set.
  if (!applied) LogError(kUnit, __LINE__, store.GetLastErrorText());
  for (const auto& block : Blocks()) block->RefreshChildren();
  if (contents->warning) plat::MessageBox(*contents->warning, "WinKelOrvoShell", MB_OK | MB_ICONEXCLAMATION);
}

CPreviewSettingView::CPreviewSettingView(QWidget* parent) : CSettingView("CPreviewSettingView", parent) {}

void CPreviewSettingView::BuildBlocks() {
  AppendBlock(std::make_unique<StockBlocks::CSelIntervalSettingBlock>(Content()));
  AppendBlock(std::make_unique<StockBlocks::CSaveFilmParamsSettingBlock>(Content()));
  AppendBlock(std::make_unique<StockBlocks::CTransColorSettingBlock>(Content()));
}

}  // namespace StockSettings
