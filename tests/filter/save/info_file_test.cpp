// The shooting-parameter file: its exact lines in code page 1251, when the
// file source writes it, and how a file is replaced without ever being half
// written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "filter/acquisition/settings_records.h"
#include "filter/processing/StFileSource.h"
#include "filter/processing/info_file.h"
#include "platform/kernel/text_codec.h"
#include "shared/identifiers.h"
#include "tests/filter/save/save_rig.h"
#include "tests/support/temp_env.h"

namespace {

using namespace kel::test;
using Buffer = Orvo::StOrvoSource::FrameBuffer;

// A label followed by the spaces that fill its 23-character field.
std::string field(const std::string& label, int spaces) { return label + std::string(spaces, ' '); }

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t filesIn(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(InfoFileFormat, EveryLineInOrderWithItsFieldAndUnit) {
  Orvo::ShootingParameters p;
  p.framePeriodUs = 1000;
  p.exposure = Orvo::ShootingParameters::Exposure{-3, false};
  p.background = true;
  p.window = Orvo::ShootingParameters::Window{640, 480};
  p.decimation = 2;
  p.gain = 4;
  p.blackLevel = 17;
  p.digitalGain = -1;
  p.whiteBalance = Orvo::ShootingParameters::WhiteBalance{false, 3, 4, 4000000000u};
  p.gamma = true;
  p.correctionBlack = 8;
  p.correctionWhite = 250;
  p.shutterVoltage = 650;
  p.shutterCount = 3;
  p.shutterPeriodUs = 12;
  const std::string expected = field("Кадровый период:", 7) + "1000 мкс\r\n" +
                               field("Экспозиция:", 12) + "-3 мкс\r\n" +
                               field("Фон:", 19) + "[X]\r\n" +
                               field("Окно:", 18) + "640x480\r\n" +
                               field("Прореживание:", 10) + "2\r\n" +
                               field("Усиление:", 14) + "4\r\n" +
                               field("Уровень черного:", 7) + "17\r\n" +
                               field("Цифровое усиление:", 5) + "-1\r\n" +
                               field("Баланс белого:", 9) + "3-4-4000000000\r\n" +
                               field("Гамма-коррекция:", 7) + "[X]\r\n" +
                               field("Цифр.коррекция черный:", 1) + "8\r\n" +
                               field("Цифр.коррекция белый:", 2) + "250\r\n" +
                               field("Затвор напряжение:", 5) + "650 вольт\r\n" +
                               field("Затвор кол-во эксп.:", 3) + "3\r\n" +
                               field("Затвор период зксп.:", 3) + "12 мкс\r\n";
  EXPECT_EQ(Orvo::FormatShootingParameters(p), expected);
}

TEST(InfoFileFormat, AbsentOptionsAndWhiteBalanceOffLeaveOnlyTheFixedLines) {
  Orvo::ShootingParameters p;
  p.exposure = Orvo::ShootingParameters::Exposure{500, true};
  p.correctionWhite = 255;
  const std::string expected = field("Экспозиция:", 12) + "500 нс\r\n" +
                               field("Фон:", 19) + "[ ]\r\n" +
                               field("Цифровое усиление:", 5) + "0\r\n" +
                               field("Гамма-коррекция:", 7) + "[ ]\r\n" +
                               field("Цифр.коррекция черный:", 1) + "0\r\n" +
                               field("Цифр.коррекция белый:", 2) + "255\r\n";
  EXPECT_EQ(Orvo::FormatShootingParameters(p), expected);
}

TEST(InfoFileFormat, AutomaticWhiteBalanceReadsAuto) {
  Orvo::ShootingParameters p;
  p.whiteBalance = Orvo::ShootingParameters::WhiteBalance{true, 1, 2, 3};
  const std::string text = Orvo::FormatShootingParameters(p);
  EXPECT_NE(text.find("\r\n" + field("Баланс белого:", 9) + "авто\r\n"), std::string::npos) << text;
}

TEST(InfoFileWrite, ReplacesTheFileAndLeavesNothingBeside) {
  TempDir dir;
  const auto path = dir / "film.avi.info";
  std::ofstream(path) << "an older, longer file that must not survive in part";
  std::string why;
  ASSERT_TRUE(Orvo::WriteFileAtomically(path, "new\r\n", why)) << why;
  EXPECT_EQ(readBytes(path), "new\r\n");
  EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(InfoFileWrite, FailureIsReportedAndCleansUp) {
  TempDir dir;
  // A folder of that name cannot be replaced by a file.
  std::filesystem::create_directory(dir / "film.avi.info");
  std::string why;
  EXPECT_FALSE(Orvo::WriteFileAtomically(dir / "film.avi.info", "text", why));
  EXPECT_NE(why.find("rename"), std::string::npos) << why;
  EXPECT_EQ(filesIn(dir.path()), 1u);
  EXPECT_FALSE(Orvo::WriteFileAtomically(dir / "missing" / "film.avi.info", "text", why));
  EXPECT_NE(why.find("open"), std::string::npos) << why;
}

class InfoFileSaveTest : public ::testing::Test {
 protected:
  std::unique_ptr<Orvo::StFileSource> saveSource(SaveRig& rig, std::int32_t frames) {
    rig.recordFilm(frames);
    auto& save = Orvo::Settings().save;
    save.firstFrame = 0;
    save.lastFrame = frames - 1;
    save.writeInfoFile = 1;
    save.fileName.set(plat::utf8ToUtf16((dir / "фильм.avi").string()));
    rig.system().SetMode(&MODE_Save);
    auto source = std::make_unique<Orvo::StFileSource>(rig.holder(), notify.hwnd());
    source->SetBytesPerPixel(3);
    source->SetRunning(true);
    source->Start(nullptr);
    return source;
  }

  std::filesystem::path infoPath() const { return dir / "фильм.avi.info"; }
  // The file's text, decoded from code page 1251.
  std::string infoText() const { return plat::cp1251ToUtf8(readBytes(infoPath())); }

  // The lines every camera has, from what the library holds now.
  static std::string cameraLines(const SaveRig& rig, const std::string& exposure) {
    return field("Кадровый период:", 7) + std::to_string(rig.hw().scalar(0x400003, 2)) + " мкс\r\n" +
           field("Экспозиция:", 12) + exposure + "\r\n";
  }
  static std::string windowToBlackLines(const SaveRig& rig) {
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(KelLib3OptionGetRect(rig.hw().option(0x400006), &x, &y, &w, &h, 0), 0);
    return field("Окно:", 18) + std::to_string(w) + "x" + std::to_string(h) + "\r\n" +
           field("Прореживание:", 10) + std::to_string(rig.hw().scalar(0x400055, 0)) + "\r\n" +
           field("Усиление:", 14) + std::to_string(rig.hw().scalar(0x40000a, 0)) + "\r\n" +
           field("Уровень черного:", 7) + std::to_string(rig.hw().scalar(0x40000d, 0)) + "\r\n";
  }

  SettingsGuard settings;
  BoxRecorder boxes;
  RecordingWindow notify;
  TempDir dir;
};

TEST_F(InfoFileSaveTest, PlainCameraWithSubMicrosecondExposure) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.hw().setScalar(0x400002, 500, 1);
  ASSERT_EQ(rig.hw().scalar(0x400002, 1), 500);
  auto source = saveSource(rig, 3);
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  const std::string expected = cameraLines(rig, "500 нс") + field("Фон:", 19) + "[ ]\r\n" +
                               windowToBlackLines(rig) + field("Цифровое усиление:", 5) + "0\r\n" +
                               field("Гамма-коррекция:", 7) + "[ ]\r\n" +
                               field("Цифр.коррекция черный:", 1) + "0\r\n" +
                               field("Цифр.коррекция белый:", 2) + "255\r\n";
  EXPECT_EQ(infoText(), expected);
  EXPECT_TRUE(notify.texts().empty());
}

TEST_F(InfoFileSaveTest, ShutterCameraWithWhiteBalanceAndBackground) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock, {"KELLIB3_SHUTTER", "1"}});
  rig.hw().setScalar(0x400002, 20, 2);
  auto& s = Orvo::Settings();
  s.whiteBalance.enabled = 1;
  s.whiteBalance.red = 3;
  s.whiteBalance.green = 4;
  s.whiteBalance.blue = 5;
  s.whiteBalance.gamma = 1;
  s.levels.digitalGain = 2;
  s.levels.black = 10;
  s.levels.white = 200;
  auto source = saveSource(rig, 3);
  source->SetBackgroundQuery([] { return true; });
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  const std::string expected = cameraLines(rig, "20 мкс") + field("Фон:", 19) + "[X]\r\n" +
                               windowToBlackLines(rig) + field("Цифровое усиление:", 5) + "2\r\n" +
                               field("Баланс белого:", 9) + "3-4-5\r\n" +
                               field("Гамма-коррекция:", 7) + "[X]\r\n" +
                               field("Цифр.коррекция черный:", 1) + "10\r\n" +
                               field("Цифр.коррекция белый:", 2) + "200\r\n" +
                               field("Затвор напряжение:", 5) + std::to_string(rig.hw().scalar(0x400022, 12)) +
                               " вольт\r\n" + field("Затвор кол-во эксп.:", 3) +
                               std::to_string(rig.hw().scalar(0x400041, 0)) + "\r\n" +
                               field("Затвор период зксп.:", 3) + std::to_string(rig.hw().scalar(0x400003, 2, 1)) +
                               " мкс\r\n";
  EXPECT_EQ(infoText(), expected);
}

TEST_F(InfoFileSaveTest, WrittenOnceAfterTheFirstFrameOfEachRun) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  auto source = saveSource(rig, 4);
  EXPECT_FALSE(std::filesystem::exists(infoPath()));
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  ASSERT_TRUE(std::filesystem::exists(infoPath()));
  std::filesystem::remove(infoPath());
  while (source->createData(raw)) {
  }
  EXPECT_FALSE(std::filesystem::exists(infoPath()));
  // The next run writes it again.
  source->Start(nullptr);
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(std::filesystem::exists(infoPath()));
}

TEST_F(InfoFileSaveTest, FlagSetAfterTheFirstFrameWaitsForTheNextRun) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  auto source = saveSource(rig, 4);
  Orvo::Settings().save.writeInfoFile = 0;
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  Orvo::Settings().save.writeInfoFile = 1;
  while (source->createData(raw)) {
  }
  EXPECT_FALSE(std::filesystem::exists(infoPath()));
}

TEST_F(InfoFileSaveTest, FileThatCannotBeWrittenIsReportedAndTheSaveGoesOn) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  auto source = saveSource(rig, 3);
  Orvo::Settings().save.fileName.set(plat::utf8ToUtf16((dir / "no such folder" / "film.avi").string()));
  Buffer raw;
  int frames = 0;
  while (source->createData(raw)) ++frames;
  EXPECT_EQ(frames, 3);
  EXPECT_TRUE(source->IsSaveFinished());
  const auto texts = notify.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Ошибка сохранения атрибутов в текстовом файле");
}

}  // namespace
