// Opening and closing the camera system of a filter object.
#include <gtest/gtest.h>

#include <string>

#include "filter/acquisition/System.h"
#include "filter/acquisition/controller_slots.h"
#include "filter/acquisition/system_holder.h"
#include "tests/filter/camera_env.h"

namespace {

using Holder = Kel::SystemHolder<Orvo::System>;
using kel::test::BoxRecorder;
using kel::test::CameraEnv;

// Each failed opening adds one report, which names its unit and line.
std::size_t reports(const std::string& s) {
  const std::string part = "in File: System Line: ";
  std::size_t n = 0;
  for (auto p = s.find(part); p != std::string::npos; p = s.find(part, p + part.size())) ++n;
  return n;
}

TEST(SystemHolder, OpensOnceAndASecondOpenKeepsTheSameSystem) {
  CameraEnv camera;
  Holder holder;
  EXPECT_FALSE(holder.IsOpened());
  ASSERT_TRUE(holder.Open(3, 0));
  Orvo::System* first = holder.Get();
  ASSERT_NE(first, nullptr);
  const KL3_HANDLE handle = first->Handle();
  EXPECT_FALSE(first->Catalogue().Records().empty());
  EXPECT_EQ(first->Mode(), GUID_NULL);

  EXPECT_TRUE(holder.Open(3, 0));
  EXPECT_EQ(holder.Get(), first);
  EXPECT_EQ(holder.Get()->Handle(), handle);
  EXPECT_TRUE(holder.ErrorText().empty());

  holder.Close();
  EXPECT_FALSE(holder.IsOpened());
  EXPECT_EQ(holder.Get(), nullptr);
  // The controller is free again: a new system can claim it.
  EXPECT_TRUE(holder.Open(3, 0));
}

TEST(SystemHolder, NoCameraAppendsEveryFailedOpeningWithItsLineEnd) {
  CameraEnv camera({{"KELLIB3_CAMERA", "absent"}});
  BoxRecorder boxes;
  Holder holder;
  EXPECT_FALSE(holder.Open(3, 0));
  EXPECT_FALSE(holder.IsOpened());
  EXPECT_EQ(holder.Get(), nullptr);
  const std::string once = holder.ErrorText();
  // Code 10 and its text from the library's error list.
  EXPECT_NE(once.find("ERROR: 10 - " + kel::test::listText(1, 10)), std::string::npos) << once;
  EXPECT_NE(once.find("in File: System Line: "), std::string::npos) << once;
  ASSERT_GE(once.size(), 3u);
  EXPECT_EQ(once.substr(once.size() - 3), "\r\r\n");

  EXPECT_FALSE(holder.Open(3, 0));
  EXPECT_EQ(holder.ErrorText().substr(0, once.size()), once);
  EXPECT_EQ(reports(holder.ErrorText()), 2u);
  // The half-made system was destroyed without complaint.
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(SystemHolder, OpeningFromASlotTriesTheFollowingControllersBelowThree) {
  {
    CameraEnv camera;  // one controller installed
    Holder holder;
    EXPECT_FALSE(Orvo::OpenFromSlot(holder, 1));
    EXPECT_EQ(reports(holder.ErrorText()), 2u) << "controllers 1 and 2 both tried";
  }
  {
    CameraEnv camera;
    Holder holder;
    EXPECT_FALSE(Orvo::OpenFromSlot(holder, 3));
    EXPECT_TRUE(holder.ErrorText().empty()) << "slot 3 never opens a system";
  }
  {
    CameraEnv camera({{"KELLIB3_CONTROLLERS", "3"}});
    Holder taken, holder;
    ASSERT_TRUE(taken.Open(3, 1));
    EXPECT_TRUE(Orvo::OpenFromSlot(holder, 1));
    EXPECT_EQ(reports(holder.ErrorText()), 1u) << "controller 1 is taken, 2 opens";
  }
}

TEST(SystemHolder, RefusedDestroyIsShownWithItsPrefix) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3SystemDestroy:1"}});
  BoxRecorder boxes;
  {
    Holder holder;
    ASSERT_TRUE(holder.Open(3, 0));
  }
  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.caption, "LIB3 ERROR");
  EXPECT_EQ(box.text.rfind("~System():Error: \"KELLIB3 ERROR: ", 0), 0u) << box.text;
  EXPECT_NE(box.text.find("KelLib3SystemDestroy"), std::string::npos);
}

}  // namespace
