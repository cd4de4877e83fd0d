#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/message_box.h"

namespace {

// Restores the hook that was there before the test.
class MessageBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { plat::setMessageBoxHook({}); }
};

TEST_F(MessageBoxTest, InstalledHookSeesTheRequestAndChoosesTheAnswer) {
  std::vector<plat::MessageBoxRequest> shown;
  plat::setMessageBoxHook([&](const plat::MessageBoxRequest& r) {
    shown.push_back(r);
    return IDRETRY;
  });
  int answer = plat::MessageBox("Нет свободных контроллеров", "Ошибка создания устройства",
                                MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
  EXPECT_EQ(answer, IDRETRY);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Нет свободных контроллеров");
  EXPECT_EQ(shown[0].caption, "Ошибка создания устройства");
  EXPECT_EQ(shown[0].flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_NE(shown[0].flags & MB_SYSTEMMODAL, 0u);
}

TEST_F(MessageBoxTest, HeadlessDefaultLogsAndAnswersSafely) {
  testing::internal::CaptureStderr();
  int answer = plat::MessageBox("Can't stop input control", "Timeout", MB_OK | MB_ICONERROR);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Timeout: Can't stop input control\n");
  EXPECT_EQ(answer, IDOK);

  testing::internal::CaptureStderr();
  EXPECT_EQ(plat::MessageBox("?", "c", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
  EXPECT_EQ(plat::MessageBox("?", "c", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(plat::MessageBox("?", "c", MB_RETRYCANCEL), IDCANCEL);
  EXPECT_EQ(plat::MessageBox("?", "c", MB_OKCANCEL | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(plat::MessageBox("?", "c", MB_ABORTRETRYIGNORE), IDABORT);
  testing::internal::GetCapturedStderr();
}

}  // namespace
