// Entry points: the input interface (readiness, waits, blocks, DMA, per-frame
// attributes) and DMA contexts.
#include <algorithm>
#include <array>
#include <string>

#include "kellib3/api/guard.h"
#include "kellib3/frame/packing.h"

using namespace kellib3;

namespace {

constexpr std::uint64_t kMaxDmaBytes = 1ull << 30;

struct Attribute {
  std::uint32_t id;
  std::uint32_t index;
};
constexpr std::array<Attribute, 3> kAttributes{{{0x400004, 0}, {0x400020, 0}, {0x400002, 0}}};

struct InputParts {
  Library& lib;
  System& system;
  Controller& controller;
};

InputParts input(KL3_HANDLE handle) {
  auto& lib = library();
  const auto& i = lib.interface(handle, IfaceKind::Input, "an input interface");
  return {lib, lib.systemOf(i), lib.controllerOf(i)};
}

}  // namespace

extern "C" {

KL3_RESULT KelLib3InDInterfaceGetType(KL3_HANDLE inputHandle, KL3_HANDLE dataheader, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceGetType", error, [&](auto&) {
    auto in = input(inputHandle);
    auto& h = in.lib.header(dataheader);
    const auto s = in.controller.deliveredSettings(in.lib.nowNs());
    const unsigned w = frameWidth(s), ht = frameHeight(s);
    const auto bytes = static_cast<std::uint64_t>(dmaPartBytes(w, ht));
    h.typeMajor = 3;
    h.typeMinor = 10;
    h.sizeLow = static_cast<std::uint32_t>(bytes);
    h.sizeHigh = static_cast<std::uint32_t>(bytes >> 32);
    h.values.fill(0);
    h.values[KELLIB3_KEY_WIDTH] = w;
    h.values[KELLIB3_KEY_HEIGHT] = ht;
    h.values[KELLIB3_KEY_PIXEL_FORMAT] = in.lib.config.bayer ? KELLIB3_PIXEL_BAYER10 : KELLIB3_PIXEL_MONO10;
    h.values[KELLIB3_KEY_LAYOUT] = 0x10000;
    h.values[KELLIB3_KEY_BITS_PER_PIXEL] = 10;
    h.values[KELLIB3_KEY_PART_COUNT] = kPartCount;
  });
}

KL3_RESULT KelLib3InDInterfaceQueryReady(KL3_HANDLE inputHandle, uint32_t* partBytes, uint32_t* framesReady,
                                         KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceQueryReady", error, [&](auto&) {
    auto& bytes = required(partBytes, "partBytes");
    auto& frames = required(framesReady, "framesReady");
    auto in = input(inputHandle);
    const bool ready = in.system.cycle.ready(in.controller, in.lib.nowNs());
    bytes = ready ? static_cast<std::uint32_t>(in.system.cycle.partBytes()) : 0;
    frames = ready ? 1 : 0;
  });
}

KL3_RESULT KelLib3InDInterfaceWait(KL3_HANDLE inputHandle, uint32_t timeoutMs, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceWait", error, [&](std::unique_lock<std::mutex>& lock) {
    auto in = input(inputHandle);
    const auto now = in.lib.nowNs();
    if (in.system.cycle.isOpen() && in.system.cycle.ready(in.controller, now)) return;
    const std::int64_t deadline = now + static_cast<std::int64_t>(timeoutMs) * 1'000'000;
    const std::int64_t due = in.controller.nextFrameDueNs(now);
    const std::int64_t target = due < 0 ? deadline : std::min(due, deadline);
    Library& lib = in.lib;
    const auto generation = lib.generation;
    const auto realDeadline = lib.clock->realTimeAt(target);
    // Objects may be destroyed meanwhile: only the library itself is touched after waking.
    lib.wakeUp.wait_until(lock, realDeadline,
                          [&] { return lib.generation != generation || lib.nowNs() >= target; });
  });
}

KL3_RESULT KelLib3InDInterfaceBeginBlock(KL3_HANDLE inputHandle, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceBeginBlock", error, [&](auto&) {
    auto in = input(inputHandle);
    if (in.system.cycle.isOpen()) in.system.cycle.ready(in.controller, in.lib.nowNs());
    in.system.cycle.beginBlock();
  });
}

KL3_RESULT KelLib3InDInterfaceStartDma(KL3_HANDLE inputHandle, KL3_HANDLE dmaContext, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceStartDma", error, [&](auto&) {
    auto in = input(inputHandle);
    auto& ctx = in.lib.dmaContext(dmaContext);
    in.system.cycle.startDma(ctx.buffer, in.lib.config);
  });
}

KL3_RESULT KelLib3InDInterfaceQueryDmaEnd(KL3_HANDLE inputHandle, uint32_t* done, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceQueryDmaEnd", error, [&](auto&) {
    auto& d = required(done, "done");
    auto in = input(inputHandle);
    if (!in.system.cycle.blockOpen()) KL3_RAISE(ErrorCode::OutOfOrder, inputHandle, "no block is open");
    d = in.system.cycle.dmaDone() ? 1 : 0;
  });
}

KL3_RESULT KelLib3InDInterfaceEndBlock(KL3_HANDLE inputHandle, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceEndBlock", error, [&](auto&) { input(inputHandle).system.cycle.endBlock(); });
}

KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeType(KL3_HANDLE inputHandle, uint32_t id, uint32_t index,
                                                   int32_t* value, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceGetAddOnAtributeType", error, [&](auto&) {
    auto& v = required(value, "value");
    auto in = input(inputHandle);
    const auto& frame = in.system.cycle.frame();
    if (!in.system.cycle.isOpen() || !frame)
      KL3_RAISE(ErrorCode::OutOfOrder, inputHandle, "frame attributes exist only for a ready frame of an open cycle");
    if (index != 0) KL3_RAISE(ErrorCode::UnknownId, inputHandle, "attribute index " + std::to_string(index) + " does not exist");
    if (id == 0x400004) v = in.lib.config.orientation;
    else if (id == 0x400020) v = static_cast<std::int32_t>(frame->number);
    else if (id == 0x400002) v = static_cast<std::int32_t>(std::min<std::int64_t>(frame->settings.exposureNs, INT32_MAX));
    else KL3_RAISE(ErrorCode::UnknownId, inputHandle, "no frame attribute " + std::to_string(id));
  });
}

KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeTotal(KL3_HANDLE inputHandle, uint32_t* count, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceGetAddOnAtributeTotal", error, [&](auto&) {
    auto& n = required(count, "count");
    input(inputHandle);
    n = static_cast<std::uint32_t>(kAttributes.size());
  });
}

KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeNum(KL3_HANDLE inputHandle, uint32_t position, uint32_t* id,
                                                  uint32_t* index, KL3_HANDLE error) {
  return guarded("KelLib3InDInterfaceGetAddOnAtributeNum", error, [&](auto&) {
    auto& outId = required(id, "id");
    auto& outIndex = required(index, "index");
    input(inputHandle);
    if (position >= kAttributes.size())
      KL3_RAISE(ErrorCode::OutOfRange, inputHandle, "attribute position " + std::to_string(position) + " does not exist");
    outId = kAttributes[position].id;
    outIndex = kAttributes[position].index;
  });
}

KL3_RESULT KelLib3DmaCreateContext(KL3_HANDLE* context, void** buffer, uint32_t sizeLow, uint32_t sizeHigh,
                                   KL3_HANDLE error) {
  return guarded("KelLib3DmaCreateContext", error, [&](auto&) {
    auto& outContext = required(context, "context");
    auto& outBuffer = required(buffer, "buffer");
    const std::uint64_t size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
    if (size == 0) KL3_RAISE(ErrorCode::InvalidArgument, 0, "a DMA buffer of 0 bytes");
    if (size > kMaxDmaBytes)
      KL3_RAISE(ErrorCode::NoMemory, 0, "a DMA buffer of " + std::to_string(size) + " bytes is larger than 1 GiB");
    auto& lib = library();
    auto ctx = std::make_unique<DmaContext>();
    ctx->buffer.assign(size, 0);
    const auto handle = lib.newHandle(0x44);
    outBuffer = ctx->buffer.data();
    lib.dmaContexts[handle] = std::move(ctx);
    outContext = handle;
  });
}

KL3_RESULT KelLib3DmaFreeContext(KL3_HANDLE context, KL3_HANDLE error) {
  return guarded("KelLib3DmaFreeContext", error, [&](auto&) {
    auto& lib = library();
    lib.dmaContext(context);
    lib.dmaContexts.erase(context);
  });
}

}  // extern "C"
