// Reading the video renderer's newest frame, for the window that shows it.
// The renderer keeps only the newest picture it received; a window reads a
// copy of it whenever it paints.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dshow/media_types.h"

namespace plat {

struct VideoFrame {
  LONG width = 0;
  LONG height = 0;
  LONG stride = 0;  // bytes from one row to the next
  WORD bitCount = 0;  // 24 or 32: blue, green, red (and a spare byte)
  bool bottomUp = true;  // the first row in `bytes` is the picture's last
  // Counts the frames the renderer received; 0 means none yet.
  std::uint64_t counter = 0;
  std::vector<BYTE> bytes;  // stride × height
};

// The message the renderer posts (wParam and lParam 0) to its clipping
// window when a new frame is there to paint. It has the number of the
// Windows paint message. One request is outstanding at a time: the next is
// posted only after the window read a frame (readNewestFrame) or called
// RepaintVideo, so a slow window is never flooded.
inline constexpr std::uint32_t kRendererRepaintMessage = 0x000F;

// Copies the newest frame of a video renderer made by this library
// (CLSID_VideoMixingRenderer), reached through any of its interfaces, into
// `frame`. Nothing is copied when `frame` already holds that frame (same
// counter). False when the renderer has no frame (not connected, or nothing
// received yet) or `renderer` is not such a renderer.
bool readNewestFrame(IUnknown* renderer, VideoFrame& frame);

}  // namespace plat

// How readNewestFrame reaches the renderer; private to this library.
inline constexpr IID IID_IRendererFrames{0x7C17D188, 0x46FE, 0x43CF, {0xA9, 0x76, 0x22, 0x4D, 0x3D, 0x2F, 0xBF, 0x5D}};

struct IRendererFrames : IUnknown {
  // S_OK copied or already current, E_FAIL without a frame.
  virtual HRESULT CopyNewestFrame(plat::VideoFrame* frame) = 0;

 protected:
  ~IRendererFrames() = default;
};
