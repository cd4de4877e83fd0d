// Copying the processed frame into a media sample with digital gain and
// orientation. A shifted byte v becomes min(v << shift, 255).
//
// Sizes never overrun either side: each copy stops at the smaller of the
// sample and the frame.
#pragma once

#include <cstdint>
#include <span>

namespace Kel {

struct CopyLayout {
  std::uint32_t width = 0;   // pixels per row
  std::uint32_t height = 0;  // rows
  int bytesPerPixel = 0;     // 3 or 4 (anything from 1 works)
  // Save mode writes rows for a bottom-up file: the frame's first row goes
  // last in the sample.
  bool saveMode = false;
};

// The gain's shift: its low 5 bits.
inline unsigned GainShift(int gain) { return static_cast<unsigned>(gain) & 31u; }

// Orientation attribute other than 180. A gain of 0 or below leaves the
// bytes as they are. Outside save mode the bytes go in order; in save mode
// the rows go from the sample's last row upwards.
void CopyStraight(std::span<const std::uint8_t> frame, std::span<std::uint8_t> sample, const CopyLayout& layout,
                  int gain);

// Orientation attribute 180, always shifted. Outside save mode the pixels go
// in reverse order (last pixel first); in save mode each row has its pixels
// reversed, rows top to bottom.
void CopyRotated(std::span<const std::uint8_t> frame, std::span<std::uint8_t> sample, const CopyLayout& layout,
                 int gain);

}  // namespace Kel
