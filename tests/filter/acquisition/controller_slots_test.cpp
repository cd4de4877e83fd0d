// The four machine-wide controller slots, within one process.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "filter/acquisition/controller_slots.h"
#include "tests/filter/camera_env.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;

TEST(ControllerSlots, FourReservationsTakeSlotsInOrderAndTheFifthIsRefused) {
  CameraEnv camera;  // private slot folder
  BoxRecorder boxes;
  std::vector<Orvo::ControllerSlot> held;
  for (int expected = 0; expected < 4; ++expected) {
    auto slot = Orvo::ReserveControllerSlot();
    ASSERT_TRUE(slot.has_value());
    EXPECT_EQ(slot->number, expected);
    held.push_back(std::move(*slot));
  }
  EXPECT_EQ(boxes.count(), 0u);

  EXPECT_FALSE(Orvo::ReserveControllerSlot().has_value());
  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.text, "Нет свободных контроллеров");
  EXPECT_EQ(box.caption, "Ошибка создания устройства");
  EXPECT_EQ(box.flags & MB_SYSTEMMODAL, MB_SYSTEMMODAL);

  // Letting go of slot 1 makes it the first free one again; looking at the
  // held slots 0 did not take them over.
  held.erase(held.begin() + 1);
  auto again = Orvo::ReserveControllerSlot();
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->number, 1);
  held.erase(held.begin());
  auto first = Orvo::ReserveControllerSlot();
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->number, 0);
}

}  // namespace
