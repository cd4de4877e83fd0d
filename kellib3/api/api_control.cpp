// Entry points: commands of the control interfaces and information values.
#include <cstring>
#include <string>

#include "kellib3/api/guard.h"
#include "kellib3/core/text_codec.h"
#include "kellib3/grabber/info_items.h"

using namespace kellib3;

namespace {

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

bool isInputControlA(const Interface& i) { return i.id == 0xC0300002 && i.index == 0; }
bool isCameraControl(const Interface& i) { return i.id == 0xC0300002 && i.index == 1; }
bool isInputControlB(const Interface& i) { return i.id == 0xC0300003; }
bool isDescription(const Interface& i) { return i.id == 0xC0000002; }

[[noreturn]] void unknownCommand(const Interface& i, std::uint32_t command) {
  KL3_RAISE(ErrorCode::UnknownCommand, 0,
            "command " + hex(command) + " is not known to interface " + hex(i.id) + " index " + std::to_string(i.index));
}

void requireBlock(std::uint32_t size, const void* block, std::size_t needed) {
  if (block == nullptr) KL3_RAISE(ErrorCode::NullPointer, 0, "the command block is a null pointer");
  if (size < needed)
    KL3_RAISE(ErrorCode::BlockSize, 0,
              "block of " + std::to_string(size) + " bytes, the command needs " + std::to_string(needed));
}

void fillStatus(Library& lib, System& s, KelLib3StatusBlock& b) {
  const auto now = lib.nowNs();
  const auto& c = *s.controller;
  std::memset(&b, 0, sizeof b);
  const auto st = c.filmStatus(now);
  b.state = c.state(now);
  b.framesRecorded = static_cast<std::int32_t>(std::min<std::int64_t>(st.taken, INT32_MAX));
  const auto [first, last] = c.liveMode() ? std::pair<std::int32_t, std::int32_t>{-1, -1} : c.frameRange(now);
  b.firstFrame = first;
  b.lastFrame = last;
  const auto& film = c.persisted().film;
  b.capacity = static_cast<std::int32_t>(film && !c.liveMode() ? film->capacity : filmCapacity(c.settings()));
  b.partitions = c.settings().partitions;
  b.inputRunning = c.inputRunning(now) ? 1 : 0;
  b.nextPart = s.cycle.isOpen() ? static_cast<std::int32_t>(s.cycle.nextPart()) : 0;
}

std::string descriptionText(const Controller& c, std::uint32_t index) {
  const auto& cfg = c.config();
  if (index == 0)
    return "Контроллер ввода №" + std::to_string(c.index()) + ", память " + std::to_string(kMemoryBytes >> 20) + " МБ";
  return "Камера " + std::to_string(cfg.sensorWidth) + "x" + std::to_string(cfg.sensorHeight) +
         (cfg.bayer ? " цветная" : " монохромная") + ", серийный № " + std::to_string(serialNumber(c));
}

void run(const Interface& i, std::uint32_t command, std::uint32_t size, void* block) {
  auto& lib = library();
  auto& s = lib.systemOf(i);
  auto& c = lib.controllerOf(i);
  const auto now = lib.nowNs();

  if (isDescription(i)) {
    if (command != KELLIB3_CMD_READ_TEXT) unknownCommand(i, command);
    requireBlock(size, block, offsetof(KelLib3TextBlock, area));
    auto* t = static_cast<KelLib3TextBlock*>(block);
    if (t->text == nullptr || t->capacity == 0)
      KL3_RAISE(ErrorCode::InvalidArgument, 0, "the text block names no text area (capacity 0 or null address)");
    const auto text = utf8ToCp1251(descriptionText(c, i.index));
    const std::size_t n = std::min<std::size_t>(text.size(), t->capacity - 1);
    std::memcpy(t->text, text.data(), n);
    t->text[n] = '\0';
    return;
  }
  if (command == KELLIB3_CMD_READ_STATUS) {
    requireBlock(size, block, sizeof(KelLib3StatusBlock));
    fillStatus(lib, s, *static_cast<KelLib3StatusBlock*>(block));
    return;
  }
  if (isInputControlA(i) && command == KELLIB3_CMD_START_INPUT) {
    c.startInput(now);
    lib.wake();
    lib.persist(c);
  } else if (isInputControlA(i) && command == KELLIB3_CMD_STOP_INPUT) {
    c.stopInput(now);
    lib.wake();
    lib.persist(c);
  } else if (isCameraControl(i) && command == KELLIB3_CMD_ARM_CAMERA) {
    // The camera takes its start and stop events from the options; nothing to hold here.
  } else if (isInputControlB(i) && command == KELLIB3_CMD_OPEN_CYCLE) {
    s.cycle.open();
  } else if (isInputControlB(i) && command == KELLIB3_CMD_CLOSE_CYCLE) {
    s.cycle.close();
  } else if (isInputControlB(i) && command == KELLIB3_CMD_NEXT_PART) {
    requireBlock(size, block, sizeof(KelLib3PartBlock));
    if (!s.cycle.isOpen()) KL3_RAISE(ErrorCode::OutOfOrder, 0, "no frame cycle is open (command 0xB0000005 first)");
    auto* p = static_cast<KelLib3PartBlock*>(block);
    s.cycle.ready(c, now);
    p->nextPart = s.cycle.nextPart();
    p->partCount = kPartCount;
    p->partBytes = static_cast<std::uint32_t>(s.cycle.partBytes());
    p->frameNumber = s.cycle.frame() ? static_cast<std::uint32_t>(s.cycle.frame()->number) : 0;
  } else {
    unknownCommand(i, command);
  }
}

}  // namespace

extern "C" {

KL3_RESULT KelLib3CallCInterface_0(KL3_HANDLE iface, uint32_t command, KL3_HANDLE error) {
  return guarded("KelLib3CallCInterface_0", error, [&](auto&) {
    const auto& i = library().interface(iface, IfaceKind::Control, "a control interface");
    if (command == KELLIB3_CMD_READ_STATUS || command == KELLIB3_CMD_NEXT_PART || command == KELLIB3_CMD_READ_TEXT)
      KL3_RAISE(ErrorCode::BlockSize, iface, "command " + hex(command) + " needs a block (KelLib3CallCInterface_1)");
    run(i, command, 0, nullptr);
  });
}

KL3_RESULT KelLib3CallCInterface_1(KL3_HANDLE iface, uint32_t command, uint32_t blockSize, void* block,
                                   KL3_HANDLE error) {
  return guarded("KelLib3CallCInterface_1", error, [&](auto&) {
    const auto& i = library().interface(iface, IfaceKind::Control, "a control interface");
    run(i, command, blockSize, block);
  });
}

KL3_RESULT KelLib3GetInfoScalarVal(KL3_HANDLE info, int32_t* value, uint32_t* type, KL3_HANDLE error) {
  return guarded("KelLib3GetInfoScalarVal", error, [&](auto&) {
    auto& v = required(value, "value");
    auto& t = required(type, "type");
    auto& lib = library();
    const auto& i = lib.interface(info, IfaceKind::Info, "an information interface");
    const auto r = infoValue(i.id, lib.controllerOf(i), lib.nowNs());
    v = r.value;
    t = r.type;
  });
}

}  // extern "C"
