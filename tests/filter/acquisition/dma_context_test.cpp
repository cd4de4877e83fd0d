// DMA contexts: creation, freeing and a refused free.
#include <gtest/gtest.h>

#include <memory>

#include "filter/acquisition/DmaContext.h"
#include "filter/acquisition/System.h"
#include "filter/hardware/lib3_error.h"
#include "tests/filter/camera_env.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;

TEST(DmaContext, CreateGivesAWritableBufferAndFreeClearsIt) {
  CameraEnv camera;
  BoxRecorder boxes;
  Orvo::DmaContext dma;
  EXPECT_EQ(dma.Buffer(), nullptr);
  dma.Create(4096);
  ASSERT_NE(dma.Buffer(), nullptr);
  EXPECT_NE(dma.Handle(), 0u);
  static_cast<unsigned char*>(dma.Buffer())[4095] = 0x5A;
  dma.Free();
  EXPECT_EQ(dma.Buffer(), nullptr);
  dma.Free();  // nothing left to free
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(DmaContext, RefusedCreateThrows) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3DmaCreateContext:1"}});
  Orvo::DmaContext dma;
  EXPECT_THROW(dma.Create(4096), LIB3::CError);
  EXPECT_EQ(dma.Buffer(), nullptr);
}

TEST(DmaContext, RefusedFreeIsShownInAPlainBoxAndRetriedOnDestruction) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3DmaFreeContext:1"}});
  BoxRecorder boxes;
  {
    Orvo::DmaContext dma;
    dma.Create(1024);
    dma.Free();
    ASSERT_EQ(boxes.count(), 1u);
    const auto box = boxes.boxes()[0];
    EXPECT_EQ(box.caption, "DmaContext::Free");
    EXPECT_EQ(box.flags, MB_OK);
    EXPECT_EQ(box.text.rfind("Error: \"KELLIB3 ERROR: ", 0), 0u) << box.text;
    EXPECT_NE(box.text.find("in File: DmaContext Line: "), std::string::npos);
    EXPECT_NE(dma.Buffer(), nullptr) << "the context still exists";
  }
  EXPECT_EQ(boxes.count(), 1u) << "the second free succeeded quietly";
}

TEST(DmaContext, CreateOverAContextThatCannotBeFreedKeepsIt) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3DmaFreeContext:1"}});
  BoxRecorder boxes;
  {
    Orvo::DmaContext dma;
    dma.Create(1024);
    void* const first = dma.Buffer();
    const KL3_HANDLE handle = dma.Handle();
    EXPECT_THROW(dma.Create(2048), LIB3::CError);
    EXPECT_EQ(dma.Buffer(), first) << "the earlier context is still held, not overwritten";
    EXPECT_EQ(dma.Handle(), handle);
    EXPECT_EQ(boxes.count(), 1u);
  }
  EXPECT_EQ(boxes.count(), 1u) << "the destructor freed the earlier context";
}

}  // namespace
