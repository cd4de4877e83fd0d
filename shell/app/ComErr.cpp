#include "shell/app/ComErr.h"

#include <cstdio>

#include "platform/com/bstr_holder.h"
#include "platform/com/hresult_message.h"
#include "platform/kernel/text_codec.h"

namespace COMERR {

std::string limitText(std::string text) {
  const std::size_t limit = kMaxTextBytes - 1;
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  // Step back over continuation bytes so the text stays valid UTF-8.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

namespace {

std::string formatCode(const char* format, long code, const std::string& tail) {
  char head[128];
  std::snprintf(head, sizeof head, format, static_cast<int>(code));
  return head + tail;
}

}  // namespace

CError<long>::CError(long hr)
    : CErrorBase(formatCode("Код ошибки:%d\n", hr, plat::hresultMessage(static_cast<HRESULT>(hr)))), code_(hr) {}

std::string propertyErrorText(HRESULT (*describe)(void*, BSTR*), void* property, HRESULT hr) {
  plat::Bstr text;
  const HRESULT asked = property ? describe(property, text.put()) : E_POINTER;
  if (asked < 0) return formatCode("Неизвестная ошибка. Код ошибки: %d", hr, "");
  return plat::utf16ToUtf8(text.view());
}

HRESULT Check(HRESULT hr) {
  if (hr < 0) throw CError<long>(hr);
  return hr;
}

}  // namespace COMERR
