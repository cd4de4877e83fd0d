#include "tests/kellib3/session.h"

#include <gtest/gtest.h>

#include "kellib3/frame/frame_strip.h"

namespace kel::test {

SessionEnv::SessionEnv(const std::filesystem::path& stateDir, double timeScale,
                       std::vector<std::pair<std::string, std::string>> extra) {
  vars.push_back(std::make_unique<ScopedEnv>("KELLIB3_STATE_DIR", stateDir.string()));
  vars.push_back(std::make_unique<ScopedEnv>("KELLIB3_TIME_SCALE", std::to_string(timeScale)));
  for (const char* name : {"KELLIB3_SENSOR", "KELLIB3_SIZE", "KELLIB3_SHUTTER", "KELLIB3_CONTROLLERS",
                           "KELLIB3_ORIENTATION", "KELLIB3_CAMERA", "KELLIB3_FAIL", "KELLIB3_TRIGGER_MS"}) {
    bool given = false;
    for (const auto& [k, v] : extra) given = given || k == name;
    if (!given) vars.push_back(std::make_unique<ScopedEnv>(name, ""));
  }
  for (auto& [k, v] : extra) vars.push_back(std::make_unique<ScopedEnv>(k, v));
}

std::string errorText(KL3_HANDLE error) {
  char buf[1024];
  if (KelLib3ErrorSPrintf(buf, sizeof buf, "%c|%m|%r", error, KelLib3ListGetStdListML(1, 1, 1)) != 0)
    return "<no error text>";
  return buf;
}

Library::Library() {
  EXPECT_EQ(KelLib3ErrorDataCreate(&error_), 0);
  EXPECT_EQ(KelLib3Init(error_), 0) << errorText(error_);
}

Library::~Library() {
  EXPECT_EQ(KelLib3Exit(error_), 0) << errorText(error_);
  KelLib3ErrorDataFree(error_);
}

Session::Session(std::int32_t controller) : controller_(controller) {
  EXPECT_EQ(KelLib3ErrorDataCreate(&error_), 0);
  EXPECT_EQ(KelLib3Init(error_), 0) << lastError();
  EXPECT_EQ(KelLib3SystemCreate(3, &system_, error_), 0) << lastError();
  KL3_HANDLE option = 0;
  EXPECT_EQ(KelLib3SystemGetOptionCInterface(system_, 0x700001, 0, &option, error_), 0) << lastError();
  EXPECT_EQ(KelLib3OptionSetScalar(option, controller, 0, error_), 0) << lastError();
  EXPECT_EQ(KelLib3SystemInit(system_, error_), 0) << lastError();
}

Session::~Session() {
  EXPECT_EQ(KelLib3SystemDestroy(system_, error_), 0) << lastError();
  EXPECT_EQ(KelLib3Exit(error_), 0) << lastError();
  KelLib3ErrorDataFree(error_);
}

KL3_HANDLE Session::iface(std::uint32_t id, std::uint32_t index) {
  KL3_HANDLE h = 0;
  EXPECT_EQ(KelLib3SystemGetCInterface(system_, id, index, &h, error_), 0) << std::hex << id << " " << lastError();
  return h;
}

KL3_HANDLE Session::input() {
  KL3_HANDLE h = 0;
  EXPECT_EQ(KelLib3SystemGetInDInterface(system_, 0xC0000000, 0, &h, error_), 0) << lastError();
  return h;
}

std::int32_t Session::scalar(std::uint32_t id, std::uint32_t unit, std::uint32_t index) {
  std::int32_t v = -12345;
  EXPECT_EQ(KelLib3OptionGetScalar(iface(id, index), &v, unit, error_), 0) << lastError();
  return v;
}

KL3_RESULT Session::setScalar(std::uint32_t id, std::int32_t value, std::uint32_t unit, std::uint32_t index) {
  return KelLib3OptionSetScalar(iface(id, index), value, unit, error_);
}

std::pair<std::int32_t, std::int32_t> Session::range(std::uint32_t id, std::uint32_t unit, std::uint32_t index) {
  std::int32_t lo = -12345, hi = -12345;
  EXPECT_EQ(KelLib3OptionGetScalarRange(iface(id, index), &lo, &hi, unit, error_), 0) << lastError();
  return {lo, hi};
}

KL3_RESULT Session::setEnum(std::uint32_t id, std::int32_t value) {
  return KelLib3OptionSetEnumVal(iface(id), value, error_);
}

KL3_RESULT Session::setRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  return KelLib3OptionSetRect(iface(0x400006), x, y, w, h, error_);
}

KL3_RESULT Session::command(std::uint32_t id, std::uint32_t index, std::uint32_t cmd) {
  return KelLib3CallCInterface_0(iface(id, index), cmd, error_);
}

KelLib3StatusBlock Session::status() {
  KelLib3StatusBlock b{};
  EXPECT_EQ(KelLib3CallCInterface_1(iface(0xC0300003), KELLIB3_CMD_READ_STATUS, sizeof b, &b, error_), 0)
      << lastError();
  return b;
}

std::uint32_t Session::state() { return status().state; }

void Session::startInput() {
  EXPECT_EQ(command(0xC0300003, 0, KELLIB3_CMD_OPEN_CYCLE), 0) << lastError();
  EXPECT_EQ(command(0xC0300002, 1, KELLIB3_CMD_ARM_CAMERA), 0) << lastError();
  EXPECT_EQ(command(0xC0300002, 0, KELLIB3_CMD_START_INPUT), 0) << lastError();
}

void Session::stopInput() { EXPECT_EQ(command(0xC0300002, 0, KELLIB3_CMD_STOP_INPUT), 0) << lastError(); }

bool Session::waitForState(std::uint32_t wanted, int maxWaits) {
  const auto in = input();
  for (int i = 0; i < maxWaits; ++i) {
    if (state() == wanted) return true;
    EXPECT_EQ(KelLib3InDInterfaceWait(in, 100, error_), 0) << lastError();
  }
  return false;
}

std::optional<Transfer> Session::transfer(bool closeCycle) {
  const auto in = input();
  KL3_HANDLE header = 0;
  EXPECT_EQ(KelLib3DataheaderCreate(&header, error_), 0);
  EXPECT_EQ(KelLib3DataheaderInit(header, error_), 0);
  EXPECT_EQ(KelLib3InDInterfaceGetType(in, header, error_), 0) << lastError();
  std::uint32_t a = 0, b = 0, lo = 0, hi = 0, w = 0, h = 0;
  EXPECT_EQ(KelLib3DataheaderGetType(header, &a, &b, &lo, &hi, error_), 0);
  EXPECT_EQ(KelLib3DataheaderGetU32(header, KELLIB3_KEY_WIDTH, &w, error_), 0);
  EXPECT_EQ(KelLib3DataheaderGetU32(header, KELLIB3_KEY_HEIGHT, &h, error_), 0);
  KelLib3DataheaderFree(header, error_);

  KL3_HANDLE ctx[4] = {};
  void* buffers[4] = {};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(KelLib3DmaCreateContext(&ctx[i], &buffers[i], lo, hi, error_), 0) << lastError();
  const auto control = iface(0xC0300003);
  EXPECT_EQ(KelLib3CallCInterface_0(control, KELLIB3_CMD_OPEN_CYCLE, error_), 0) << lastError();

  std::optional<Transfer> result;
  Transfer t;
  t.width = w;
  t.height = h;
  bool ok = true;
  for (std::uint32_t p = 0; p < 5 && ok;) {
    if (p <= 3) {
      KelLib3PartBlock part{};
      EXPECT_EQ(KelLib3CallCInterface_1(control, KELLIB3_CMD_NEXT_PART, sizeof part, &part, error_), 0) << lastError();
      p = part.nextPart;
    }
    if (p >= 1 && p <= 4) {
      std::uint32_t bytes = 0, frames = 0;
      for (int q = 0; q < 3 && bytes == 0 && frames == 0; ++q) {
        EXPECT_EQ(KelLib3InDInterfaceQueryReady(in, &bytes, &frames, error_), 0) << lastError();
        if (bytes == 0 && frames == 0 && q == 0) {
          EXPECT_EQ(KelLib3InDInterfaceWait(in, 2000, error_), 0);
        }
      }
      if (bytes == 0 && frames == 0) {
        ok = false;
        break;
      }
      EXPECT_EQ(KelLib3InDInterfaceBeginBlock(in, error_), 0) << lastError();
      EXPECT_EQ(KelLib3InDInterfaceGetAddOnAtributeType(in, 0x400004, 0, &t.orientation, error_), 0) << lastError();
      EXPECT_EQ(KelLib3InDInterfaceGetAddOnAtributeType(in, 0x400020, 0, &t.frameAttribute, error_), 0);
      EXPECT_EQ(KelLib3InDInterfaceStartDma(in, ctx[p - 1], error_), 0) << lastError();
      std::uint32_t done = 0;
      EXPECT_EQ(KelLib3InDInterfaceQueryDmaEnd(in, &done, error_), 0) << lastError();
      EXPECT_EQ(done, 1u);
      EXPECT_EQ(KelLib3InDInterfaceEndBlock(in, error_), 0) << lastError();
    }
    p = p + 1;
  }
  if (ok) {
    if (closeCycle) {
      EXPECT_EQ(KelLib3CallCInterface_0(control, KELLIB3_CMD_CLOSE_CYCLE, error_), 0) << lastError();
    }
    std::vector<const std::uint8_t*> parts;
    for (auto* b : buffers) parts.push_back(static_cast<const std::uint8_t*>(b));
    t.picture = unpackParts(parts, w, h);
    t.stripNumber = kellib3::readFrameStrip(t.picture, w, h, 1, w);
    result = std::move(t);
  }
  for (auto c : ctx) EXPECT_EQ(KelLib3DmaFreeContext(c, error_), 0);
  return result;
}

std::vector<std::uint8_t> unpackParts(const std::vector<const std::uint8_t*>& parts, unsigned width, unsigned height) {
  const std::size_t words = std::size_t(width) * height / 10;
  static constexpr int kOffsets[8][3] = {{0, 1, 2},   {3, 4, 5},    {6, 7, 15},   {8, 9, 10},
                                         {11, 12, 13}, {14, 22, 23}, {16, 17, 18}, {19, 20, 21}};
  auto word = [&](int part, std::size_t k) {
    const std::size_t group = k / 8, w = k % 8, block = group / 8, g = group % 8;
    const std::uint8_t* base = parts[part] + block * 200 + g * 24;
    const std::uint8_t flags = parts[part][block * 200 + 192 + g];
    std::uint32_t v = (std::uint32_t(base[kOffsets[w][0]]) << 16) | (std::uint32_t(base[kOffsets[w][1]]) << 8) |
                      base[kOffsets[w][2]];
    if ((flags >> (7 - w)) & 1) v |= 1u << 24;
    return v;
  };
  auto bit = [](std::uint32_t v, int b) { return (v >> b) & 1u; };
  std::vector<std::uint8_t> out(std::size_t(width) * height);
  for (std::size_t k = 0; k < words; ++k) {
    const auto p1 = word(0, k), p2 = word(1, k), p3 = word(2, k), p4 = word(3, k);
    std::uint8_t* px = out.data() + 10 * k;
    px[0] = (p1 >> 2) & 0xFF;
    px[1] = (p2 >> 2) & 0xFF;
    px[2] = (p1 >> 12) & 0xFF;
    px[3] = (p2 >> 12) & 0xFF;
    px[4] = std::uint8_t(bit(p1, 24) << 7 | bit(p1, 23) << 6 | bit(p3, 24) << 5 | bit(p3, 23) << 4 | bit(p1, 22) << 3 |
                         bit(p1, 21) << 2 | bit(p1, 20) << 1 | bit(p3, 22));
    px[5] = std::uint8_t(bit(p2, 24) << 7 | bit(p4, 24) << 6 | bit(p2, 23) << 5 | bit(p4, 23) << 4 | bit(p2, 22) << 3 |
                         bit(p4, 22) << 2 | bit(p4, 21) << 1 | bit(p2, 21));
    px[6] = (p3 >> 2) & 0xFF;
    px[7] = (p4 >> 2) & 0xFF;
    px[8] = (p3 >> 12) & 0xFF;
    px[9] = (p4 >> 12) & 0xFF;
  }
  return out;
}

}  // namespace kel::test
