#include "platform/com/bstr_holder.h"

#include <limits>
#include <new>

namespace plat {
namespace {

BSTR copyOf(std::u16string_view text) {
  if (text.size() > std::numeric_limits<UINT>::max()) throw std::bad_alloc();
  BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!b) throw std::bad_alloc();
  return b;
}

}  // namespace

Bstr::Bstr(std::u16string_view text) : bstr_(copyOf(text)) {}

Bstr::Bstr(const Bstr& other) : bstr_(other.bstr_ ? copyOf(other.view()) : nullptr) {}

}  // namespace plat
