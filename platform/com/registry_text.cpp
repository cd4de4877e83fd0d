// Text form of the class registry (see registry_tree.h).
#include <cstdio>

#include "platform/com/registry_tree.h"

namespace plat {

namespace {

void appendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void appendKey(std::string& out, const std::string& path, const RegKey& key) {
  // Keys without values are written only when nothing below them would
  // bring them back on reading.
  if (!path.empty() && (!key.values.empty() || key.subkeys.empty())) {
    out += '[' + path + "]\n";
    for (const auto& [name, value] : key.values) {
      if (name.empty())
        out += '@';
      else
        appendQuoted(out, name);
      out += '=';
      if (const auto* text = std::get_if<std::string>(&value)) {
        appendQuoted(out, *text);
      } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(std::get<std::uint32_t>(value)));
        out += buf;
      }
      out += '\n';
    }
    out += '\n';
  }
  for (const auto& [name, sub] : key.subkeys) appendKey(out, path.empty() ? name : path + '\\' + name, sub);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at the start of `in`, advancing past it.
bool readQuoted(std::string_view& in, std::string& out, std::string& why) {
  if (in.empty() || in.front() != '"') {
    why = "expected a quoted text";
    return false;
  }
  std::size_t i = 1;
  out.clear();
  while (i < in.size() && in[i] != '"') {
    char c = in[i++];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i >= in.size()) break;
    char e = in[i++];
    switch (e) {
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        int hi = i + 1 < in.size() ? hexDigit(in[i]) : -1;
        int lo = i + 1 < in.size() ? hexDigit(in[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
          why = "bad \\x escape";
          return false;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        why = std::string("unknown escape \\") + e;
        return false;
    }
  }
  if (i >= in.size()) {
    why = "unterminated quoted text";
    return false;
  }
  in.remove_prefix(i + 1);
  return true;
}

bool readValue(std::string_view in, RegValue& value, std::string& why) {
  constexpr std::string_view kDword = "dword:";
  if (in.substr(0, kDword.size()) == kDword) {
    std::string_view digits = in.substr(kDword.size());
    if (digits.size() != 8) {
      why = "a dword needs 8 hexadecimal digits";
      return false;
    }
    std::uint32_t v = 0;
    for (char c : digits) {
      int d = hexDigit(c);
      if (d < 0) {
        why = "bad hexadecimal digit in dword";
        return false;
      }
      v = v * 16 + static_cast<std::uint32_t>(d);
    }
    value = v;
    return true;
  }
  std::string text;
  if (!readQuoted(in, text, why)) return false;
  if (!in.empty()) {
    why = "unexpected text after the value";
    return false;
  }
  value = std::move(text);
  return true;
}

bool parseLine(std::string_view line, RegKey& root, RegKey*& current, std::string& why) {
  if (line.empty() || line.front() == ';') return true;
  if (line.front() == '[') {
    if (line.back() != ']') {
      why = "key line does not end with ']'";
      return false;
    }
    auto names = splitKeyPath(line.substr(1, line.size() - 2));
    if (!names) {
      why = "bad key path";
      return false;
    }
    current = &createKey(root, *names);
    return true;
  }
  if (!current) {
    why = "value outside a key";
    return false;
  }
  std::string name;
  if (line.front() == '@') {
    line.remove_prefix(1);
  } else if (!readQuoted(line, name, why)) {
    return false;
  }
  if (line.empty() || line.front() != '=') {
    why = "expected '=' after the value name";
    return false;
  }
  line.remove_prefix(1);
  RegValue value;
  if (!readValue(line, value, why)) return false;
  current->values.insert_or_assign(std::move(name), std::move(value));
  return true;
}

}  // namespace

std::string serializeRegistry(const RegKey& root) {
  std::string out = "; kelorvo class registry\n\n";
  appendKey(out, {}, root);
  return out;
}

bool parseRegistry(std::string_view text, RegKey& out, RegParseError& error) {
  RegKey root;
  RegKey* current = nullptr;
  int lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string why;
    if (!parseLine(line, root, current, why)) {
      error = {lineNo, why};
      return false;
    }
  }
  out = std::move(root);
  return true;
}

}  // namespace plat
