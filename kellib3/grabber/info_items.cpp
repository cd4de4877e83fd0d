#include "kellib3/grabber/info_items.h"

#include "filter/hardware/kellib3.h"
#include "kellib3/grabber/controller.h"

namespace kellib3 {

bool infoExists(std::uint32_t id, std::uint32_t index) { return index == 0 && id >= 0x900001 && id <= 0x90000c; }

std::int32_t serialNumber(const Controller& c) { return 31000 + static_cast<std::int32_t>(c.index()) * 17 + 5; }

InfoValue infoValue(std::uint32_t id, const Controller& c, std::int64_t nowNs) {
  const auto& s = c.settings();
  const auto& cfg = c.config();
  switch (id) {
    // The sensor warms up a little while input runs.
    case 0x900001: return {c.inputRunning(nowNs) ? 41 : 36, KELLIB3_INFO_TYPE_NUMBER};
    case 0x900002: return {serialNumber(c), KELLIB3_INFO_TYPE_NUMBER};
    case 0x900003: return {slotsPerPartition(s), KELLIB3_INFO_TYPE_NUMBER};
    case 0x900004: return {cfg.bayer ? 51 : 50, KELLIB3_INFO_TYPE_TEXT};
    case 0x900005: return {static_cast<std::int32_t>(cfg.sensorWidth), KELLIB3_INFO_TYPE_NUMBER};
    case 0x900006: return {static_cast<std::int32_t>(cfg.sensorHeight), KELLIB3_INFO_TYPE_NUMBER};
    case 0x900007: return {10, KELLIB3_INFO_TYPE_NUMBER};
    case 0x900008: return {static_cast<std::int32_t>(kMemoryBytes >> 20), KELLIB3_INFO_TYPE_NUMBER};
    case 0x900009: return {301, KELLIB3_INFO_TYPE_NUMBER};
    case 0x90000a: return {70, KELLIB3_INFO_TYPE_TEXT};
    case 0x90000b: return {60, KELLIB3_INFO_TYPE_TEXT};
    default: return {static_cast<std::int32_t>(c.index()), KELLIB3_INFO_TYPE_NUMBER};
  }
}

bool infoOffers(std::uint32_t id, std::int32_t value) {
  switch (id) {
    case 0x900004: return value == 50 || value == 51;
    case 0x90000a: return value == 70;
    case 0x90000b: return value == 60 || value == 61;
    default: return false;
  }
}

}  // namespace kellib3
