// Owns one BSTR for our own code and converts it to and from std::u16string.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/com/bstr.h"

namespace plat {

class Bstr {
 public:
  Bstr() = default;
  // Throws std::bad_alloc when the string cannot be allocated.
  explicit Bstr(std::u16string_view text);
  Bstr(const Bstr& other);
  Bstr(Bstr&& other) noexcept : bstr_(other.detach()) {}
  ~Bstr() { SysFreeString(bstr_); }
  Bstr& operator=(Bstr other) noexcept {
    std::swap(bstr_, other.bstr_);
    return *this;
  }

  // Takes ownership of a BSTR someone allocated for us.
  static Bstr attach(BSTR bstr) {
    Bstr b;
    b.bstr_ = bstr;
    return b;
  }
  BSTR detach() noexcept { return std::exchange(bstr_, nullptr); }
  // Frees what is held and hands out the slot for an out parameter.
  BSTR* put() {
    SysFreeString(detach());
    return &bstr_;
  }

  BSTR get() const { return bstr_; }
  UINT length() const { return SysStringLen(bstr_); }
  bool empty() const { return length() == 0; }
  // Embedded zeros included.
  std::u16string str() const { return std::u16string(view()); }
  std::u16string_view view() const { return {bstr_ ? bstr_ : u"", length()}; }

 private:
  BSTR bstr_ = nullptr;
};

}  // namespace plat
