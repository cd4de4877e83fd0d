// The operator's text of a hardware-library error, the check and the box.
#include <gtest/gtest.h>

#include <string>

#include "filter/hardware/lib3_error.h"
#include "tests/filter/camera_env.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;

constexpr std::uint32_t kErrorTexts = 1;

// Makes the library refuse a call so that `error` holds a real report.
void refuseSystemType(KL3_HANDLE error) {
  KL3_HANDLE system = 0;
  ASSERT_GT(KelLib3SystemCreate(7, &system, error), 0);
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Lib3ErrorText, QuotesTheLibraryReportThenNamesUnitAfterLastBackslashAndLine) {
  CameraEnv camera;
  refuseSystemType(camera.error());
  const LIB3::CError e(camera.error(), "c:\\work\\filter\\acquisition\\System.cpp", 42);

  // Code 2 with its message from the library's own error list, in UTF-8.
  const std::string head = "Error: \"KELLIB3 ERROR: 2 - " + kel::test::listText(kErrorTexts, 2) + "  File: ";
  EXPECT_EQ(e.Text().rfind(head, 0), 0u) << e.Text();
  EXPECT_TRUE(endsWith(e.Text(), "\"\r\r\nin File: System.cpp Line: 42")) << e.Text();
  // The remark arrives in code page 1251 and must read as UTF-8 here.
  EXPECT_NE(e.Text().find("Object File: libkellib3.so Remark:\"KelLib3SystemCreate: system type 7"),
            std::string::npos)
      << e.Text();
}

TEST(Lib3ErrorText, UnitWithoutBackslashIsShownWhole) {
  CameraEnv camera;
  refuseSystemType(camera.error());
  EXPECT_TRUE(endsWith(LIB3::CError(camera.error(), "ValueManaged", 7).Text(), "in File: ValueManaged Line: 7"));
  // Forward slashes are not separators of the unit.
  EXPECT_TRUE(endsWith(LIB3::CError(camera.error(), "a/b/DmaContext", 3).Text(), "in File: a/b/DmaContext Line: 3"));
}

TEST(Lib3ErrorText, FormattingFailureGivesFixedTextWithoutFileOrLine) {
  CameraEnv camera;
  KL3_HANDLE gone = 0;
  ASSERT_EQ(KelLib3ErrorDataCreate(&gone), 0);
  ASSERT_EQ(KelLib3ErrorDataFree(gone), 0);
  EXPECT_EQ(LIB3::CError(gone, "c:\\x\\System.cpp", 5).Text(), "LIB3: Неизвестная ошибка");
}

TEST(Lib3Check, PassesZeroAndNegativeResultsAndThrowsForPositive) {
  CameraEnv camera;
  refuseSystemType(camera.error());
  EXPECT_NO_THROW(LIB3::Check(0, camera.error(), "System", 1));
  EXPECT_NO_THROW(LIB3::Check(-3, camera.error(), "System", 1));
  try {
    LIB3::Check(2, camera.error(), "x\\System", 99);
    FAIL() << "a positive result must throw";
  } catch (const LIB3::CError& e) {
    EXPECT_EQ(e.Text(), LIB3::CError(camera.error(), "System", 99).Text());
  }
}

TEST(Lib3ErrorBox, ShowsPrefixDirectlyBeforeTextWithCaptionAndErrorIcon) {
  CameraEnv camera;
  refuseSystemType(camera.error());
  const LIB3::CError e(camera.error(), "System", 10);
  BoxRecorder boxes;
  LIB3::ShowError(e, "~System():");
  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.text, "~System():" + e.Text());
  EXPECT_EQ(box.caption, "LIB3 ERROR");
  EXPECT_EQ(box.flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_EQ(box.flags & MB_TYPEMASK, MB_OK);
}

}  // namespace
