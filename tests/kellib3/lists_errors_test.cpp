// Lists and texts, error reports with every placeholder, fault injection,
// a missing camera and a bad environment.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/kellib3/session.h"

namespace kel::test {
namespace {

// "Экспозиция" as a Russian Windows system writes it (code page 1251).
const std::string kExposureCp1251 = "\xDD\xEA\xF1\xEF\xEE\xE7\xE8\xF6\xE8\xFF";

std::map<std::int32_t, std::string> readList(KL3_HANDLE list) {
  std::map<std::int32_t, std::string> out;
  const char* text = nullptr;
  std::int32_t id = 0;
  for (std::uint32_t pos = 0; KelLib3ListGetAll(&text, &id, pos, list); ++pos) out.emplace(id, text);
  return out;
}

class ListsAndErrors : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(ListsAndErrors, StandardListsHoldTheIdsTheSystemUsesInBothEncodings) {
  const auto units = readList(KelLib3ListGetStdList(3));
  for (std::int32_t u : {0, 1, 2, 6, 12, 31}) EXPECT_TRUE(units.count(u)) << "unit " << u;
  EXPECT_EQ(readList(KelLib3ListGetStdList(12)).size(), 12u);
  const auto values = readList(KelLib3ListGetStdList(4));
  for (std::int32_t v : {1, 2, 4, 5, 33, 37, 41}) EXPECT_TRUE(values.count(v)) << "value " << v;

  const auto ansi = readList(KelLib3ListGetStdList(2));
  EXPECT_EQ(ansi.at(0x400002), kExposureCp1251);
  const auto utf8 = readList(KelLib3ListGetStdListML(2, 1, 1));
  EXPECT_EQ(utf8.at(0x400002), "Экспозиция");
  EXPECT_EQ(ansi.size(), utf8.size());

  const char* text = nullptr;
  ASSERT_NE(KelLib3ListGetString(&text, 0x400055, KelLib3ListGetStdListML(2, 1, 1)), 0);
  EXPECT_STREQ(text, "Прореживание");
  EXPECT_EQ(KelLib3ListGetString(&text, 0x123456, KelLib3ListGetStdList(2)), 0);
  EXPECT_EQ(KelLib3ListGetStdList(7), 0u);
  EXPECT_EQ(KelLib3ListGetStdListML(2, 1, 9), 0u);
}

TEST_F(ListsAndErrors, InformationItemsAnswerAndTextItemsNameListValues) {
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SENSOR", "bayer"}});
  Session s;
  const auto values = readList(KelLib3ListGetStdListML(4, 1, 1));
  int textItems = 0;
  for (const auto& [id, name] : readList(KelLib3ListGetStdListML(12, 1, 2))) {
    const auto h = s.iface(static_cast<std::uint32_t>(id));
    std::int32_t v = 0;
    std::uint32_t type = 99;
    ASSERT_EQ(KelLib3GetInfoScalarVal(h, &v, &type, s.error()), 0) << s.lastError();
    if (type == KELLIB3_INFO_TYPE_TEXT) {
      ++textItems;
      EXPECT_TRUE(values.count(v)) << std::hex << id;
      EXPECT_EQ(KelLib3OptionQueryEnumVal(h, v, s.error()), 0) << std::hex << id;
    }
  }
  EXPECT_GE(textItems, 2);
  std::int32_t sensor = 0;
  std::uint32_t type = 0;
  ASSERT_EQ(KelLib3GetInfoScalarVal(s.iface(0x900004), &sensor, &type, s.error()), 0);
  EXPECT_EQ(values.at(sensor), "Цветная");

  KelLib3TextBlock block{};
  block.capacity = 256;
  block.text = block.area;
  ASSERT_EQ(KelLib3CallCInterface_1(s.iface(0xC0000002, 1), KELLIB3_CMD_READ_TEXT, KELLIB3_TEXT_BLOCK_BYTES, &block,
                                    s.error()), 0) << s.lastError();
  EXPECT_NE(std::string(block.area).find("1280x1024"), std::string::npos) << block.area;
}

TEST_F(ListsAndErrors, ErrorTextFillsEveryPlaceholder) {
  SessionEnv env(dir.path());
  Session s;
  std::int32_t v = 0;
  ASSERT_EQ(KelLib3OptionGetScalar(0x49ABCDEF, &v, 0, s.error()), 1);
  char buf[1024];
  ASSERT_EQ(KelLib3ErrorSPrintf(buf, sizeof buf,
                                "KELLIB3 %t: %c - %m  File: %f:%l Date: %d Object Id:   %i  Object File: %I "
                                "Remark:\"%r\" %%",
                                s.error(), KelLib3ListGetStdList(1)), 0);
  const std::string text = buf;
  EXPECT_EQ(text.rfind("KELLIB3 ERROR: 1 - \xCD\xE5\xE2\xE5\xF0\xED\xFB\xE9", 0), 0u) << text;  // "Неверный"
  EXPECT_NE(text.find(".cpp:"), std::string::npos) << text;
  EXPECT_NE(text.find("Object Id:   0x49ABCDEF"), std::string::npos) << text;
  EXPECT_NE(text.find("Object File: libkellib3.so"), std::string::npos) << text;
  EXPECT_NE(text.find("Remark:\"KelLib3OptionGetScalar:"), std::string::npos) << text;
  EXPECT_NE(text.find("Date: 20"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 2), " %");

  char small[8];
  ASSERT_EQ(KelLib3ErrorSPrintf(small, sizeof small, "%r", s.error(), KelLib3ListGetStdList(1)), 0);
  EXPECT_EQ(std::string(small), "KelLib3") << "truncated, still terminated";
  EXPECT_NE(KelLib3ErrorSPrintf(buf, sizeof buf, "%m", 12345, KelLib3ListGetStdList(1)), 0);
  EXPECT_NE(KelLib3ErrorSPrintf(buf, sizeof buf, "%m", s.error(), KelLib3ListGetStdList(2)), 0);
}

TEST_F(ListsAndErrors, InjectedFaultHitsOnlyTheNamedCallAndIsReported) {
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_FAIL", "OptionSetScalar:3,KelLib3OptionGetScalar:1"}});
  Session s;  // its own OptionSetScalar (controller index) is call 1
  const auto gain = s.iface(0x40000a);
  std::int32_t v = 0;
  EXPECT_EQ(KelLib3OptionGetScalar(gain, &v, 0, s.error()), 13);
  EXPECT_EQ(errorText(s.error()), "13|Аппаратный сбой|KelLib3OptionGetScalar: the device did not answer (injected fault)");
  EXPECT_EQ(KelLib3OptionGetScalar(gain, &v, 0, s.error()), 0);
  EXPECT_EQ(KelLib3OptionSetScalar(gain, 2, 0, s.error()), 0);
  EXPECT_EQ(KelLib3OptionSetScalar(gain, 3, 0, s.error()), 13);
  EXPECT_EQ(KelLib3OptionSetScalar(gain, 4, 0, s.error()), 0);
  EXPECT_EQ(s.scalar(0x40000a, 0), 4);
}

TEST_F(ListsAndErrors, MissingCameraFailsSystemInitWithAClearText) {
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_CAMERA", "absent"}});
  Library lib;
  KL3_HANDLE system = 0;
  ASSERT_EQ(KelLib3SystemCreate(3, &system, lib.error()), 0);
  EXPECT_EQ(KelLib3SystemInit(system, lib.error()), 10);
  EXPECT_EQ(errorText(lib.error()),
            "10|Камера не обнаружена|KelLib3SystemInit: no camera answers on controller 0 (check cable and power)");
  KL3_HANDLE iface = 0;
  EXPECT_EQ(KelLib3SystemGetCInterface(system, 0x400002, 0, &iface, lib.error()), 7);
  EXPECT_EQ(KelLib3SystemDestroy(system, lib.error()), 0);
}

TEST_F(ListsAndErrors, BadEnvironmentAndMissingInitAreRefused) {
  KL3_HANDLE error = 0;
  ASSERT_EQ(KelLib3ErrorDataCreate(&error), 0);
  KL3_HANDLE system = 0;
  EXPECT_EQ(KelLib3SystemCreate(3, &system, error), 12);
  for (auto [name, value] : {std::pair{"KELLIB3_SIZE", "333x240"}, {"KELLIB3_SENSOR", "rgb"},
                             {"KELLIB3_FAIL", "OptionSetScalar"}, {"KELLIB3_TIME_SCALE", "-1"}}) {
    SessionEnv env(dir.path(), 1e6, {{name, value}});
    EXPECT_EQ(KelLib3Init(error), 18) << name;
    EXPECT_NE(errorText(error).find(name), std::string::npos) << errorText(error);
  }
  EXPECT_EQ(KelLib3Exit(error), 12) << "the failed inits left nothing to end";
  KelLib3ErrorDataFree(error);
}

}  // namespace
}  // namespace kel::test
