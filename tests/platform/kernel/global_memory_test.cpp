#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/kernel/global_memory.h"
#include "platform/kernel/last_error.h"

namespace {

TEST(GlobalMemory, BlocksAllocatedOnOneThreadAreFreedOnAnother) {
  std::size_t before = plat::globalBlocksInUse();
  std::vector<HGLOBAL> blocks;
  std::jthread sender([&] {
    for (int i = 0; i < 100; ++i) blocks.push_back(plat::globalCopyText("line " + std::to_string(i)));
  });
  sender.join();
  EXPECT_EQ(plat::globalBlocksInUse(), before + 100);
  std::jthread receiver([&] {
    for (int i = 0; i < 100; ++i) {
      EXPECT_STREQ(static_cast<const char*>(blocks[i]), ("line " + std::to_string(i)).c_str());
      EXPECT_EQ(GlobalFree(blocks[i]), nullptr);
    }
  });
  receiver.join();
  EXPECT_EQ(plat::globalBlocksInUse(), before);
}

TEST(GlobalMemory, CopiedTextKeepsItsTerminatingZero) {
  HGLOBAL block = plat::globalCopyText("Нет");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), std::strlen("Нет") + 1);
  EXPECT_STREQ(static_cast<const char*>(block), "Нет");
  GlobalFree(block);

  HGLOBAL empty = plat::globalCopyText("");
  EXPECT_EQ(GlobalSize(empty), 1u);
  EXPECT_EQ(static_cast<const char*>(empty)[0], '\0');
  GlobalFree(empty);
}

TEST(GlobalMemory, FreeingTwiceOrAForeignPointerIsRefused) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 8);
  ASSERT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalSize(block), 0u);

  int local = 0;
  EXPECT_EQ(GlobalFree(&local), &local);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

}  // namespace
