// The filters a graph holds, each with its unique name, in the order they
// were added. The graph holds one reference to each. Not locked itself: the
// graph guards it with its own lock.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dshow/interfaces.h"

namespace plat {

class GraphMembers {
 public:
  // Adds `filter` under `wanted` or its first free suffixed form and returns
  // the name given; nullopt when no unique name could be made.
  std::optional<std::u16string> add(IBaseFilter* filter, std::u16string_view wanted);
  // Removes the filter and hands back the reference the graph held.
  ComPtr<IBaseFilter> take(IBaseFilter* filter);

  bool contains(IBaseFilter* filter) const;
  // Not counted; null when no filter has that name.
  IBaseFilter* findByName(std::u16string_view name) const;
  std::vector<ComPtr<IBaseFilter>> snapshot() const;
  bool empty() const { return members_.empty(); }

  // Changes whenever a filter is added or removed, so that enumerators see
  // that their snapshot is stale.
  LONG version() const { return version_; }

 private:
  struct Member {
    ComPtr<IBaseFilter> filter;
    std::u16string name;
  };

  std::vector<Member> members_;
  LONG version_ = 1;
};

}  // namespace plat
