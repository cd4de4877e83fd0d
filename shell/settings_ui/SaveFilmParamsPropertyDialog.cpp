#include "shell/settings_ui/SaveFilmParamsPropertyDialog.h"

#include <QFrame>
#include <QRadioButton>
#include <iterator>

#include "shell/app/LogStore.h"
#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"
#include "shell/settings_ui/OverlayFontDialog.h"
#include "shell/settings_ui/overlay_font.h"

namespace {
constexpr const char* kUnit = ".\\SaveFilmParamsPropertyDialog";
// Left edges of the three columns and tops of the two rows of the
// placement buttons, in dialog units.
constexpr int kPlacementX[] = {14, 74, 134};
constexpr int kPlacementY[] = {34, 78};
const char* const kPlacementTips[] = {"Вверху слева", "Вверху по центру", "Вверху справа",
                                      "Внизу слева",  "Внизу по центру",  "Внизу справа"};
}  // namespace

using SettingsUi::CameraCallOk;

CSaveFilmParamsPropertyDialog::CSaveFilmParamsPropertyDialog()
    : CPropertyDialog(192, 126), camera_(SettingsUi::HostCamera(kUnit, __LINE__)) {
  supported_ = static_cast<bool>(camera_);
  if (!camera_) return;
  CameraCallOk(camera_->SetWriteInfoFile(1), kUnit, __LINE__);
  CameraCallOk(camera_->SetOverlayEnabled(0), kUnit, __LINE__);
}

CSaveFilmParamsPropertyDialog::~CSaveFilmParamsPropertyDialog() = default;

bool CSaveFilmParamsPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  overlay_ = at(new QCheckBox("Сохранить в AVI"), kOverlay, 10, 12, 100, 10);
  font_ = at(new QPushButton("&Шрифт..."), kFont, 120, 10, 60, 14);
  // An outline of the picture between the two rows, so the buttons read as
  // places on the frame rather than as unnamed choices.
  auto* picture = at(new QFrame, 0, kPlacementX[0] + 4, kPlacementY[0] + 12, kPlacementX[2] - kPlacementX[0] + 4,
                     kPlacementY[1] - kPlacementY[0] - 14);
  picture->setFrameShape(QFrame::Box);
  picture->setEnabled(false);
  placements_ = new QButtonGroup(this);
  for (int index = 0; index < static_cast<int>(std::size(kPlacements)); ++index) {
    auto* radio = at(new QRadioButton, kPlacements[index], kPlacementX[index % 3], kPlacementY[index / 3], 40, 10);
    radio->setToolTip(kPlacementTips[index]);
    placements_->addButton(radio, index);
  }
  infoFile_ = at(new QCheckBox("Сохранить в файле"), kInfoFile, 10, 104, 120, 10);
  infoFile_->setChecked(true);
  connect(overlay_, &QCheckBox::toggled, this, [this](bool checked) { onOverlay(checked); });
  connect(infoFile_, &QCheckBox::toggled, this, [this](bool checked) { onInfoFile(checked); });
  connect(placements_, &QButtonGroup::idClicked, this, [this](int index) { onPlacement(index); });
  connect(font_, &QPushButton::clicked, this, [this] { onFont(); });
  SetCaption("Сохранять парамеры фильма");
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  enableOverlayControls();
  return true;
}

void CSaveFilmParamsPropertyDialog::enableOverlayControls() {
  const bool on = overlay_->isChecked();
  font_->setEnabled(on);
  for (QAbstractButton* radio : placements_->buttons()) radio->setEnabled(on);
}

void CSaveFilmParamsPropertyDialog::onOverlay(bool checked) {
  CameraCallOk(camera_->SetOverlayEnabled(checked ? 1 : 0), kUnit, __LINE__);
  enableOverlayControls();
}

void CSaveFilmParamsPropertyDialog::onInfoFile(bool checked) {
  CameraCallOk(camera_->SetWriteInfoFile(checked ? 1 : 0), kUnit, __LINE__);
}

void CSaveFilmParamsPropertyDialog::onPlacement(int index) {
  CameraCallOk(camera_->SetOverlayPlacement(index), kUnit, __LINE__);
}

void CSaveFilmParamsPropertyDialog::onFont() {
  HFONT current = nullptr;
  COLORREF colour = 0;
  if (!CameraCallOk(camera_->GetOverlayFont(&current, &colour), kUnit, __LINE__)) return;
  COverlayFontDialog dialog(SettingsUi::FontFromHandle(current), SettingsUi::ColourFromRef(colour), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont chosen = dialog.SelectedFont();
  HFONT font = SettingsUi::CreateFontHandle(chosen);
  if (!font) {
    LogError(kUnit, __LINE__, "CreateFontIndirectW: " + chosen.family().toStdString());
    return;
  }
  if (!CameraCallOk(camera_->SetOverlayFont(font, SettingsUi::RefFromColour(dialog.SelectedColour())), kUnit,
                    __LINE__)) {
    DeleteObject(font);
    return;
  }
  // The camera now holds the new font only; the old handle was made by an
  // earlier choice (the stock font is never removed).
  if (current) DeleteObject(current);
}
