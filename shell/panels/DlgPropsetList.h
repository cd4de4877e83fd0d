// The preset list: picks a preset by name to load or edit, or deletes
// presets one after another. Names come newest first from the preset
// folder.
#pragma once
#include <QDialog>
#include <string>

class QListWidget;
class QPushButton;

namespace Sett {
class PresetStore;
}

class CDlgPropsetList : public QDialog {
  Q_OBJECT
 public:
  enum Mode { kLoad = 1, kDelete = 2, kEdit = 3 };

  CDlgPropsetList(Mode mode, Sett::PresetStore& store, QWidget* owner);

  // The name chosen with the action button (load and edit modes).
  const std::string& ChosenName() const { return chosen_; }

 private:
  void onAction();

  Mode mode_;
  Sett::PresetStore& store_;
  QListWidget* list_;
  QPushButton* action_;
  std::string chosen_;
};
