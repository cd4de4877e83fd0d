#include "platform/com/variant_holder.h"

#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/com/hresult_message.h"

namespace plat {

Variant::Variant(LONG value) {
  VariantInit(&v_);
  v_.vt = VT_I4;
  v_.lVal = value;
}

Variant::Variant(std::u16string_view text) {
  VariantInit(&v_);
  if (text.size() > std::numeric_limits<UINT>::max()) throw std::bad_alloc();
  BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!b) throw std::bad_alloc();
  v_.vt = VT_BSTR;
  v_.bstrVal = b;
}

Variant::Variant(const Variant& other) {
  VariantInit(&v_);
  const HRESULT hr = VariantCopy(&v_, &other.v_);
  if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
  if (FAILED(hr)) throw std::invalid_argument("variant copy: " + hresultMessage(hr));
}

Variant::Variant(Variant&& other) noexcept : v_(other.detach()) {}

Variant::~Variant() { clear(); }

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(v_, other.v_);
  return *this;
}

Variant Variant::attach(VARIANT& raw) noexcept {
  Variant result;
  result.v_ = raw;
  VariantInit(&raw);
  return result;
}

VARIANT Variant::detach() noexcept {
  VARIANT out = v_;
  VariantInit(&v_);
  return out;
}

VARIANT* Variant::put() {
  clear();
  return &v_;
}

std::optional<LONG> Variant::asLong() const {
  if (v_.vt == VT_I4) return v_.lVal;
  return std::nullopt;
}

std::optional<std::u16string> Variant::asString() const {
  if (v_.vt != VT_BSTR) return std::nullopt;
  if (!v_.bstrVal) return std::u16string();
  return std::u16string(v_.bstrVal, SysStringLen(v_.bstrVal));
}

void Variant::clear() noexcept {
  // A tag we cannot clear came from outside through attach or put; dropping
  // it is the only option left, and it owns nothing we know how to free.
  if (FAILED(VariantClear(&v_))) VariantInit(&v_);
}

}  // namespace plat
