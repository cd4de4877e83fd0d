// The command line of one command: positional words and "--name [value]"
// options, checked against what the command accepts.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelorvo {

class Args {
 public:
  // `withValue`: options followed by a value; `flags`: options without one.
  // Throws std::invalid_argument with a one-line reason for anything else.
  Args(const std::vector<std::string>& words, const std::set<std::string>& withValue,
       const std::set<std::string>& flags);

  const std::vector<std::string>& positional() const { return positional_; }
  bool has(const std::string& name) const { return values_.count(name) != 0; }
  std::optional<std::string> value(const std::string& name) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
};

// A whole decimal or 0x-hexadecimal number; throws std::invalid_argument
// naming `what`.
long parseNumber(const std::string& text, const std::string& what);

}  // namespace kelorvo
