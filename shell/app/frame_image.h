// The renderer's frame seen as a QImage without copying its pixels.
#pragma once
#include <QImage>

#include "platform/graph/renderer_frames.h"

// A null image for a frame of no size or an unknown depth. The image
// borrows the frame's bytes: it is valid while the frame is unchanged.
// Rows are in the frame's order; FrameIsBottomUp says whether to flip.
QImage FrameImage(const plat::VideoFrame& frame);
