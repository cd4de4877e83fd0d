// The desktop shell's rules that need no display: where its profile is and
// what it reads, the video window's sizes, the log's colours and the
// capacity pane's text.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/app/ShellConfig.h"
#include "shell/app/log_colour.h"
#include "shell/app/status_texts.h"
#include "shell/app/video_sizing.h"
#include "tests/support/temp_env.h"

namespace {

using VideoSizing::Size;
using VideoSizing::WindowSize;

TEST(ShellProfile, IsTheProgramsNameWithItsExtensionReplacedInItsFolder) {
  EXPECT_EQ(ShellConfig::IniPathFor("/opt/kel/bin/WinKelOrvoShell"), "/opt/kel/bin/WinKelOrvoShell.ini")
      << "a program without an extension still has its profile";
  EXPECT_EQ(ShellConfig::IniPathFor("/opt/kel.2/bin/WinKelOrvoShell"), "/opt/kel.2/bin/WinKelOrvoShell.ini")
      << "a dot in a folder name is not the extension";
  EXPECT_EQ(ShellConfig::IniPathFor("C/WinKelOrvoShell.exe"), "C/WinKelOrvoShell.ini");
  EXPECT_EQ(ShellConfig::IniPathFor(""), "");
}

TEST(ShellProfile, MissingFileOrKeysGiveTheDefaults) {
  kel::test::TempDir dir;
  for (const auto& ini : {dir / "absent.ini", dir / "empty.ini"}) {
    std::ofstream(dir / "empty.ini") << "[OTHER]\nSTRETCH=0\n";
    EXPECT_EQ(ShellConfig::Stretch(ini), 1) << ini;
    EXPECT_EQ(ShellConfig::AutoSave(ini), 0) << ini;
    EXPECT_EQ(ShellConfig::AutoSavePath(ini), "") << ini;
  }
}

TEST(ShellProfile, ReadsItsThreeKeysAndNeverWritesTheFile) {
  kel::test::TempDir dir;
  const auto ini = dir / "WinKelOrvoShell.ini";
  const std::string text = "[STRETCH_SEC]\r\nSTRETCH=0\r\n[AUTOSAVE_SEC]\r\nAUTOSAVE=1\r\nPATH=/data/films\r\n";
  std::ofstream(ini, std::ios::binary) << text;
  EXPECT_EQ(ShellConfig::Stretch(ini), 0);
  EXPECT_EQ(ShellConfig::AutoSave(ini), 1);
  EXPECT_EQ(ShellConfig::AutoSavePath(ini), "/data/films");
  std::ifstream in(ini, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
}

TEST(ShellProfile, AutoSavePathIsCutAt260BytesWithoutSplittingACharacter) {
  kel::test::TempDir dir;
  const auto ini = dir / "p.ini";
  std::string path(259, 'a');
  path += "ж";  // two bytes, the second past the limit
  std::ofstream(ini) << "[AUTOSAVE_SEC]\nPATH=" << path << "\n";
  EXPECT_EQ(ShellConfig::AutoSavePath(ini), std::string(259, 'a'));
}

TEST(VideoWindowSize, ZoomMultipliesAndStretchesByDecimation) {
  EXPECT_EQ(WindowSize({640, 480}, 200, 4, {100, 100}), (Size{1280, 3840}));
  EXPECT_EQ(WindowSize({640, 480}, 100, 1, {100, 100}), (Size{640, 480}));
  EXPECT_EQ(WindowSize({641, 481}, 50, 1, {0, 0}), (Size{320, 240})) << "integer arithmetic, cut down";
}

TEST(VideoWindowSize, FitFillsTheWidthOrIsLimitedByTheHeight) {
  EXPECT_EQ(WindowSize({640, 480}, VideoSizing::kFit, 1, {800, 600}), (Size{800, 600}));
  EXPECT_EQ(WindowSize({640, 480}, VideoSizing::kFit, 2, {800, 600}), (Size{400, 600}));
  EXPECT_EQ(WindowSize({640, 480}, VideoSizing::kFit, 1, {800, 1000}), (Size{800, 600})) << "a tall view: width rules";
}

TEST(VideoWindowSize, NoPictureOrAnUnknownZoomGivesNoSize) {
  EXPECT_FALSE(WindowSize({0, 480}, 100, 1, {800, 600}));
  EXPECT_FALSE(WindowSize({640, 480}, 0, 1, {800, 600}));
  EXPECT_FALSE(WindowSize({640, 480}, -2, 1, {800, 600}));
}

TEST(VideoWindowSize, StretchFactorIsOneWithoutStretchOrWithoutTheOption) {
  EXPECT_EQ(VideoSizing::StretchFactor(1, 4), 4);
  EXPECT_EQ(VideoSizing::StretchFactor(0, 4), 1);
  EXPECT_EQ(VideoSizing::StretchFactor(1, std::nullopt), 1) << "a camera without decimation keeps its picture";
  EXPECT_EQ(VideoSizing::StretchFactor(1, 0), 1);
}

TEST(VideoWindowSize, ScrollStartsAtTheMiddleOfALargerWindow) {
  EXPECT_EQ(VideoSizing::CentredScroll(3840, 600), 1620);
  EXPECT_EQ(VideoSizing::CentredScroll(400, 600), 0);
}

TEST(LogColours, FollowTheFirstFourCharactersAndCarryOverOtherwise) {
  using namespace LogView;
  EXPECT_EQ(LineColour("Info: started", kErrorColour), Rgb(0, 0, 0));
  EXPECT_EQ(LineColour("Warn: slow", kInfoColour), Rgb(0, 0, 196));
  EXPECT_EQ(LineColour("Error: 07 Dec 26 ...", kInfoColour), Rgb(196, 0, 0));
  EXPECT_EQ(LineColour("continued", kWarnColour), kWarnColour);
  EXPECT_EQ(LineColour("Inf", kWarnColour), kWarnColour);
}

TEST(CapacityPane, ShowsFramesAndSecondsAtTheFrameRate) {
  EXPECT_EQ(StatusTexts::CapacityText(2000, 500), "Доступно для записи: 2000 кадров (Время: 4.00  сек.)");
  EXPECT_EQ(StatusTexts::CapacityText(1234, 1000), "Доступно для записи: 1234 кадров (Время: 1.23  сек.)");
  EXPECT_EQ(StatusTexts::CapacityText(100000, 3), "Доступно для записи: 100000 кадров (Время: 33333.33сек.)");
  EXPECT_EQ(StatusTexts::CapacityText(50, std::nullopt), "Доступно для записи: 50 кадров (Время: 0.00  сек.)");
  EXPECT_EQ(StatusTexts::CapacityText(50, 0), "Доступно для записи: 50 кадров (Время: 0.00  сек.)");
}

}  // namespace
