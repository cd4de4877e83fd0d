// Reads and writes options straight through the library's C functions, so
// the tests see what the hardware holds, not what the filter cached.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "filter/hardware/kellib3.h"

namespace kel::test {

class LibraryProbe {
 public:
  LibraryProbe(KL3_HANDLE system, KL3_HANDLE error) : system_(system), error_(error) {}

  KL3_HANDLE option(std::uint32_t id, std::uint32_t index = 0) const {
    KL3_HANDLE h = 0;
    EXPECT_EQ(KelLib3SystemGetCInterface(system_, id, index, &h, error_), 0) << std::hex << id;
    return h;
  }
  std::int32_t scalar(std::uint32_t id, std::uint32_t unit, std::uint32_t index = 0) const {
    std::int32_t v = 0;
    EXPECT_EQ(KelLib3OptionGetScalar(option(id, index), &v, unit, error_), 0);
    return v;
  }
  void setScalar(std::uint32_t id, std::int32_t value, std::uint32_t unit) const {
    EXPECT_EQ(KelLib3OptionSetScalar(option(id), value, unit, error_), 0);
  }
  std::pair<std::int32_t, std::int32_t> range(std::uint32_t id, std::uint32_t unit, std::uint32_t index = 0) const {
    std::int32_t lo = 0, hi = 0;
    EXPECT_EQ(KelLib3OptionGetScalarRange(option(id, index), &lo, &hi, unit, error_), 0);
    return {lo, hi};
  }
  std::int32_t enumerated(std::uint32_t id) const {
    std::int32_t v = 0;
    EXPECT_EQ(KelLib3OptionGetEnumVal(option(id), &v, error_), 0);
    return v;
  }
  void setEnum(std::uint32_t id, std::int32_t value) const {
    EXPECT_EQ(KelLib3OptionSetEnumVal(option(id), value, error_), 0);
  }
  KelLib3StatusBlock status() const {
    KelLib3StatusBlock s{};
    EXPECT_EQ(KelLib3CallCInterface_1(option(0xC0300002), 0xA0000066, sizeof s, &s, error_), 0);
    return s;
  }

 private:
  KL3_HANDLE system_;
  KL3_HANDLE error_;
};

}  // namespace kel::test
