// The save-film dialog of save mode on a film just recorded with the fast
// virtual camera: fragments, the progress bar, abort, the questions about
// the file name, the compressor choice, and the unattended save that
// follows a recording when the shell's profile asks for it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/avi/save_interfaces.h"
#include "platform/dshow/errors.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/MainFrame.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SaveParamsDialog.h"
#include "shell/settings_ui/SaveRunState.h"
#include "tests/platform/avi/saved_film.h"
#include "tests/shell/panel_settings.h"
#include "tests/shell/frame_fixture.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

constexpr LONG kStopEventOption = 0x400005;
constexpr LONG kFramePositionOption = 0x400020;
constexpr LONG kFramePeriodOption = 0x400003;
constexpr UINT kMicroseconds = 2;
constexpr LONG kStopAfterFrames = 37;
constexpr LONG kStopOnCommand = 4;
constexpr int kEndMs = 60000;

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Answers every message box that comes up with the button `answer` (or
// its only button) and keeps the texts, so an unexpected box fails the
// test instead of hanging it.
class Boxes {
 public:
  explicit Boxes(QString answer = "OK") : answer_(std::move(answer)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      texts.push_back(box->text());
      QAbstractButton* button = buttonWithText(box, answer_);
      if (!button) button = box->buttons().first();
      button->click();
    });
    timer_.start();
  }
  std::vector<QString> texts;

 private:
  QString answer_;
  QTimer timer_;
};

class SavePanel : public FrameFixture {
 protected:
  explicit SavePanel(const char* sensor = "160x40", const char* timeScale = "1000")
      : FrameFixture({{"KELLIB3_TIME_SCALE", timeScale}, {"KELLIB3_SIZE", sensor}}) {}
  void SetUp() override {
    SaveUi::State() = {};
    FrameFixture::SetUp();
  }
  void setStopEvent(LONG value) {
    ComPtr<IEnumProperty> stopEvent;
    ASSERT_TRUE(graph.GetEnumProperty(kStopEventOption, stopEvent.put())) << graph.GetLastErrorText();
    ASSERT_EQ(stopEvent->SetValue(value), S_OK);
  }
  // A film of `frames` frames, recorded as the operator does: input mode
  // stops after the count and ends in preview.
  void recordFilm(int frames) {
    openFrame();
    leaveInputSettings(*frame, kStopAfterFrames, frames);
    frame->Command(Cmd::kModeInput)->trigger();
    ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == Mode::kPreview; }, kEndMs));
    ComPtr<IScalarProperty> position;
    ASSERT_TRUE(graph.GetScalarProperty(kFramePositionOption, 0, position.put()));
    ASSERT_EQ(position->GetMinValue(&first, 0), S_OK);
    ASSERT_EQ(position->GetMaxValue(&last, 0), S_OK);
    ASSERT_EQ(last - first + 1, frames);
  }
  void enterSave() {
    frame->UpdateCommandUI();
    frame->Command(Cmd::kModeSave)->trigger();
    ASSERT_EQ(frame->ModeCode(), Mode::kSave);
    ASSERT_NE(dialog(), nullptr);
  }
  CSaveParamsDialog* dialog() const { return frame->findChild<CSaveParamsDialog*>(); }
  template <class T>
  T* control(int id) const {
    return dialog()->findChild<T*>(QString::number(id));
  }
  QPushButton* button(int id) const { return control<QPushButton>(id); }
  QProgressBar* bar() const { return control<QProgressBar>(1123); }
  void setName(const std::filesystem::path& name) { control<QLineEdit>(1121)->setText(QString::fromStdString(name)); }
  // Starts the save and waits for its end; whether the whole film was
  // written. `holdUntilWritten`: the UI thread is held until the film is
  // written, so every step of the bar waits in the queue behind the end,
  // and the timer is let find the end at once.
  bool save(bool holdUntilWritten = false) {
    bool finished = false, ended = false;
    const auto connection =
        QObject::connect(dialog(), &CSaveParamsDialog::SaveEnded, [&](bool f) { finished = f, ended = true; });
    ComPtr<IMediaEventEx> events;
    EXPECT_TRUE(graph.GetMediaEvent(events.putVoid()));
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (events && events->GetEvent(&code, &p1, &p2, 0) == S_OK) events->FreeEventParams(code, p1, p2);
    button(CSaveParamsDialog::kStartCommand)->click();
    EXPECT_TRUE(dialog()->Saving());
    while (holdUntilWritten && events && events->GetEvent(&code, &p1, &p2, kEndMs) == S_OK) {
      events->FreeEventParams(code, p1, p2);
      if (code == EC_COMPLETE) QMetaObject::invokeMethod(dialog()->findChild<QTimer*>("113"), "timeout");
      holdUntilWritten = code != EC_COMPLETE;
    }
    EXPECT_TRUE(waitFor([&] { return ended; }, kEndMs));
    QObject::disconnect(connection);
    return finished;
  }
  // The frame numbers in the saved pictures' strips run on from `from`.
  void expectFrames(const std::filesystem::path& file, LONG from, int count) {
    const ReadFilm film = readFilm(file);
    ASSERT_TRUE(film.opened) << film.error;
    ASSERT_EQ(film.pictures.size(), static_cast<std::size_t>(count));
    const auto strips = stripsOf(film);
    for (std::size_t i = 0; i < strips.size(); ++i) {
      ASSERT_TRUE(strips[i].has_value()) << "picture " << i;
      EXPECT_EQ(*strips[i], static_cast<std::uint32_t>(from) + i) << "picture " << i;
    }
  }

  TempDir dir;
  LONG first = -1, last = -1;
};

TEST_F(SavePanel, AMarkedFragmentIsSavedFrameForFrameAndTheBarIsFullExactlyAtTheEnd) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(100));
  leaveFragment(*frame, first + 20, first + 59);
  ASSERT_NO_FATAL_FAILURE(enterSave());
  EXPECT_FALSE(bar()->isVisibleTo(dialog()));
  EXPECT_FALSE(button(CSaveParamsDialog::kAbortCommand)->isEnabled());
  std::vector<int> values;
  QObject::connect(bar(), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
  int atEnd = -1;
  QObject::connect(dialog(), &CSaveParamsDialog::SaveEnded, [&] { atEnd = bar()->value(); });

  setName(dir / "fragment");
  Boxes boxes;
  EXPECT_TRUE(save(true));
  EXPECT_TRUE(boxes.texts.empty());
  const auto file = dir / "fragment.avi";
  EXPECT_EQ(control<QLineEdit>(1121)->text().toStdString(), file.string());
  ASSERT_NO_FATAL_FAILURE(expectFrames(file, first + 20, 40));

  // The bar's position is the next frame to write: from the fragment's
  // first frame one step per frame, full only once the last is written.
  EXPECT_EQ(bar()->minimum(), first + 20);
  EXPECT_EQ(bar()->maximum(), first + 60);
  EXPECT_EQ(atEnd, bar()->maximum()) << "full when the end is handled";
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.back(), bar()->maximum());
  EXPECT_EQ(std::count(values.begin(), values.end(), bar()->maximum()), 1);
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_FALSE(bar()->isVisibleTo(dialog()));
  EXPECT_TRUE(button(CSaveParamsDialog::kStartCommand)->isEnabled());
  EXPECT_FALSE(button(CSaveParamsDialog::kAbortCommand)->isEnabled());
  EXPECT_EQ(SaveUi::State().lastFilmName, file.string()) << "a started save names the next one";
}

TEST_F(SavePanel, ARefusedNameAndAKeptFileStartNothing) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  ASSERT_NO_FATAL_FAILURE(enterSave());
  const auto kept = dir / "kept.avi";
  std::ofstream(kept) << "an older film";
  {
    Boxes boxes("Нет");
    setName(dir / ".avi");
    button(CSaveParamsDialog::kStartCommand)->click();
    setName(dir / "kept.mp4");
    button(CSaveParamsDialog::kStartCommand)->click();
    EXPECT_EQ(boxes.texts, (std::vector<QString>{"Некорректное имя файла", "Файл уже существует. Заменить?"}));
  }
  EXPECT_FALSE(dialog()->Saving());
  EXPECT_EQ(readBytes(kept), "an older film");
  EXPECT_EQ(control<QLineEdit>(1121)->text().toStdString(), kept.string());
  EXPECT_TRUE(SaveUi::State().lastFilmName.empty());

  // Yes replaces it.
  Boxes boxes("Да");
  EXPECT_TRUE(save());
  ASSERT_NO_FATAL_FAILURE(expectFrames(kept, first, 10));
}

TEST_F(SavePanel, AnEmptyNameAsksForOneWithTheSaveFileDialog) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  ASSERT_NO_FATAL_FAILURE(enterSave());
  QStringList filters;
  QString suffix;
  whenModal([&](QWidget* modal) {
    auto* files = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(files, nullptr);
    filters = files->nameFilters();
    suffix = files->defaultSuffix();
    files->selectFile(QString::fromStdString(dir / "picked"));
    static_cast<QDialog*>(files)->accept();
  });
  setName("");
  EXPECT_TRUE(save());
  EXPECT_EQ(filters, (QStringList{"Файлы avi (*.avi)", "Все файла (*.*)"}));
  EXPECT_EQ(suffix, "avi");
  ASSERT_NO_FATAL_FAILURE(expectFrames(dir / "picked.avi", first, 10));
}

TEST_F(SavePanel, TheCompressorChoiceIsKeptAndOnlyACompressorWithSettingsOffersThem) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  ASSERT_NO_FATAL_FAILURE(enterSave());
  auto* combo = control<QComboBox>(1133);
  QPushButton* settingsButton = button(CSaveParamsDialog::kSettingsCommand);
  EXPECT_EQ(combo->currentText().toStdString(), kNoCompression);
  EXPECT_EQ(combo->currentIndex(), combo->count() - 1);
  EXPECT_FALSE(settingsButton->isEnabled());

  const int mjpeg = combo->findText("Motion JPEG");
  ASSERT_GE(mjpeg, 0);
  combo->setCurrentIndex(mjpeg);
  emit combo->activated(mjpeg);
  EXPECT_TRUE(settingsButton->isEnabled());

  // Back in save mode the choice is still there, with its settings.
  frame->Command(Cmd::kModePreview)->trigger();
  ASSERT_NO_FATAL_FAILURE(enterSave());
  combo = control<QComboBox>(1133);
  EXPECT_EQ(combo->currentIndex(), mjpeg);
  ASSERT_TRUE(button(CSaveParamsDialog::kSettingsCommand)->isEnabled());
  whenModal([](QWidget* dialog) {
    dialog->findChild<QSpinBox*>()->setValue(40);
    buttonWithText(dialog, "OK")->click();
  });
  button(CSaveParamsDialog::kSettingsCommand)->click();
  ComPtr<IKelCompressorSettings> quality;
  for (const CompressorEntry& entry : graph.Compressors())
    if (entry.name == "Motion JPEG") entry.filter.as(IID_IKelCompressorSettings, quality);
  ASSERT_TRUE(quality);
  LONG value = 0;
  ASSERT_EQ(quality->GetQuality(&value), S_OK);
  EXPECT_EQ(value, 40);
}

// A recording stopped by hand, on the camera's own clock, stays short.
class RealTimeSavePanel : public SavePanel {
 protected:
  RealTimeSavePanel() : SavePanel("160x40", "1") {}
};

// With automatic saving, F6 and a space typed in the camera view are all it
// takes: the film lands in PATH under the local time, with the parameters
// the camera recorded it with, and nothing is asked.
TEST_F(RealTimeSavePanel, TheUnattendedSaveFollowsTheRecordingIntoPathUnderTheLocalTime) {
  const auto films = dir / "films";
  std::filesystem::create_directory(films);
  std::ofstream(ini()) << "[AUTOSAVE_SEC]\nAUTOSAVE=1\nPATH=" << films.string() << "\n";
  ASSERT_NO_FATAL_FAILURE(openFrame());
  setStopEvent(kStopOnCommand);
  ComPtr<IScalarProperty> period;
  ASSERT_TRUE(graph.GetScalarProperty(kFramePeriodOption, 0, period.put()));
  ASSERT_EQ(period->SetValue(3000, kMicroseconds), S_OK);
  Boxes boxes;

  const std::time_t before = std::time(nullptr);
  QApplication::setActiveWindow(frame.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  QTest::keyClick(frame.get(), Qt::Key_F6);
  ASSERT_EQ(frame->ModeCode(), Mode::kInput);
  ASSERT_TRUE(waitFor([&] {
    LONG max = -1;
    ComPtr<IScalarProperty> position;
    return graph.GetScalarProperty(kFramePositionOption, 0, position.put()) &&
           SUCCEEDED(position->GetMaxValue(&max, 0)) && max > 20;
  }));
  QTest::keyClick(frame->CamView(), Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == Mode::kSave && dialog() && dialog()->Saving(); }, kEndMs));
  bool finished = false;
  QObject::connect(dialog(), &CSaveParamsDialog::SaveEnded, [&](bool f) { finished = f; });
  ASSERT_TRUE(waitFor([&] { return !dialog()->Saving(); }, kEndMs));
  const std::time_t after = std::time(nullptr);
  EXPECT_TRUE(finished);
  EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front().toStdString();

  std::vector<std::string> names;
  for (std::time_t t = before; t <= after; ++t) {
    std::tm local{};
    localtime_r(&t, &local);
    names.push_back(SaveUi::AutoSaveFileName(films.string(), local) + ".avi");
  }
  const std::string saved = control<QLineEdit>(1121)->text().toStdString();
  EXPECT_NE(std::find(names.begin(), names.end(), saved), names.end()) << saved;

  const auto film = marks.Film();
  ASSERT_TRUE(film);
  ASSERT_NO_FATAL_FAILURE(expectFrames(saved, film->first, film->last - film->first + 1));
  const std::string info = plat::cp1251ToUtf8(readBytes(saved + ".info"));
  EXPECT_NE(info.find("Кадровый период:       3000 мкс\r\n"), std::string::npos) << info;
}

// A film long enough that the save is still running when it is aborted.
class LongSavePanel : public SavePanel {
 protected:
  LongSavePanel() : SavePanel("320x240") {}
};

TEST_F(LongSavePanel, AbortingShowsTheIncompleteFilmMessageAndLeavesAPlayableFilm) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(1000));
  ASSERT_NO_FATAL_FAILURE(enterSave());
  auto* combo = control<QComboBox>(1133);
  const int mjpeg = combo->findText("Motion JPEG");
  ASSERT_GE(mjpeg, 0);
  combo->setCurrentIndex(mjpeg);
  emit combo->activated(mjpeg);
  // Abort as soon as the first frames are written.
  QObject::connect(bar(), &QProgressBar::valueChanged, dialog(), [this](int v) {
    if (v == first + 5)
      QTimer::singleShot(0, dialog(), [this] { button(CSaveParamsDialog::kAbortCommand)->click(); });
  });
  setName(dir / "aborted");
  Boxes boxes;
  EXPECT_FALSE(save());
  EXPECT_EQ(boxes.texts, std::vector<QString>{"Возникла ошибка при сохранении фильма"});
  EXPECT_TRUE(button(CSaveParamsDialog::kStartCommand)->isEnabled());
  EXPECT_FALSE(button(CSaveParamsDialog::kAbortCommand)->isEnabled());

  const ReadFilm film = readFilm(dir / "aborted.avi");
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_GE(film.pictures.size(), 5u);
  EXPECT_LT(film.pictures.size(), 1000u);
  const auto strips = stripsOf(film);
  ASSERT_FALSE(strips.empty());
  EXPECT_EQ(strips.front(), static_cast<std::uint32_t>(first));
}

}  // namespace
}  // namespace kel::test
