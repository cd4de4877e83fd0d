#include "platform/kernel/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace plat {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion; owns the descriptor.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    // glibc always has these encodings; failing here means a broken install.
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // unitIn: size of one input code unit, so a bad unit is skipped whole.
  // replacement: the '?' in the target encoding.
  std::string run(const char* data, std::size_t size, std::size_t unitIn,
                  std::string_view replacement) {
    std::string out;
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ: a character the target lacks or a bad sequence; EINVAL: a
      // truncated sequence at the end. Either way one '?' stands for it.
      out.append(replacement);
      std::size_t skip = errno == EINVAL ? inLeft : badInputLength(in, inLeft, unitIn);
      in += skip;
      inLeft -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  // How much input one unconvertible character takes, so that a valid
  // character missing from the target is replaced by one '?', not several.
  static std::size_t badInputLength(const char* in, std::size_t left, std::size_t unitIn) {
    if (unitIn == 2) {
      char16_t unit;
      std::memcpy(&unit, in, 2);
      bool pair = unit >= 0xD800 && unit <= 0xDBFF && left >= 4;
      if (pair) {
        char16_t low;
        std::memcpy(&low, in + 2, 2);
        if (low >= 0xDC00 && low <= 0xDFFF) return 4;
      }
      return std::min<std::size_t>(2, left);
    }
    auto lead = static_cast<unsigned char>(in[0]);
    std::size_t len = lead >= 0xF5 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (len > left) return 1;
    for (std::size_t i = 1; i < len; ++i) {
      if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) return 1;
    }
    return len;
  }

  iconv_t cd_;
};

std::string narrowToNarrow(std::string_view text, const char* to, const char* from) {
  return Converter(to, from).run(text.data(), text.size(), 1, "?");
}

std::u16string toUtf16(std::string_view text, const char* from) {
  static const char16_t kQuestion = u'?';
  std::string replacement(reinterpret_cast<const char*>(&kQuestion), 2);
  std::string bytes = Converter(kUtf16, from).run(text.data(), text.size(), 1, replacement);
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

std::string fromUtf16(std::u16string_view text, const char* to) {
  return Converter(to, kUtf16).run(reinterpret_cast<const char*>(text.data()), text.size() * 2, 2,
                                   "?");
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) { return narrowToNarrow(utf8, "CP1251", "UTF-8"); }

std::string cp1251ToUtf8(std::string_view cp1251) {
  return narrowToNarrow(cp1251, "UTF-8", "CP1251");
}

std::u16string utf8ToUtf16(std::string_view utf8) { return toUtf16(utf8, "UTF-8"); }

std::string utf16ToUtf8(std::u16string_view utf16) { return fromUtf16(utf16, "UTF-8"); }

std::u16string cp1251ToUtf16(std::string_view cp1251) { return toUtf16(cp1251, "CP1251"); }

std::string utf16ToCp1251(std::u16string_view utf16) { return fromUtf16(utf16, "CP1251"); }

std::string toCrlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = next;
  }
  return lines;
}

}  // namespace plat
