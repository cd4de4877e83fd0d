// Test helper: takes the first free of the slot names given as arguments,
// the way the capture filter walks its controller slots, prints "slot N" or
// "none", then holds on until its standard input closes.
#include <cstdio>
#include <exception>
#include <optional>
#include <vector>

#include "platform/kernel/named_reservation.h"

int main(int argc, char** argv) {
  try {
    std::optional<plat::NamedReservation> held;
    int slot = -1;
    for (int i = 1; i < argc; ++i) {
      auto created = plat::NamedReservation::create(argv[i]);
      held = std::move(created.reservation);
      if (!created.alreadyExisted) {
        slot = i - 1;
        break;
      }
    }
    if (slot < 0) held.reset();
    if (slot >= 0) {
      std::printf("slot %d\n", slot);
    } else {
      std::printf("none\n");
    }
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
  } catch (const std::exception& e) {
    std::printf("error %s\n", e.what());
    return 1;
  }
}
