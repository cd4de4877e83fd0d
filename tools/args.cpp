#include "tools/args.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace kelorvo {

Args::Args(const std::vector<std::string>& words, const std::set<std::string>& withValue,
           const std::set<std::string>& flags) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.rfind("--", 0) != 0 || w.size() == 2) {
      positional_.push_back(w);
    } else if (withValue.count(w)) {
      if (i + 1 >= words.size()) throw std::invalid_argument(w + " needs a value");
      values_[w] = words[++i];
    } else if (flags.count(w)) {
      values_[w] = "";
    } else {
      throw std::invalid_argument("unknown option " + w);
    }
  }
}

std::optional<std::string> Args::value(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

long parseNumber(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
  const long v = std::strtol(text.c_str(), &end, hex ? 16 : 10);
  if (text.empty() || errno != 0 || *end != '\0' || (hex && text.size() == 2))
    throw std::invalid_argument(what + " is not a number: \"" + text + "\"");
  return v;
}

}  // namespace kelorvo
