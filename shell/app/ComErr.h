// The shell's error objects for failed COM calls and property calls. Each
// carries its ready message text; operations catch them at their boundary
// and keep or log the text.
#pragma once
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/types.h"
#include "shared/property_interfaces.h"

namespace COMERR {

// Texts are kept, like the message buffers they replace, within 1024 bytes
// including the terminating zero.
inline constexpr std::size_t kMaxTextBytes = 1024;

// Cuts `text` to at most kMaxTextBytes - 1 bytes without splitting a UTF-8
// character.
std::string limitText(std::string text);

class CErrorBase : public std::exception {
 public:
  const char* what() const noexcept override { return text_.c_str(); }
  const std::string& text() const { return text_; }

 protected:
  explicit CErrorBase(std::string text) : text_(limitText(std::move(text))) {}

 private:
  std::string text_;
};

// A failure the shell describes in its own words.
class CTextError : public CErrorBase {
 public:
  explicit CTextError(std::string text) : CErrorBase(std::move(text)) {}
};

template <class T>
class CError;

// A negative HRESULT: "Код ошибки:%d\n%s" with the system's message for it.
template <>
class CError<long> : public CErrorBase {
 public:
  explicit CError(long hr);
  long code() const { return code_; }

 private:
  long code_;
};

// A property call failed: the property's own description of the failure, or
// "Неизвестная ошибка. Код ошибки: %d" when it cannot give one.
std::string propertyErrorText(HRESULT (*describe)(void*, BSTR*), void* property, HRESULT hr);

template <class P>
class CError<P*> : public CErrorBase {
 public:
  CError(P* property, HRESULT hr)
      : CErrorBase(propertyErrorText(
            [](void* p, BSTR* out) { return static_cast<P*>(p)->GetErrorDescription(out); }, property, hr)),
        code_(hr) {}
  HRESULT code() const { return code_; }

 private:
  HRESULT code_;
};

// The one test every checked HRESULT goes through: a negative value raises
// CError<long>, anything else is handed back.
HRESULT Check(HRESULT hr);

// Same for a call on a property object, raising that property's error.
template <class P>
HRESULT Check(P* property, HRESULT hr) {
  if (hr < 0) throw CError<P*>(property, hr);
  return hr;
}

}  // namespace COMERR
