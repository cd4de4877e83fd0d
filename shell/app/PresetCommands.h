// The main frame's preset menu and commands: the five newest presets under
// "Загрузить набор" and "Изменить набор", creating a preset from the set-up
// panel, loading one into it, editing and deleting presets.
#pragma once
#include <QString>
#include <functional>
#include <string>
#include <vector>

class CGraph;
class ISetupPanel;
class QMenu;
class QWidget;

namespace Sett {
class PresetStore;
}

// Shown when a preset command needs the set-up panel and none is open.
inline constexpr const char* kNoSetupPanelText = "Панель настройки камеры не открыта";

class CPresetCommands {
 public:
  struct Context {
    QWidget* frame;  // owns the dialogs and boxes, and is told WM_PRESETS_CHANGED
    QMenu* loadPopup;
    QMenu* editPopup;
    CGraph& graph;
    std::function<ISetupPanel*()> setupPanel;
  };

  explicit CPresetCommands(Context context);

  // The preset folder; the run's own unless another is given.
  Sett::PresetStore& Store() const { return *store_; }
  void SetStore(Sett::PresetStore& store) { store_ = &store; }

  // Lists the newest presets into both popups.
  void Rebuild();
  void New();
  void Delete();
  void Load(const std::string& name);
  void Edit(const std::string& name);
  void LoadAll();
  void EditAll();

 private:
  void fillPopup(QMenu* popup, int firstId, int allId, const std::vector<std::string>& names, bool load);
  void tell(const QString& text, unsigned flags);

  Context context_;
  Sett::PresetStore* store_;
};
