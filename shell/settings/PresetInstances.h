// A preset record carries no index, so the instance of a scalar line's
// option is found by its name: the first instance with that name not yet
// taken by an earlier line of the same file. When the name's instances are
// all taken the line belongs to an instance this camera lacks. A name no
// instance has goes to instance 0, where the name check turns it away.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Sett {

class InstancePicker {
 public:
  // One picker per file read. Throws c_cameraoption_excep for a line of an
  // instance this camera lacks.
  std::int32_t Pick(std::string_view line);

 private:
  const std::vector<std::string>& NamesOf(std::int32_t id);

  std::map<std::int32_t, std::vector<std::string>> names_;
  std::set<std::pair<std::int32_t, std::int32_t>> taken_;
};

}  // namespace Sett
