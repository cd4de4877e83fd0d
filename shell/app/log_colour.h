// The colour of a log line, chosen by its first four characters; any other
// line keeps the colour of the line before it.
#pragma once
#include <cstdint>
#include <string_view>

namespace LogView {

// 0x00BBGGRR, as the log has always coloured its text.
using Colour = std::uint32_t;
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

inline constexpr Colour kInfoColour = Rgb(0, 0, 0);
inline constexpr Colour kWarnColour = Rgb(0, 0, 196);
inline constexpr Colour kErrorColour = Rgb(196, 0, 0);

Colour LineColour(std::string_view line, Colour current);

}  // namespace LogView
