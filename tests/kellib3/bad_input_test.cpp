// Bad input: unknown handles, null pointers, calls out of order and wrong
// block sizes give a positive result and a text that says what was wrong.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/kellib3/session.h"

namespace kel::test {
namespace {

class BadInput : public ::testing::Test {
 protected:
  void expectFailure(KL3_RESULT r, int code, const std::string& remarkPart) {
    EXPECT_EQ(r, code) << session->lastError();
    EXPECT_NE(session->lastError().find(remarkPart), std::string::npos) << session->lastError();
  }
  TempDir dir;
  SessionEnv env{dir.path(), 1e6, {{"KELLIB3_SIZE", "320x240"}}};
  std::unique_ptr<Session> session = std::make_unique<Session>();
};

TEST_F(BadInput, UnknownHandlesAreNamedInTheError) {
  auto& s = *session;
  const KL3_HANDLE bogus = 0x12345678;
  std::int32_t v = 0;
  std::uint32_t u = 0;
  KL3_HANDLE out = 0;
  expectFailure(KelLib3SystemGetCInterface(bogus, 0x400002, 0, &out, s.error()), 1, "unknown system handle 0x12345678");
  expectFailure(KelLib3OptionSetScalar(bogus, 1, 0, s.error()), 1, "not an option interface");
  expectFailure(KelLib3OptionGetEnumVal(s.iface(0xC0300003), &v, s.error()), 1, "not a camera option");
  expectFailure(KelLib3CallCInterface_0(s.iface(0x400002), KELLIB3_CMD_START_INPUT, s.error()), 1,
                "not a control interface");
  expectFailure(KelLib3InDInterfaceQueryReady(bogus, &u, &u, s.error()), 1, "not an input interface");
  expectFailure(KelLib3DmaFreeContext(bogus, s.error()), 1, "unknown DMA context");
  expectFailure(KelLib3DataheaderGetU32(bogus, 4, &u, s.error()), 1, "unknown data header");
  expectFailure(KelLib3GetInfoScalarVal(s.iface(0x40000a), &v, &u, s.error()), 1, "not an information interface");
  expectFailure(KelLib3SystemGetCInterface(s.system(), 0x4000ff, 0, &out, s.error()), 5, "no interface 0x4000FF");
  expectFailure(KelLib3CallCInterface_0(s.iface(0xC0300002), 0xA0000099, s.error()), 6, "command 0xA0000099");
  expectFailure(KelLib3ErrorDataFree(bogus), 1, "");
}

TEST_F(BadInput, NullPointersAreRefused) {
  auto& s = *session;
  std::int32_t v = 0;
  expectFailure(KelLib3OptionGetScalar(s.iface(0x40000a), nullptr, 0, s.error()), 3, "value is a null pointer");
  expectFailure(KelLib3OptionGetScalarRange(s.iface(0x40000a), &v, nullptr, 0, s.error()), 3, "maximum");
  expectFailure(KelLib3OptionGetRect(s.iface(0x400006), &v, &v, nullptr, &v, s.error()), 3, "width");
  expectFailure(KelLib3SystemCreate(3, nullptr, s.error()), 3, "system");
  expectFailure(KelLib3DmaCreateContext(nullptr, nullptr, 100, 0, s.error()), 3, "context");
  expectFailure(KelLib3CallCInterface_1(s.iface(0xC0300003), KELLIB3_CMD_READ_STATUS, 272, nullptr, s.error()), 3,
                "block is a null pointer");
  EXPECT_NE(KelLib3ErrorSPrintf(nullptr, 10, "%m", s.error(), KelLib3ListGetStdList(1)), 0);
  EXPECT_NE(KelLib3ErrorDataCreate(nullptr), 0);
}

TEST_F(BadInput, FrameCycleStepsOutOfOrder) {
  auto& s = *session;
  const auto in = s.input();
  std::uint32_t a = 0, b = 0;
  expectFailure(KelLib3InDInterfaceQueryReady(in, &a, &b, s.error()), 7, "no frame cycle is open");
  expectFailure(KelLib3InDInterfaceBeginBlock(in, s.error()), 7, "BeginBlock without an open frame cycle");
  expectFailure(KelLib3CallCInterface_0(s.iface(0xC0300003), KELLIB3_CMD_CLOSE_CYCLE, s.error()), 7,
                "no frame cycle is open");
  KelLib3PartBlock part{};
  expectFailure(KelLib3CallCInterface_1(s.iface(0xC0300003), KELLIB3_CMD_NEXT_PART, sizeof part, &part, s.error()), 7,
                "no frame cycle");
  ASSERT_EQ(s.command(0xC0300003, 0, KELLIB3_CMD_OPEN_CYCLE), 0);
  expectFailure(KelLib3InDInterfaceBeginBlock(in, s.error()), 7, "before a frame is ready");
  expectFailure(KelLib3InDInterfaceEndBlock(in, s.error()), 7, "EndBlock without BeginBlock");
  std::int32_t v = 0;
  expectFailure(KelLib3InDInterfaceGetAddOnAtributeType(in, 0x400004, 0, &v, s.error()), 7, "ready frame");

  // A live frame, then DMA into a context too small and into a freed one.
  s.startInput();
  ASSERT_EQ(KelLib3InDInterfaceWait(in, 2000, s.error()), 0);
  ASSERT_EQ(s.command(0xC0300003, 0, KELLIB3_CMD_OPEN_CYCLE), 0);
  ASSERT_EQ(KelLib3InDInterfaceQueryReady(in, &a, &b, s.error()), 0);
  ASSERT_NE(a, 0u);
  expectFailure(KelLib3InDInterfaceStartDma(in, 0x44000001, s.error()), 1, "unknown DMA context");
  ASSERT_EQ(KelLib3InDInterfaceBeginBlock(in, s.error()), 0);
  KL3_HANDLE ctx = 0;
  void* buffer = nullptr;
  ASSERT_EQ(KelLib3DmaCreateContext(&ctx, &buffer, a - 1, 0, s.error()), 0);
  expectFailure(KelLib3InDInterfaceStartDma(in, ctx, s.error()), 4, "smaller than the part");
  ASSERT_EQ(KelLib3DmaFreeContext(ctx, s.error()), 0);
  expectFailure(KelLib3InDInterfaceStartDma(in, ctx, s.error()), 1, "unknown DMA context");
  expectFailure(KelLib3DmaFreeContext(ctx, s.error()), 1, "unknown DMA context");
  expectFailure(KelLib3DmaCreateContext(&ctx, &buffer, 0, 0, s.error()), 2, "0 bytes");
  expectFailure(KelLib3DmaCreateContext(&ctx, &buffer, 0, 1, s.error()), 15, "larger than 1 GiB");
}

TEST_F(BadInput, WrongBlockSizesAndHeaderMisuse) {
  auto& s = *session;
  KelLib3StatusBlock status{};
  expectFailure(KelLib3CallCInterface_1(s.iface(0xC0300002), KELLIB3_CMD_READ_STATUS, 100, &status, s.error()), 4,
                "needs 272");
  expectFailure(KelLib3CallCInterface_0(s.iface(0xC0300002), KELLIB3_CMD_READ_STATUS, s.error()), 4, "needs a block");
  KelLib3TextBlock text{};
  text.capacity = 256;
  text.text = text.area;
  expectFailure(KelLib3CallCInterface_1(s.iface(0xC0000002, 1), KELLIB3_CMD_READ_TEXT, 8, &text, s.error()), 4,
                "needs 16");
  text.text = nullptr;
  expectFailure(KelLib3CallCInterface_1(s.iface(0xC0000002, 1), KELLIB3_CMD_READ_TEXT, 284, &text, s.error()), 2,
                "no text area");

  KL3_HANDLE header = 0;
  ASSERT_EQ(KelLib3DataheaderCreate(&header, s.error()), 0);
  std::uint32_t v = 0;
  expectFailure(KelLib3DataheaderGetU32(header, 4, &v, s.error()), 7, "not initialised");
  ASSERT_EQ(KelLib3DataheaderInit(header, s.error()), 0);
  expectFailure(KelLib3DataheaderGetU32(header, 16, &v, s.error()), 5, "key 16");
  ASSERT_EQ(KelLib3InDInterfaceGetType(s.input(), header, s.error()), 0);
  std::uint32_t size = 0;
  ASSERT_EQ(KelLib3DataheaderSize(header, &size, s.error()), 0);
  std::vector<std::uint8_t> copy(size);
  expectFailure(KelLib3DataheaderCopy(header, copy.data(), size - 1, s.error()), 4, "the header needs");
  ASSERT_EQ(KelLib3DataheaderCopy(header, copy.data(), size, s.error()), 0);
  KelLib3DataheaderImage image{};
  std::memcpy(&image, copy.data(), sizeof image);
  EXPECT_EQ(image.values[KELLIB3_KEY_WIDTH], 320u);
  EXPECT_EQ(image.values[KELLIB3_KEY_HEIGHT], 240u);
  EXPECT_EQ(image.values[KELLIB3_KEY_PIXEL_FORMAT], KELLIB3_PIXEL_MONO10);
  ASSERT_EQ(KelLib3DataheaderFree(header, s.error()), 0);
  expectFailure(KelLib3DataheaderGetU32(header, 4, &v, s.error()), 1, "unknown data header");
}

TEST_F(BadInput, ControllerOptionAndControllersAreChecked) {
  auto& s = *session;
  KL3_HANDLE option = 0;
  ASSERT_EQ(KelLib3SystemGetOptionCInterface(s.system(), 0x700001, 0, &option, s.error()), 0);
  expectFailure(KelLib3OptionSetScalar(option, 0, 0, s.error()), 7, "cannot change after KelLib3SystemInit");

  KL3_HANDLE second = 0;
  ASSERT_EQ(KelLib3SystemCreate(3, &second, s.error()), 0);
  expectFailure(KelLib3SystemInit(second, s.error()), 11, "controller 0 is used by another system");
  ASSERT_EQ(KelLib3SystemGetOptionCInterface(second, 0x700001, 0, &option, s.error()), 0);
  expectFailure(KelLib3OptionSetScalar(option, 1, 2, s.error()), 9, "unit 0 only");
  ASSERT_EQ(KelLib3OptionSetScalar(option, 1, 0, s.error()), 0);
  expectFailure(KelLib3SystemInit(second, s.error()), 11, "controller 1 does not exist (1 installed)");
  expectFailure(KelLib3SystemGetOptionCInterface(second, 0x400002, 0, &option, s.error()), 5, "no system option");
  ASSERT_EQ(KelLib3SystemDestroy(second, s.error()), 0);
  expectFailure(KelLib3SystemDestroy(second, s.error()), 1, "unknown system handle");
}

}  // namespace
}  // namespace kel::test
