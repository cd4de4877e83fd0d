#include "shell/app/PresetCommands.h"

#include <QAction>
#include <QMenu>

#include "platform/win/message_box.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/LogStore.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/CameraOptionsSet.h"
#include "shell/panels/DlgPropsetList.h"
#include "shell/settings/PresetItems.h"
#include "shell/settings/PresetStore.h"
#include "shell/settings_ui/SetupPanel.h"

CPresetCommands::CPresetCommands(Context context)
    : context_(std::move(context)), store_(&Sett::PresetStore::Default()) {}

void CPresetCommands::Rebuild() {
  const std::vector<std::string> names = store_->ListPresets(Sett::kMenuPresets);
  fillPopup(context_.loadPopup, Cmd::kLoadPresetFirst, Cmd::kLoadPresetAll, names, true);
  fillPopup(context_.editPopup, Cmd::kEditPresetFirst, Cmd::kEditPresetAll, names, false);
}

void CPresetCommands::fillPopup(QMenu* popup, int firstId, int allId, const std::vector<std::string>& names,
                                bool load) {
  // The action being triggered may be one of these (an edit saved from its
  // item rebuilds the menu): the old items go once their signals are done.
  for (QAction* old : popup->actions()) {
    popup->removeAction(old);
    old->setParent(nullptr);
    old->deleteLater();
  }
  if (names.empty()) {
    popup->addAction("Нет")->setEnabled(false);
    return;
  }
  const auto add = [&](const QString& text, int id, std::function<void()> run) {
    QAction* action = popup->addAction(text);
    action->setObjectName(QString::number(id));
    QObject::connect(action, &QAction::triggered, context_.frame, std::move(run));
  };
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = names[i];
    // "&" in a file name is a character, not a menu mnemonic.
    const QString text = QString::fromStdString(name).replace("&", "&&");
    add(text, firstId + static_cast<int>(i), [this, name, load] { load ? Load(name) : Edit(name); });
  }
  popup->addSeparator();
  add("Все...", allId, [this, load] { load ? LoadAll() : EditAll(); });
}

void CPresetCommands::tell(const QString& text, unsigned flags) {
  ShellBoxes::Show(context_.frame, text, "WinKelOrvoShell", flags);
}

void CPresetCommands::New() {
  ISetupPanel* panel = context_.setupPanel();
  if (!panel) {
    tell(kNoSetupPanelText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  CCameraOptionsSet editor(CCameraOptionsSet::kCreate, Sett::PresetFromPanel(panel->Bindings()), {}, *store_,
                           context_.setupPanel, context_.frame);
  editor.exec();
}

void CPresetCommands::Delete() {
  CDlgPropsetList list(CDlgPropsetList::kDelete, *store_, context_.frame);
  list.exec();
  Rebuild();
}

void CPresetCommands::Load(const std::string& name) {
  // Without the set-up panel nothing would take the preset; stopping the
  // graph then would only interrupt the live picture or a recording.
  ISetupPanel* panel = context_.setupPanel();
  if (!panel) {
    tell(kNoSetupPanelText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!context_.graph.Stop()) LogError(".\\PresetCommands", __LINE__, context_.graph.GetLastErrorText());
  plat::sendMessage(panel->hwnd(), WM_APPLY_PRESET, 0, reinterpret_cast<LPARAM>(name.c_str()));
  if (!context_.graph.Restart()) LogError(".\\PresetCommands", __LINE__, context_.graph.GetLastErrorText());
  // Applying touched the file: the menus show it first from now on.
  Rebuild();
}

void CPresetCommands::Edit(const std::string& name) {
  auto contents = Sett::LoadPresetItems(*store_, name);
  if (!contents) {
    // A file that cannot be read opens no editor.
    LogError(".\\PresetCommands", __LINE__, store_->GetLastErrorText());
    return;
  }
  if (contents->warning) tell(QString::fromStdString(*contents->warning), MB_OK | MB_ICONEXCLAMATION);
  CCameraOptionsSet editor(CCameraOptionsSet::kEdit, std::move(contents->items), name, *store_,
                           context_.setupPanel, context_.frame);
  editor.exec();
}

void CPresetCommands::LoadAll() {
  CDlgPropsetList list(CDlgPropsetList::kLoad, *store_, context_.frame);
  if (list.exec() == QDialog::Accepted) Load(list.ChosenName());
}

void CPresetCommands::EditAll() {
  CDlgPropsetList list(CDlgPropsetList::kEdit, *store_, context_.frame);
  if (list.exec() == QDialog::Accepted) Edit(list.ChosenName());
}
