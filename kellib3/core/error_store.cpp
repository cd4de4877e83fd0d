#include "kellib3/core/error_store.h"

#include <cstdio>
#include <ctime>

#include "kellib3/core/std_lists.h"
#include "kellib3/core/text_codec.h"

namespace kellib3 {
namespace {

constexpr std::uint32_t kErrorHandleBase = 0x45000000u;

std::string nowText() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

std::string baseName(const char* path) {
  std::string p = path ? path : "";
  const auto slash = p.find_last_of("/\\");
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

ErrorStore& errorStore() {
  static ErrorStore store;
  return store;
}

std::uint32_t ErrorStore::create() {
  std::lock_guard lock(mutex_);
  const std::uint32_t handle = kErrorHandleBase | (next_++ & 0x00FFFFFFu);
  records_[handle] = ErrorRecord{};
  return handle;
}

bool ErrorStore::free(std::uint32_t handle) {
  std::lock_guard lock(mutex_);
  return records_.erase(handle) == 1;
}

bool ErrorStore::exists(std::uint32_t handle) const {
  std::lock_guard lock(mutex_);
  return records_.count(handle) == 1;
}

bool ErrorStore::record(std::uint32_t handle, const LibError& error) {
  std::lock_guard lock(mutex_);
  auto it = records_.find(handle);
  if (it == records_.end()) return false;
  it->second = ErrorRecord{static_cast<std::int32_t>(error.code), error.remark, baseName(error.file),
                           error.line, nowText(), error.object};
  return true;
}

bool ErrorStore::format(std::uint32_t handle, const char* format, std::uint32_t textList,
                        std::string& out) const {
  const auto probe = listEntry(textList, 0);
  if (!probe || format == nullptr) return false;
  // The list handle tells the encoding; its own entries tell the language.
  const bool utf8 = listHandle(kListErrors, TextEncoding::Utf8) == textList;
  if (!utf8 && listHandle(kListErrors, TextEncoding::Cp1251) != textList) return false;
  const auto encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Cp1251;

  ErrorRecord rec;
  {
    std::lock_guard lock(mutex_);
    auto it = records_.find(handle);
    if (it == records_.end()) return false;
    rec = it->second;
  }
  out.clear();
  char num[32];
  for (const char* p = format; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out.push_back(*p);
      continue;
    }
    switch (*++p) {
      case 't': out += rec.code == 0 ? "OK" : "ERROR"; break;
      case 'c': std::snprintf(num, sizeof num, "%d", rec.code); out += num; break;
      case 'm': {
        const auto e = listFind(textList, rec.code);
        out += e ? e->text : (rec.code == 0 ? "" : "?");
        break;
      }
      case 'f': out += rec.file; break;
      case 'l': std::snprintf(num, sizeof num, "%d", rec.line); out += num; break;
      case 'd': out += rec.date; break;
      case 'i': std::snprintf(num, sizeof num, "0x%08X", rec.object); out += num; break;
      case 'I': out += "libkellib3.so"; break;
      case 'r': out += encodeText(rec.remark, encoding); break;
      case '%': out.push_back('%'); break;
      default: out.push_back('%'); out.push_back(*p); break;
    }
  }
  return true;
}

}  // namespace kellib3
