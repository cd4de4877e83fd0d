// The machine's four controller slots across processes: each helper process
// holds one capture filter made through the class registry.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/filter/capture/camera_host.h"
#include "tests/filter/capture/child_process.h"

namespace kel::test {
namespace {

std::unique_ptr<ChildProcess> startHolder(std::vector<std::string>& lines) {
  auto child = std::make_unique<ChildProcess>(binDir() / "capture_slot_host", std::vector<std::string>{});
  lines = child->readUntil("opened");
  return child;
}

TEST(ControllerSlots, EachProcessTakesTheNextSlotAndAKilledOneFreesIt) {
  CaptureHost host{{{"KELLIB3_CONTROLLERS", "4"}}};
  std::vector<std::unique_ptr<ChildProcess>> holders;
  std::vector<std::string> lines;
  for (const char* expected : {"opened 1 controller 0", "opened 1 controller 1", "opened 1 controller 2"}) {
    holders.push_back(startHolder(lines));
    ASSERT_EQ(lines, std::vector<std::string>{expected});
  }
  // Slot 3 is taken, but it never opens a system.
  holders.push_back(startHolder(lines));
  EXPECT_EQ(lines, std::vector<std::string>{"opened 0"});

  auto fifth = startHolder(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"box Ошибка создания устройства|Нет свободных контроллеров", "opened 0"}));
  fifth.reset();

  holders[1]->kill();
  holders.push_back(startHolder(lines));
  EXPECT_EQ(lines, std::vector<std::string>{"opened 1 controller 1"}) << "the killed process's slot is free again";
}

}  // namespace
}  // namespace kel::test
