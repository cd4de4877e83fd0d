// The preset menu and the preset dialogs as the operator uses them: the
// menu's five newest presets, loading into the set-up panel, the list's
// delete mode, the editor refreshing a preset's values, saving a new preset
// with its questions, and a damaged file.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <fstream>
#include <optional>

#include "platform/kernel/text_codec.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/MainFrame.h"
#include "shell/app/PresetCommands.h"
#include "shell/app/WindowBinding.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/CameraOptionsSet.h"
#include "shell/panels/DlgPropsetList.h"
#include "shell/settings/PresetItems.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SetupPanel.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/shell_host.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

namespace fs = std::filesystem;
using Texts = QStringList;
using Scalar = Sett::SettingBinding<Sett::ScalarValue>;

// The set-up panel's part the preset commands use: a few settings bound to
// the camera, and the WM_APPLY_PRESET it is sent, with the graph's state
// at that moment; it applies the preset as the real panel does.
class TestSetupPanel : public QWidget, public ISetupPanel {
 public:
  explicit TestSetupPanel(CGraph& graph, Sett::PresetStore* presets = nullptr) : graph_(graph), presets_(presets) {
    period_.Initialise("");
    gain_.Initialise("");
    window_.Initialise("");
  }
  HWND hwnd() const override { return binding_.hwnd(); }
  Sett::PanelBindings Bindings() override {
    return {[this](std::int32_t id, std::int32_t index) -> const Scalar* {
              return index != 0 ? nullptr : id == kPeriod ? &period_ : id == kGain ? &gain_ : nullptr;
            },
            [](std::int32_t) { return nullptr; },
            [this](std::int32_t id) { return id == kWindow ? &window_ : nullptr; }};
  }

  std::vector<std::pair<std::string, FILTER_STATE>> applied;

 protected:
  bool event(QEvent* e) override {
    WinMessageEvent* m = AsWinMessage(e);
    if (!m) return QWidget::event(e);
    if (m->message != WM_APPLY_PRESET) return true;
    const std::string name = reinterpret_cast<const char*>(m->lParam);
    applied.emplace_back(name, graphState(graph_.Graph()));
    if (presets_)
      Sett::ApplyPresetRecords(*presets_, name, [this](const std::string& line, std::int32_t index) {
        gain_.ApplyRecord(line, index);
      });
    return true;
  }

 private:
  CGraph& graph_;
  Sett::PresetStore* presets_;
  WindowBinding binding_{this};
  Scalar period_{kPeriod, 0, "", Sett::Detached};
  Scalar gain_{kGain, 0, "", Sett::Detached};
  Sett::SettingBinding<Sett::RectValue> window_{kWindow, 0, "", Sett::Detached};
};

class PresetDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing a preset command writes may land in the repository.
    fs::current_path(dir.path());
    ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
    settings.emplace(graph, store, marks);
    frame = std::make_unique<CMainFrame>(graph, dir / "WinKelOrvoShell.ini");
    frame->Presets().SetStore(presets);
    frame->Presets().Rebuild();
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  }
  void TearDown() override {
    frame.reset();
    settings.reset();
    graph.Destroy();
    fs::current_path(startDir);
  }
  TestSetupPanel* installPanel() {
    auto* panel = new TestSetupPanel(graph, &presets);
    delete frame->findChild<QSplitter*>("CVerSplitter")->replaceWidget(1, panel);
    return panel;
  }
  // A preset written `age` seconds ago.
  void write(const std::string& name, const std::vector<std::string>& lines, int age = 0) {
    ASSERT_TRUE(presets.SavePreset(name, lines)) << presets.GetLastErrorText();
    fs::last_write_time(folder() / name, fs::file_time_type::clock::now() - std::chrono::seconds(age));
  }
  fs::path folder() const { return dir / "PRESETS"; }
  QMenu* popup(const QString& title) {
    for (QMenu* menu : frame->findChildren<QMenu*>())
      if (menu->title() == title) return menu;
    return nullptr;
  }
  // The popup's items: text, "(off)" when greyed, "-" for a separator; or
  // their ids.
  Texts items(const QString& title, bool ids = false) {
    Texts out;
    for (QAction* a : popup(title)->actions())
      out << (ids ? a->objectName() : a->isSeparator() ? "-" : a->text() + (a->isEnabled() ? "" : "(off)"));
    return out;
  }
  QAction* presetAction(int id) { return frame->findChild<QAction*>(QString::number(id)); }
  std::string gainLine(int value) {
    Scalar gain(kGain, 0, "", Sett::Detached);
    gain.Initialise("");
    return "4194314;" + gain.value.Name() + ";" + std::to_string(value) + ";Raw";
  }
  void setGain(LONG value) {
    ComPtr<IScalarProperty> gain;
    ASSERT_TRUE(graph.GetScalarProperty(kGain, 0, gain.put())) << graph.GetLastErrorText();
    ASSERT_EQ(gain->SetValue(value, 0), S_OK);
  }
  void newPreset() {
    frame->UpdateCommandUI();
    ASSERT_TRUE(frame->Command(Cmd::kNewPreset)->isEnabled());
    frame->Command(Cmd::kNewPreset)->trigger();
  }
  // A box's text; a dialog that is no box gives its id.
  static QString label(QWidget* box) {
    auto* text = box->findChild<QLabel*>("qt_msgbox_label");
    return text ? text->text() : box->objectName();
  }
  // Presses a box's button; any other dialog is closed and fails the test.
  static void press(QWidget* box, const QString& button) {
    if (QAbstractButton* b = buttonWithText(box, button)) return b->click();
    ADD_FAILURE() << "no button " << button.toStdString() << " in " << box->objectName().toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(box)) dialog->reject();
  }
  static void click(QWidget* dialog, int id) { dialog->findChild<QPushButton*>(QString::number(id))->click(); }
  static QTableWidget* table(QWidget* editor) { return editor->findChild<QTableWidget*>("1191"); }

  fs::path startDir = fs::current_path();
  ShellHost host;
  TempDir dir;
  CGraph graph;
  Sett::SettingStore store;
  Sett::FilmMarks marks;
  std::optional<Sett::Host> settings;
  Sett::PresetStore presets{dir / "PRESETS" / ""};
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(PresetDialogs, WithoutPresetsBothPopupsShowOneGreyedNone) {
  EXPECT_EQ(items("Загрузить набор"), Texts{"Нет(off)"});
  EXPECT_EQ(items("Изменить набор"), Texts{"Нет(off)"});
}

TEST_F(PresetDialogs, SixPresetsShowTheFiveNewestThenAll) {
  for (int age : {60, 10, 40, 20, 50, 30}) write("p" + std::to_string(age), {gainLine(1)}, age);
  write("A&B", {gainLine(1)}, 5);
  ::PostMessage(frame->hwnd(), WM_PRESETS_CHANGED, 0, 0);
  ASSERT_TRUE(waitFor([&] { return items("Загрузить набор").size() == 7; }));
  EXPECT_EQ(items("Загрузить набор"), (Texts{"A&&B", "p10", "p20", "p30", "p40", "-", "Все..."}));
  EXPECT_EQ(items("Изменить набор"), items("Загрузить набор"));
  EXPECT_EQ(items("Загрузить набор", true), (Texts{"32800", "32801", "32802", "32803", "32804", "", "33001"}));
  EXPECT_EQ(items("Изменить набор", true), (Texts{"32900", "32901", "32902", "32903", "32904", "", "33002"}));
}

TEST_F(PresetDialogs, LoadingSendsTheNameToTheSetupPanelWhileTheGraphIsStopped) {
  write("A&B", {gainLine(1)});
  frame->Presets().Rebuild();
  // Input mode shows no set-up panel.
  frame->Command(Cmd::kModeInput)->trigger();
  QString said;
  whenModal([&](QWidget* box) {
    said = label(box);
    press(box, "OK");
  });
  presetAction(Cmd::kLoadPresetFirst)->trigger();
  EXPECT_EQ(said, kNoSetupPanelText);
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "nothing to load into, nothing stopped";

  TestSetupPanel* panel = installPanel();
  presetAction(Cmd::kLoadPresetFirst)->trigger();
  ASSERT_EQ(panel->applied.size(), 1u);
  EXPECT_EQ(panel->applied[0], (std::pair<std::string, FILTER_STATE>{"A&B", State_Stopped}));
  EXPECT_EQ(graphState(graph.Graph()), State_Running);

  // "Все...": the list in load mode, the chosen one loaded.
  write("older", {gainLine(1)}, 10);
  whenModal([&](QWidget* list) {
    auto* names = list->findChild<QListWidget*>("1155");
    EXPECT_EQ(list->findChild<QPushButton*>("1")->text(), "Загрузить");
    names->setCurrentRow(1);
    click(list, 1);
  });
  presetAction(Cmd::kLoadPresetAll)->trigger();
  ASSERT_EQ(panel->applied.size(), 2u);
  EXPECT_EQ(panel->applied[1].first, "older");
  EXPECT_EQ(items("Загрузить набор").value(0), "older") << "a loaded preset comes first";
}

TEST_F(PresetDialogs, DeleteModeSelectsTheNeighbourAndStaysOpen) {
  write("a", {}, 1);
  write("b", {}, 2);
  write("c", {}, 3);
  CDlgPropsetList list(CDlgPropsetList::kDelete, presets, frame.get());
  list.show();
  auto* names = list.findChild<QListWidget*>("1155");
  const auto shown = [&] {
    Texts out;
    for (int i = 0; i < names->count(); ++i) out << names->item(i)->text();
    return out;
  };
  EXPECT_EQ(list.windowTitle(), "Наборы настроек");
  EXPECT_EQ(list.findChild<QPushButton*>("1")->text(), "Удалить");
  ASSERT_EQ(shown(), (Texts{"a", "b", "c"}));
  names->setCurrentRow(2);
  click(&list, 1);
  EXPECT_EQ(shown(), (Texts{"a", "b"}));
  EXPECT_EQ(names->currentRow(), 1) << "the new last one";
  EXPECT_FALSE(fs::exists(folder() / "c"));
  EXPECT_TRUE(list.isVisible());

  fs::remove(folder() / "a");
  names->setCurrentRow(0);
  click(&list, 1);
  EXPECT_EQ(shown(), (Texts{"a", "b"})) << "a failed deletion keeps the name";
  fs::remove(folder() / "b");
  write("a", {});
  click(&list, 1);
  click(&list, 1);
  EXPECT_EQ(shown(), Texts{"b"});
  write("b", {});
  click(&list, 1);
  EXPECT_EQ(shown(), Texts{});
  click(&list, 1);
  EXPECT_TRUE(list.isVisible()) << "nothing selected, nothing done";

  EXPECT_EQ(CDlgPropsetList(CDlgPropsetList::kEdit, presets, frame.get()).findChild<QPushButton*>("1")->text(),
            "Редактирвать");
}

TEST_F(PresetDialogs, EditingShowsTheCurrentValuesBeforeTheUserSeesThem) {
  setGain(3);
  installPanel();
  write("p", {gainLine(7)});
  frame->Presets().Rebuild();
  QString title, name, value;
  whenModal([&](QWidget* editor) {
    title = editor->windowTitle();
    name = editor->findChild<QLineEdit*>("1190")->text();
    value = table(editor)->item(0, 1)->text();
    click(editor, 1);
  });
  QPointer<QAction> item = presetAction(Cmd::kEditPresetFirst);
  item->trigger();
  EXPECT_EQ(title, "Изменение набора");
  EXPECT_EQ(name, "p");
  EXPECT_TRUE(value.startsWith("3 ")) << value.toStdString();
  // Saved over the file without a question, from the menu item the rebuild
  // replaces.
  EXPECT_EQ(presets.ReadPreset("p"), std::vector<std::string>{gainLine(3)});
  ASSERT_TRUE(waitFor([&] { return item.isNull(); })) << "the menu is rebuilt";
  EXPECT_EQ(items("Изменить набор"), (Texts{"p", "-", "Все..."}));
}

TEST_F(PresetDialogs, ADamagedFileOpensWithWhatItCouldReadAfterOneWarning) {
  write("p", {gainLine(7), "###", "4194338;Затвор напряжение;100;В", "4194314;x;;"});
  frame->Presets().Rebuild();
  Texts seen;
  int rows = -1;
  whenModal([&](QWidget* box) {
    seen << label(box);
    whenModal([&](QWidget* editor) {
      seen << editor->objectName();
      rows = table(editor)->rowCount();
      click(editor, 2);
    });
    press(box, "OK");
  });
  presetAction(Cmd::kEditPresetFirst)->trigger();
  EXPECT_EQ(seen, (Texts{"Ошибка в файле p", "251"}));
  EXPECT_EQ(rows, 1);
}

TEST_F(PresetDialogs, ANewPresetIsSavedAndListedFirstAndAnExistingNameIsAskedAbout) {
  setGain(3);
  installPanel();
  write("old", {gainLine(1)}, 10);
  frame->Presets().Rebuild();
  Texts seen;
  whenModal([&](QWidget* editor) {
    seen << editor->windowTitle() << editor->findChild<QLineEdit*>("1190")->text()
         << QString::number(table(editor)->rowCount());
    editor->findChild<QLineEdit*>("1190")->setText("Свежий");
    click(editor, 1);
  });
  newPreset();
  EXPECT_EQ(seen, (Texts{"Создание набор", "Новый набор", "3"}));
  ASSERT_TRUE(waitFor([&] { return items("Загрузить набор").value(0) == "Свежий"; }));
  const auto lines = presets.ReadPreset("Свежий");
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 3u);
  EXPECT_EQ(lines->at(1), gainLine(3)) << "the settings in file order, with the camera's values";

  seen.clear();
  whenModal([&](QWidget* editor) {
    editor->findChild<QLineEdit*>("1190")->setText("old");
    whenModal([&](QWidget* box) {
      seen << label(box);
      press(box, "Нет");
    });
    click(editor, 1);
    seen << (editor->isVisible() ? "open" : "closed");
    click(editor, 2);
  });
  newPreset();
  EXPECT_EQ(seen, (Texts{"Набор с таким именем существует. Хотите заменить?", "open"}));
  EXPECT_EQ(presets.ReadPreset("old"), std::vector<std::string>{gainLine(1)});
}

TEST_F(PresetDialogs, TheEditorRefusesNamesOutsideTheFolderAndReportsAFileErrorBeforeClosing) {
  TestSetupPanel panel(graph);
  CCameraOptionsSet editor(CCameraOptionsSet::kCreate, Sett::PresetFromPanel(panel.Bindings()), {}, presets,
                           nullptr, frame.get());
  editor.show();
  Texts said;
  const auto save = [&](const char* name) {
    editor.findChild<QLineEdit*>("1190")->setText(name);
    whenModal([&](QWidget* box) {
      said << label(box);
      press(box, "OK");
    });
    click(&editor, 1);
  };
  for (const char* name : {"../x", "..", "a/b", ""}) {
    save(name);
    EXPECT_TRUE(editor.isVisible()) << name;
  }
  const QString bad = Sett::kBadPresetNameText;
  EXPECT_EQ(said, (Texts{bad, bad, bad, Sett::kEmptyPresetNameText}));
  EXPECT_FALSE(fs::exists(dir / "x"));
  EXPECT_FALSE(fs::exists(folder())) << "nothing written at all";

  std::ofstream(folder()) << "a file where the folder should be";
  said.clear();
  save("x");
  ASSERT_EQ(said.size(), 1);
  EXPECT_TRUE(said[0].startsWith("Не удалось записать файл набора")) << said[0].toStdString();
  EXPECT_EQ(editor.result(), QDialog::Accepted) << "closed as after saving";
  fs::remove(folder());
  write("later", {gainLine(1)});
  ASSERT_TRUE(waitFor([&] { return items("Загрузить набор").value(0) == "later"; })) << "the menus are rebuilt";
}

}  // namespace
}  // namespace kel::test
