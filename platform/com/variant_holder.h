// Owns one VARIANT for our own code: cleared on destruction, deep-copied on
// copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/variant.h"

namespace plat {

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  explicit Variant(LONG value);
  // Throws std::bad_alloc when the string cannot be allocated.
  explicit Variant(std::u16string_view text);
  // Throws std::bad_alloc when memory runs out, std::invalid_argument when
  // the source holds a tag a variant cannot carry.
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  ~Variant();
  Variant& operator=(Variant other) noexcept;

  // Takes over a VARIANT someone filled for us; `raw` is left VT_EMPTY.
  static Variant attach(VARIANT& raw) noexcept;
  // Hands the value over to the caller, leaving this empty.
  VARIANT detach() noexcept;
  // Clears and hands out the variant for an out parameter.
  VARIANT* put();

  const VARIANT& get() const { return v_; }
  VARTYPE type() const { return v_.vt; }
  // The value when the variant holds that type, nullopt otherwise.
  std::optional<LONG> asLong() const;
  std::optional<std::u16string> asString() const;

 private:
  void clear() noexcept;
  VARIANT v_;
};

}  // namespace plat
