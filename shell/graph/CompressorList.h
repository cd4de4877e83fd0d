// The video compressors that can take the camera's output, found by trial
// connection in a scratch graph.
#pragma once
#include <string>
#include <vector>

#include "platform/dshow/interfaces.h"

struct CompressorEntry {
  std::string name;  // friendly name
  ComPtr<IBaseFilter> filter;
};

namespace CompressorList {

// Clears `list`, then appends, in enumeration order, every compressor the
// camera's pin `cameraPin` connects to. A compressor that cannot be bound
// is skipped; any other failure raises COMERR::CError<long>.
void Enumerate(IBaseFilter* camera, IPin* cameraPin, std::vector<CompressorEntry>& list);

}  // namespace CompressorList
