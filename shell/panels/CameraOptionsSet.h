// The preset editor: shows the items of one preset, takes their values
// from the set-up panel on "Изменить" and saves them under a name. Create
// mode starts from the set-up panel's settings, edit mode from a file.
#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "shell/settings/PresetLine.h"

class ISetupPanel;
class QLineEdit;
class QTableWidget;

namespace Sett {
class PresetStore;
}

class CCameraOptionsSet : public QDialog {
  Q_OBJECT
 public:
  enum Mode { kEdit = 0, kCreate = 1 };
  // The set-up panel "Изменить" reads; null while none is shown.
  using PanelSource = std::function<ISetupPanel*()>;

  // `name`: the preset's name in edit mode (create mode offers its own).
  CCameraOptionsSet(Mode mode, std::vector<Sett::c_cameraoption_item> items, const std::string& name,
                    Sett::PresetStore& store, PanelSource panel, QWidget* owner);

 private:
  void fill();
  void onUpdate();
  void onSave();
  // A box over the editor; the button chosen.
  int ask(const QString& text, unsigned flags);

  Mode mode_;
  std::vector<Sett::c_cameraoption_item> items_;
  Sett::PresetStore& store_;
  PanelSource panel_;
  QLineEdit* name_;
  QTableWidget* list_;
};
