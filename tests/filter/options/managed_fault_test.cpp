// Every managed-value operation against a library call made to fail: the
// operator's box carries the operation's message text, the library's report
// and the ValueManaged line of the failing call; the operation answers false
// and leaves the global frame lock free.
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <ostream>
#include <string>

#include "filter/acquisition/global_frame_lock.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/options/property_helpers.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using Options::Kind;

constexpr std::uint32_t kBlack = 0x40000d, kTestMode = 0x400011, kWindow = 0x400006;

struct Case {
  const char* name;
  const char* function;
  int callAfterBuild;  // 1: the first call after the catalogue is built
  std::function<bool(Orvo::System&)> operation;
  const char* message;
  int line;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

Options::OptionRecord& rec(Orvo::System& s, std::uint32_t id) { return *s.FindOption(id, 0); }

// Calls of `function` made while a system is opened and its catalogue
// built: every interface is probed as enumerated first, the others as
// scalar, the rest as rectangle; each scalar is read once; the controller
// index is written once.
std::uint64_t callsWhileOpening(const std::string& function) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  std::uint64_t all = 0, enums = 0, scalars = 0, rects = 0;
  for (const auto& r : system->Catalogue().Records()) {
    ++all;
    enums += r.kind == Kind::Enum;
    scalars += r.kind == Kind::Scalar;
    rects += r.kind == Kind::Rect;
  }
  if (function == "KelLib3OptionGetEnumVal") return all;
  if (function == "KelLib3OptionNextScalarUnit") return all - enums;
  if (function == "KelLib3OptionGetRect") return rects;
  if (function == "KelLib3OptionGetScalar") return scalars;
  if (function == "KelLib3OptionSetScalar") return 1;
  return 0;
}

class ManagedFault : public ::testing::TestWithParam<Case> {};

TEST_P(ManagedFault, ShowsMessageLibraryTextAndLine) {
  const Case& c = GetParam();
  const std::uint64_t n = callsWhileOpening(c.function) + static_cast<std::uint64_t>(c.callAfterBuild);
  CameraEnv camera({{"KELLIB3_FAIL", std::string(c.function) + ":" + std::to_string(n)}});
  auto system = kel::test::openSystem();
  BoxRecorder boxes;

  EXPECT_FALSE(c.operation(*system));

  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.caption, "LIB3 ERROR");
  EXPECT_EQ(box.flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_EQ(box.text.rfind(std::string(c.message) + "Error: \"KELLIB3 ERROR: ", 0), 0u) << box.text;
  EXPECT_NE(box.text.find(std::string(c.function) + ": the device did not answer"), std::string::npos) << box.text;
  const std::string tail = "\"\r\r\nin File: ValueManaged Line: " + std::to_string(c.line);
  ASSERT_GE(box.text.size(), tail.size());
  EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);

  // Another thread can take the lock: the failing path let go of it.
  auto other = std::async(std::launch::async, [] {
    const bool got = Orvo::GlobalFrameLock().try_lock();
    if (got) Orvo::GlobalFrameLock().unlock();
    return got;
  });
  EXPECT_TRUE(other.get());
}

const char* const kValue = "Value(Data& retValue)\n";
const char* const kSetValue = "SetValue(const Data& value)\n";
const char* const kGetValue = "GetValue(Data& retValue, UINT unit)\n";
const char* const kGetMin = "GetMinValue(Data& retValue, UINT unit)\n";
const char* const kGetMax = "GetMaxValue(Data& retValue, UINT unit)\n";
const char* const kRelative = "SetRelativeValue(INT delta, bool linear = false)\n";
const char* const kRead = "ReadFromInterface()\n";

bool scalarSet(Orvo::System& s) { return rec(s, kBlack).scalar.SetValue({5, 0}); }
bool enumSet(Orvo::System& s) { return rec(s, kTestMode).enumerated.SetValue({1}); }
bool rectSet(Orvo::System& s) { return rec(s, kWindow).rect.SetValue({0, 0, 640, 480}); }

INSTANTIATE_TEST_SUITE_P(
    EveryOperation, ManagedFault,
    ::testing::Values(
        Case{"EnumValue", "KelLib3OptionGetEnumVal", 1,
             [](Orvo::System& s) {
               Options::Enum::Value d;
               return rec(s, kTestMode).enumerated.Value(d);
             },
             kValue, 65},
        Case{"RectValue", "KelLib3OptionGetRect", 1,
             [](Orvo::System& s) {
               Options::Rect::Value d;
               return rec(s, kWindow).rect.Value(d);
             },
             kValue, 83},
        Case{"ScalarSetWrite", "KelLib3OptionSetScalar", 1, scalarSet, kSetValue, 19},
        Case{"ScalarSetReadBack", "KelLib3OptionGetScalar", 1, scalarSet, kSetValue, 11},
        Case{"EnumSetWrite", "KelLib3OptionSetEnumVal", 1, enumSet, kSetValue, 73},
        Case{"EnumSetReadBack", "KelLib3OptionGetEnumVal", 1, enumSet, kSetValue, 65},
        Case{"RectSetWrite", "KelLib3OptionSetRect", 1, rectSet, kSetValue, 92},
        Case{"RectSetReadBack", "KelLib3OptionGetRect", 1, rectSet, kSetValue, 83},
        Case{"ScalarGetValue", "KelLib3OptionGetScalar", 1,
             [](Orvo::System& s) {
               Options::Scalar::Value d{0, 0};
               return rec(s, kBlack).scalar.GetValue(d);
             },
             kGetValue, 36},
        Case{"ScalarMin", "KelLib3OptionGetScalarRange", 1,
             [](Orvo::System& s) {
               Options::Scalar::Value d;
               return rec(s, kBlack).scalar.GetMinValue(d);
             },
             kGetMin, 53},
        Case{"ScalarMax", "KelLib3OptionGetScalarRange", 1,
             [](Orvo::System& s) {
               Options::Scalar::Value d;
               return rec(s, kBlack).scalar.GetMaxValue(d);
             },
             kGetMax, 44},
        Case{"RectMin", "KelLib3OptionMinRect", 1,
             [](Orvo::System& s) {
               Options::Rect::Value d;
               return rec(s, kWindow).rect.GetMinValue(d);
             },
             kGetMin, 110},
        Case{"RectMax", "KelLib3OptionMaxRect", 1,
             [](Orvo::System& s) {
               Options::Rect::Value d;
               return rec(s, kWindow).rect.GetMaxValue(d);
             },
             kGetMax, 103},
        Case{"ScalarStep", "KelLib3OptionRelScalar", 1,
             [](Orvo::System& s) { return rec(s, kBlack).SetRelativeValue(1); }, kRelative, 28},
        Case{"ScalarStepReadBack", "KelLib3OptionGetScalar", 1,
             [](Orvo::System& s) { return rec(s, kBlack).SetRelativeValue(1); }, kRelative, 29},
        Case{"ScalarRead", "KelLib3OptionGetScalar", 1,
             [](Orvo::System& s) { return rec(s, kBlack).ReadFromInterface(); }, kRead, 11},
        Case{"EnumRead", "KelLib3OptionGetEnumVal", 1,
             [](Orvo::System& s) { return rec(s, kTestMode).ReadFromInterface(); }, kRead, 65},
        Case{"RectRead", "KelLib3OptionGetRect", 1,
             [](Orvo::System& s) { return rec(s, kWindow).ReadFromInterface(); }, kRead, 83}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ManagedFaultCache, RefusedWriteKeepsTheCallersDataAndPropertyAnswersEFail) {
  const std::uint64_t n = callsWhileOpening("KelLib3OptionSetScalar") + 1;
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3OptionSetScalar:" + std::to_string(n)}});
  auto system = kel::test::openSystem();
  BoxRecorder boxes;
  auto black = kel::test::scalarProperty(*system, kBlack);
  EXPECT_EQ(black->SetValue(77, 0), E_FAIL);
  EXPECT_EQ(rec(*system, kBlack).scalar.Cached(), (Options::Scalar::Value{77, 0}));
  EXPECT_EQ(boxes.count(), 1u);
}

}  // namespace
