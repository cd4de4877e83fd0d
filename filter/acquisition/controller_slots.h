// The machine's four grabber-controller slots, shared by every process that
// runs a capture filter. A filter takes the first slot nobody holds and
// keeps it until it is destroyed.
#pragma once

#include <array>
#include <optional>

#include "filter/acquisition/System.h"
#include "filter/acquisition/system_holder.h"
#include "platform/kernel/named_reservation.h"

namespace Orvo {

inline constexpr std::array<const char*, 4> kControllerSlotNames = {
    "{A3EA5908-AB5B-4d66-99D5-205000676631}",
    "{4D947043-0744-4efe-A4C1-BF1EE87C6152}",
    "{8B45C0D2-74CE-401d-9C8C-34743EB8AF1C}",
    "{C7A46CC1-C837-4434-8CD1-413868221EDC}",
};

// The slot a filter holds; letting go of it frees the slot.
struct ControllerSlot {
  int number;
  plat::NamedReservation reservation;
};

// Takes slot 0, or, when it is held already, the next one, and so on. When
// all four are held (or a slot cannot be taken at all) shows the
// system-modal box "Нет свободных контроллеров" and answers nothing.
std::optional<ControllerSlot> ReserveControllerSlot();

// Opens `holder` with system type 3 on controller `slot`, then on the next
// ones while below 3, until one opens. Slot 3 therefore never opens a
// system. True when the holder opened.
bool OpenFromSlot(Kel::SystemHolder<System>& holder, int slot);

}  // namespace Orvo
