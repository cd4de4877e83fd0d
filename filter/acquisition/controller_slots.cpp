#include "filter/acquisition/controller_slots.h"

#include <cstdio>
#include <exception>

#include "platform/win/message_box.h"

namespace Orvo {

std::optional<ControllerSlot> ReserveControllerSlot() {
  try {
    for (int slot = 0; slot < static_cast<int>(kControllerSlotNames.size()); ++slot) {
      // A slot found held is let go of at once: only its holder keeps it.
      auto created = plat::NamedReservation::create(kControllerSlotNames[slot]);
      if (!created.alreadyExisted) return ControllerSlot{slot, std::move(created.reservation)};
    }
  } catch (const std::exception& e) {
    // A slot that cannot be taken at all counts as no free slot; the box
    // text is fixed, so the reason goes to the log.
    std::fprintf(stderr, "controller slots: %s\n", e.what());
  }
  plat::MessageBox("Нет свободных контроллеров", "Ошибка создания устройства",
                   MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
  return std::nullopt;
}

bool OpenFromSlot(Kel::SystemHolder<System>& holder, int slot) {
  constexpr std::uint32_t kSystemType = 3;
  for (int controller = slot; controller < 3; ++controller)
    if (holder.Open(kSystemType, controller)) return true;
  return false;
}

}  // namespace Orvo
