#include "shell/settings_ui/StockBlocks.h"

#include <cstdint>
#include <memory>

#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/ContrastPropertyDialog.h"
#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/EnumPropertyDialog.h"
#include "shell/settings_ui/FragmentPropertyDialog.h"
#include "shell/settings_ui/GammaCorrectionPropertyDialog.h"
#include "shell/settings_ui/RectPropertyDialog.h"
#include "shell/settings_ui/SaveFilmParamsPropertyDialog.h"
#include "shell/settings_ui/ScalarPropertyDialog.h"
#include "shell/settings_ui/ShiftLevelPropertyDialog.h"
#include "shell/settings_ui/SummationPropertyDialog.h"
#include "shell/settings_ui/WhiteBalancePropertyDialog.h"

namespace StockBlocks {
namespace {

constexpr const char* kUnit = ".\\StockBlocks";

constexpr std::int32_t kExposure = 0x400002;
constexpr std::int32_t kPeriod = 0x400003;
constexpr std::int32_t kStartEvent = 0x400004;
constexpr std::int32_t kStopEvent = 0x400005;
constexpr std::int32_t kWindow = 0x400006;
constexpr std::int32_t kFrames = 0x400007;
constexpr std::int32_t kGain = 0x40000a;
constexpr std::int32_t kBlackLevel = 0x40000d;
constexpr std::int32_t kStartEdge = 0x400016;
constexpr std::int32_t kSyncSource = 0x400017;
constexpr std::int32_t kVoltage = 0x400022;
constexpr std::int32_t kPulses = 0x400041;
constexpr std::int32_t kShutterMode = 0x400042;
constexpr std::int32_t kStopDelay = 0x400054;
constexpr std::int32_t kDecimation = 0x400055;

// The stop event a run starts with until a panel has stored one.
constexpr std::int32_t kFirstStopEvent = 4;
// The image intensifier's working mode the block sets.
constexpr std::int32_t kShutterModeValue = 41;

std::unique_ptr<CScalarPropertyDialog> scalar(std::int32_t id, std::int32_t index, const char* caption,
                                              std::int32_t mode) {
  return std::make_unique<CScalarPropertyDialog>(id, index, caption, std::string_view(), mode);
}

std::unique_ptr<CEnumPropertyDialog> enumerated(std::int32_t id, const char* caption, std::int32_t mode) {
  return std::make_unique<CEnumPropertyDialog>(id, 0, caption, std::string_view(), mode);
}

}  // namespace

CInputSettingBlock::CInputSettingBlock(QWidget* view) : CSettingBlock("Параметры ввода", view) {
  const std::int32_t mode = Sett::ApplyImmediately;
  AddProperty(scalar(kPeriod, 0, "Период / Скорость ввода", mode));
  AddProperty(scalar(kExposure, 0, "Экспозиция", mode));
  AddProperty(scalar(kDecimation, 0, "Прореживание", mode));
  AddProperty(std::make_unique<CRectPropertyDialog>(kWindow, 0, "Окно ввода", std::string_view(), mode));
  AddProperty(scalar(kGain, 0, "Усиление", mode));
  AddProperty(scalar(kBlackLevel, 0, "Уровень черного", mode));
  AddProperty(std::make_unique<CShiftLevelPropertyDialog>());
}

CSyncSettingBlock::CSyncSettingBlock(QWidget* view) : CSettingBlock("Параметры синхронизации", view) {
  if (Sett::Host* host = Sett::Host::Current()) host->store.SeedEnum(kStopEvent, kFirstStopEvent);
  const std::int32_t mode = Sett::ApplyOnRelease;
  AddProperty(enumerated(kStartEvent, "Событие начала ввода", mode));
  AddProperty(enumerated(kStartEdge, "Фронт для запуска ввода", mode));
  AddProperty(enumerated(kStopEvent, "Событие остановки ввода", mode));
  AddProperty(enumerated(kSyncSource, "Источник синхронизации", mode));
  AddProperty(scalar(kFrames, 0, "Вводить кадров", mode));
  AddProperty(scalar(kStopDelay, 0, "Задержка останова", mode));
}

CEopSettingBlock::CEopSettingBlock(QWidget* view) : CSettingBlock("ЭОП", view) {
  const std::int32_t mode = Sett::ApplyImmediately;
  // A dialog of an option the camera lacks goes at once.
  const auto addIfOffered = [this](std::unique_ptr<CPropertyDialog> dialog) {
    if (dialog->Supported()) AddProperty(std::move(dialog));
  };
  addIfOffered(scalar(kVoltage, 0, "Напряжение", mode));
  addIfOffered(scalar(kPeriod, 1, "Интервал мультиэкспозиции", mode));
  addIfOffered(scalar(kPulses, 0, "Кол. импульсов", mode));
  auto shutterMode = enumerated(kShutterMode, "Режим работы", mode);
  if (!shutterMode->Supported()) return;
  auto& value = shutterMode->Binding().value;
  value.SetValue({kShutterModeValue});
  // What the camera took is what the dialog shows.
  if (value.WriteToInterface()) value.ReadFromInterface();
  AddProperty(std::move(shutterMode));
}

CTransColorSettingBlock::CTransColorSettingBlock(QWidget* view) : CSettingBlock("Преобразователь цвета", view) {
  ComPtr<ICamera2> camera = SettingsUi::HostCamera(kUnit, __LINE__);
  if (!camera) return;
  int colour = 0;
  const bool isColour = SettingsUi::CameraCallOk(camera->IsColorCamera(&colour), kUnit, __LINE__) && colour != 0;
  if (isColour) AddProperty(std::make_unique<CWhiteBalancePropertyDialog>());
  else AddProperty(std::make_unique<CSummationPropertyDialog>());
  AddProperty(std::make_unique<CGammaCorrectionPropertyDialog>());
  AddProperty(std::make_unique<CContrastPropertyDialog>());
}

CSelIntervalSettingBlock::CSelIntervalSettingBlock(QWidget* view) : CSettingBlock("Выбор фрагмента", view) {
  AddProperty(std::make_unique<CFragmentPropertyDialog>());
}

CSaveFilmParamsSettingBlock::CSaveFilmParamsSettingBlock(QWidget* view)
    : CSettingBlock("Сохранение информации о параметрах съёмки", view) {
  AddProperty(std::make_unique<CSaveFilmParamsPropertyDialog>());
}

}  // namespace StockBlocks
