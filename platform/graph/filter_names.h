// Names of filters in a graph. Every filter has a name unique in its graph;
// a name already taken gets the first free suffix " 0001" … " 9999", the
// base cut so that the whole name fits a FILTER_INFO.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// The name to give a filter that asked for `wanted`: `wanted` itself when
// free, else the first free suffixed form; nullopt when all are taken.
std::optional<std::u16string> uniqueFilterName(std::u16string_view wanted,
                                               const std::function<bool(std::u16string_view)>& taken);

}  // namespace plat
