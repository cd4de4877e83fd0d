// Entry points: option reads, writes, ranges, units and values.
#include <string>

#include "kellib3/api/guard.h"
#include "kellib3/grabber/info_items.h"

using namespace kellib3;

namespace {

struct OptionParts {
  Library& lib;
  const Interface& iface;
};

// Camera options and the controller option answer the scalar calls.
OptionParts anyOption(KL3_HANDLE handle) {
  auto& lib = library();
  auto it = lib.interfaces.find(handle);
  if (it == lib.interfaces.end() ||
      (it->second.kind != IfaceKind::Option && it->second.kind != IfaceKind::SystemOption))
    KL3_RAISE(ErrorCode::InvalidHandle, handle, "handle " + std::to_string(handle) + " is not an option interface");
  return {lib, it->second};
}

const Interface& cameraOption(KL3_HANDLE handle, Library& lib) {
  return lib.interface(handle, IfaceKind::Option, "a camera option interface");
}

// The controller index is a plain number the system holds until it is initialised.
System& controllerOptionOwner(const OptionParts& o, std::uint32_t unit) {
  if (unit != 0) KL3_RAISE(ErrorCode::UnitNotSupported, 0, "the controller index takes unit 0 only");
  return o.lib.systemOf(o.iface);
}

// The frame selection changes with every played frame; it is not worth a file write.
void persistAfter(Library& lib, const Interface& i) {
  if (i.id != 0x400020) lib.persist(lib.controllerOf(i));
}

// The three rectangle reads differ only in where the rectangle comes from.
template <class Source>
KL3_RESULT readRect(const char* name, KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width,
                    int32_t* height, KL3_HANDLE error, Source source) {
  return guarded(name, error, [&](auto&) {
    auto& a = required(x, "x");
    auto& b = required(y, "y");
    auto& c = required(width, "width");
    auto& d = required(height, "height");
    auto& lib = library();
    const auto& i = cameraOption(option, lib);
    if (i.option->kind != OptionKind::Rect) KL3_RAISE(ErrorCode::InvalidArgument, option, "the option is not a rectangle");
    const auto r = source(lib, i);
    a = r[0], b = r[1], c = r[2], d = r[3];
  });
}

}  // namespace

extern "C" {

KL3_RESULT KelLib3OptionGetScalar(KL3_HANDLE option, int32_t* value, uint32_t unit, KL3_HANDLE error) {
  return guarded("KelLib3OptionGetScalar", error, [&](auto&) {
    auto& v = required(value, "value");
    const auto o = anyOption(option);
    if (o.iface.kind == IfaceKind::SystemOption) {
      v = controllerOptionOwner(o, unit).controllerIndex;
      return;
    }
    v = getScalar(o.lib.controllerOf(o.iface), *o.iface.option, unit, o.lib.nowNs());
  });
}

KL3_RESULT KelLib3OptionSetScalar(KL3_HANDLE option, int32_t value, uint32_t unit, KL3_HANDLE error) {
  return guarded("KelLib3OptionSetScalar", error, [&](auto&) {
    const auto o = anyOption(option);
    if (o.iface.kind == IfaceKind::SystemOption) {
      auto& s = controllerOptionOwner(o, unit);
      if (s.controller) KL3_RAISE(ErrorCode::OutOfOrder, option, "the controller index cannot change after KelLib3SystemInit");
      if (value < 0 || value > 3)
        KL3_RAISE(ErrorCode::OutOfRange, option, "controller index " + std::to_string(value) + " is outside 0..3");
      s.controllerIndex = value;
      return;
    }
    setScalar(o.lib.controllerOf(o.iface), *o.iface.option, value, unit, o.lib.nowNs());
    persistAfter(o.lib, o.iface);
  });
}

KL3_RESULT KelLib3OptionGetScalarRange(KL3_HANDLE option, int32_t* minimum, int32_t* maximum, uint32_t unit,
                                       KL3_HANDLE error) {
  return guarded("KelLib3OptionGetScalarRange", error, [&](auto&) {
    auto& lo = required(minimum, "minimum");
    auto& hi = required(maximum, "maximum");
    const auto o = anyOption(option);
    if (o.iface.kind == IfaceKind::SystemOption) {
      controllerOptionOwner(o, unit);
      lo = 0;
      hi = static_cast<std::int32_t>(o.lib.config.controllers) - 1;
      return;
    }
    std::tie(lo, hi) = scalarRange(o.lib.controllerOf(o.iface), *o.iface.option, unit, o.lib.nowNs());
  });
}

KL3_RESULT KelLib3OptionRelScalar(KL3_HANDLE option, int32_t delta, uint32_t unit, KL3_HANDLE error) {
  return guarded("KelLib3OptionRelScalar", error, [&](auto&) {
    auto& lib = library();
    const auto& i = cameraOption(option, lib);
    relScalar(lib.controllerOf(i), *i.option, delta, unit, lib.nowNs());
    persistAfter(lib, i);
  });
}

KL3_RESULT KelLib3OptionNextScalarUnit(KL3_HANDLE option, uint32_t* unit, KL3_HANDLE error) {
  return guarded("KelLib3OptionNextScalarUnit", error, [&](auto&) {
    auto& u = required(unit, "unit");
    const auto o = anyOption(option);
    const Quantity q = o.iface.kind == IfaceKind::SystemOption ? Quantity::Plain : o.iface.option->quantity;
    if (o.iface.kind == IfaceKind::Option && o.iface.option->kind != OptionKind::Scalar)
      KL3_RAISE(ErrorCode::InvalidArgument, option, "the option is not a scalar");
    const auto next = nextUnit(q, u);
    if (!next) KL3_RAISE(ErrorCode::OutOfRange, option, "no unit follows unit " + std::to_string(u));
    u = *next;
  });
}

KL3_RESULT KelLib3OptionQueryScalarUnit(KL3_HANDLE option, uint32_t unit, KL3_HANDLE error) {
  return guarded("KelLib3OptionQueryScalarUnit", error, [&](auto&) {
    const auto o = anyOption(option);
    const bool scalar = o.iface.kind == IfaceKind::SystemOption || o.iface.option->kind == OptionKind::Scalar;
    const Quantity q = o.iface.kind == IfaceKind::SystemOption ? Quantity::Plain : o.iface.option->quantity;
    if (!scalar || !acceptsUnit(q, unit))
      KL3_RAISE(ErrorCode::UnitNotSupported, option, "the option does not accept unit " + std::to_string(unit));
  });
}

KL3_RESULT KelLib3OptionGetEnumVal(KL3_HANDLE option, int32_t* value, KL3_HANDLE error) {
  return guarded("KelLib3OptionGetEnumVal", error, [&](auto&) {
    auto& v = required(value, "value");
    auto& lib = library();
    const auto& i = cameraOption(option, lib);
    v = getEnum(lib.controllerOf(i), *i.option);
  });
}

KL3_RESULT KelLib3OptionSetEnumVal(KL3_HANDLE option, int32_t value, KL3_HANDLE error) {
  return guarded("KelLib3OptionSetEnumVal", error, [&](auto&) {
    auto& lib = library();
    const auto& i = cameraOption(option, lib);
    setEnum(lib.controllerOf(i), *i.option, value, lib.nowNs());
    persistAfter(lib, i);
  });
}

KL3_RESULT KelLib3OptionQueryEnumVal(KL3_HANDLE option, int32_t value, KL3_HANDLE error) {
  return guarded("KelLib3OptionQueryEnumVal", error, [&](auto&) {
    auto& lib = library();
    auto it = lib.interfaces.find(option);
    const bool offered = it != lib.interfaces.end() &&
                         ((it->second.kind == IfaceKind::Option && offersValue(*it->second.option, value)) ||
                          (it->second.kind == IfaceKind::Info && infoOffers(it->second.id, value)));
    if (it == lib.interfaces.end() || (it->second.kind != IfaceKind::Option && it->second.kind != IfaceKind::Info))
      KL3_RAISE(ErrorCode::InvalidHandle, option, "not an option or information interface");
    if (!offered) KL3_RAISE(ErrorCode::OutOfRange, option, "the value " + std::to_string(value) + " is not offered");
  });
}

KL3_RESULT KelLib3OptionGetRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                KL3_HANDLE error) {
  return readRect("KelLib3OptionGetRect", option, x, y, width, height, error,
                  [](auto& lib, const auto& i) { return getRect(lib.controllerOf(i)); });
}

KL3_RESULT KelLib3OptionSetRect(KL3_HANDLE option, int32_t x, int32_t y, int32_t width, int32_t height,
                                KL3_HANDLE error) {
  return guarded("KelLib3OptionSetRect", error, [&](auto&) {
    auto& lib = library();
    const auto& i = cameraOption(option, lib);
    if (i.option->kind != OptionKind::Rect) KL3_RAISE(ErrorCode::InvalidArgument, option, "the option is not a rectangle");
    setRect(lib.controllerOf(i), {x, y, width, height}, lib.nowNs());
    persistAfter(lib, i);
  });
}

KL3_RESULT KelLib3OptionMinRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                KL3_HANDLE error) {
  return readRect("KelLib3OptionMinRect", option, x, y, width, height, error,
                  [](auto&, const auto&) { return minRect(); });
}

KL3_RESULT KelLib3OptionMaxRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                KL3_HANDLE error) {
  return readRect("KelLib3OptionMaxRect", option, x, y, width, height, error,
                  [](auto& lib, const auto& i) { return maxRect(lib.controllerOf(i)); });
}

}  // extern "C"
