// Writing a renderer frame as a PNG file.
#pragma once
#include <filesystem>
#include <string>

#include "platform/graph/renderer_frames.h"

namespace kelorvo {

// Upright RGB PNG of `frame`; false with `reason` set on failure.
bool writePng(const plat::VideoFrame& frame, const std::filesystem::path& file, std::string& reason);

}  // namespace kelorvo
