#include "platform/com/bstr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using Prefix = std::uint32_t;

// The byte length has to fit the prefix, terminator included.
constexpr UINT kMaxChars = (0xFFFFFFFFu - sizeof(Prefix) - sizeof(OLECHAR)) / sizeof(OLECHAR);

Prefix* prefixOf(BSTR bstr) {
  return reinterpret_cast<Prefix*>(reinterpret_cast<unsigned char*>(bstr) - sizeof(Prefix));
}

std::size_t lengthOf(const OLECHAR* psz) {
  std::size_t n = 0;
  while (psz[n] != 0) ++n;
  return n;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* pch, UINT len) {
  if (len > kMaxChars) return nullptr;
  const std::size_t bytes = std::size_t{len} * sizeof(OLECHAR);
  auto* block = static_cast<unsigned char*>(std::malloc(sizeof(Prefix) + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  const auto byteLength = static_cast<Prefix>(bytes);
  std::memcpy(block, &byteLength, sizeof byteLength);
  auto* chars = reinterpret_cast<OLECHAR*>(block + sizeof(Prefix));
  if (pch) {
    std::memcpy(chars, pch, bytes);
  } else {
    std::memset(chars, 0, bytes);
  }
  chars[len] = 0;
  return chars;
}

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  const std::size_t n = lengthOf(psz);
  if (n > kMaxChars) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(n));
}

void SysFreeString(BSTR bstr) {
  if (bstr) std::free(prefixOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  Prefix bytes;
  std::memcpy(&bytes, prefixOf(bstr), sizeof bytes);
  return bytes;
}

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
  if (!pbstr) return FALSE;
  // Copy before freeing: psz may point into the old string.
  BSTR fresh = SysAllocStringLen(psz, len);
  if (!fresh) return FALSE;
  SysFreeString(*pbstr);
  *pbstr = fresh;
  return TRUE;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (!pbstr) return FALSE;
  if (!psz) {
    SysFreeString(*pbstr);
    *pbstr = nullptr;
    return TRUE;
  }
  const std::size_t n = lengthOf(psz);
  if (n > kMaxChars) return FALSE;
  return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(n));
}
