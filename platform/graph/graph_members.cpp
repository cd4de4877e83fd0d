#include "platform/graph/graph_members.h"

#include <algorithm>

#include "platform/graph/filter_names.h"

namespace plat {

std::optional<std::u16string> GraphMembers::add(IBaseFilter* filter, std::u16string_view wanted) {
  auto name = uniqueFilterName(wanted, [this](std::u16string_view n) { return findByName(n) != nullptr; });
  if (!name) return std::nullopt;
  members_.push_back(Member{ComPtr<IBaseFilter>(filter), *name});
  ++version_;
  return name;
}

ComPtr<IBaseFilter> GraphMembers::take(IBaseFilter* filter) {
  auto it = std::find_if(members_.begin(), members_.end(), [filter](const Member& m) { return m.filter.get() == filter; });
  if (it == members_.end()) return nullptr;
  ComPtr<IBaseFilter> held = std::move(it->filter);
  members_.erase(it);
  ++version_;
  return held;
}

bool GraphMembers::contains(IBaseFilter* filter) const {
  return std::any_of(members_.begin(), members_.end(), [filter](const Member& m) { return m.filter.get() == filter; });
}

IBaseFilter* GraphMembers::findByName(std::u16string_view name) const {
  for (const Member& m : members_) {
    if (m.name == name) return m.filter.get();
  }
  return nullptr;
}

std::vector<ComPtr<IBaseFilter>> GraphMembers::snapshot() const {
  std::vector<ComPtr<IBaseFilter>> filters;
  filters.reserve(members_.size());
  for (const Member& m : members_) filters.push_back(m.filter);
  return filters;
}

}  // namespace plat
