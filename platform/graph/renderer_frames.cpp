#include "platform/graph/renderer_frames.h"

namespace plat {

bool readNewestFrame(IUnknown* renderer, VideoFrame& frame) {
  if (!renderer) return false;
  ComPtr<IRendererFrames> frames;
  if (FAILED(renderer->QueryInterface(IID_IRendererFrames, frames.putVoid())) || !frames) return false;
  return frames->CopyNewestFrame(&frame) == S_OK;
}

}  // namespace plat
