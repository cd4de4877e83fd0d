#include "shell/settings_ui/FragmentPropertyDialog.h"

#include <QLabel>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "platform/dshow/guids.h"
#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"

namespace {
constexpr const char* kUnit = ".\\FragmentPropertyDialog";
}  // namespace

using SettingsUi::CameraCallOk;

CFragmentPropertyDialog::CFragmentPropertyDialog() : CPropertyDialog(192, 49) { readFilm(); }

CFragmentPropertyDialog::~CFragmentPropertyDialog() {
  // A dialog that never knew a film must not invent a fragment.
  if (!known_) return;
  if (Sett::Host* host = Sett::Host::Current())
    host->marks.SetFilm(static_cast<std::int32_t>(from_), static_cast<std::int32_t>(to_));
}

void CFragmentPropertyDialog::readFilm() {
  Sett::Host* host = Sett::Host::Current();
  if (!host) return;
  if (!host->graph.GetSeeking(seeking_.putVoid())) LogError(kUnit, __LINE__, host->graph.GetLastErrorText());
  LONGLONG first = 0, last = 0;
  bool film = false;
  if (seeking_) {
    const HRESULT hr = seeking_->GetRange(&first, &TIME_FORMAT_FRAME, &last, &TIME_FORMAT_FRAME);
    // S_FALSE: the pin is not playing a film.
    film = hr == S_OK;
    CameraCallOk(hr, kUnit, __LINE__);
  }
  if (const auto mark = host->marks.Film()) {
    from_ = mark->first;
    to_ = mark->last;
    known_ = true;
  } else if (film) {
    from_ = first;
    to_ = last;
    known_ = true;
  }
  // The limits are the whole film, so that a fragment chosen earlier can
  // be widened again; the kept fragment stands in when there is no film.
  min_ = film ? first : from_;
  max_ = film ? last : to_;
  supported_ = known_;
}

bool CFragmentPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  const auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), this);
  at(new QLabel("С"), 0, 10, 14, 12, 8);
  fromEdit_ = at(new QLineEdit, kFrom, 24, 12, 70, 12);
  auto* setFrom = at(new QPushButton("Установить"), kSetFrom, 110, 11, 70, 14);
  at(new QLabel("по"), 0, 10, 30, 12, 8);
  toEdit_ = at(new QLineEdit, kTo, 24, 28, 70, 12);
  auto* setTo = at(new QPushButton("Установить"), kSetTo, 110, 27, 70, 14);
  for (QLineEdit* edit : {fromEdit_, toEdit_}) {
    edit->setValidator(digits);
    // Enter, or leaving the edit after typing, takes the number.
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] { takeTyped(edit, edit == fromEdit_); });
  }
  connect(setFrom, &QPushButton::clicked, this, [this] { setFromCurrent(true); });
  connect(setTo, &QPushButton::clicked, this, [this] { setFromCurrent(false); });
  SetCaption(QString());
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CFragmentPropertyDialog::RefreshControls() {
  fromEdit_->setText(QString::number(from_));
  toEdit_->setText(QString::number(to_));
}

long long CFragmentPropertyDialog::clampToFilm(long long frame) const { return std::clamp(frame, min_, max_); }

void CFragmentPropertyDialog::takeTyped(QLineEdit* edit, bool fromEdit) {
  if (!edit->isModified()) return;
  bool ok = false;
  const long long typed = edit->text().toLongLong(&ok);
  if (!ok) {
    RefreshControls();  // nothing usable typed: the fragment stays
    return;
  }
  if (fromEdit)
    setFrom(typed);
  else
    setTo(typed);
}

void CFragmentPropertyDialog::setFrom(long long frame) {
  from_ = clampToFilm(frame);
  if (to_ <= from_) to_ = from_ < max_ ? from_ + 1 : from_;
  RefreshControls();
}

void CFragmentPropertyDialog::setTo(long long frame) {
  to_ = clampToFilm(frame);
  if (from_ >= to_) from_ = to_ > min_ ? to_ - 1 : to_;
  RefreshControls();
}

void CFragmentPropertyDialog::setFromCurrent(bool fromButton) {
  LONGLONG current = 0;
  if (!seeking_) return;
  const HRESULT hr = seeking_->GetCurrentPosition(&current, &TIME_FORMAT_FRAME);
  if (!CameraCallOk(hr, kUnit, __LINE__) || hr != S_OK) return;
  if (fromButton)
    setFrom(current);
  else
    setTo(current);
}
