// Information items (list 12): read-only values of the camera and grabber.
#pragma once

#include <cstdint>
#include <optional>

namespace kellib3 {

class Controller;

struct InfoValue {
  std::int32_t value;
  std::uint32_t type;  // 0 number, 32 an enumerated value of list 4
};

bool infoExists(std::uint32_t id, std::uint32_t index);
InfoValue infoValue(std::uint32_t id, const Controller& c, std::int64_t nowNs);
// Values a text item can take (what KelLib3OptionQueryEnumVal accepts).
bool infoOffers(std::uint32_t id, std::int32_t value);

// The camera's serial number, also given as text by command 0x50000065.
std::int32_t serialNumber(const Controller& c);

}  // namespace kellib3
