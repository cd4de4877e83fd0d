// Taking the background images when streaming starts in set-up mode with
// subtraction on: a short film is recorded with fixed settings
// (background_settings.h), played back into the transform's four
// backgrounds, and the camera is put back as the operator left it: the
// mode, the five replaced option values and the save range (which entering
// preview mode overwrites).
//
// How the output pin uses it, in OnThreadStartPlay under the pin lock:
// StopCamera (wait), then TakeBackground, then RunCamera. TakeBackground
// takes the global frame lock itself (lock order: pin lock, then it), so no
// frame and no option write from another thread comes in between.
#pragma once

#include "filter/acquisition/System.h"
#include "filter/acquisition/system_holder.h"
#include "filter/processing/StClearImageTransform.h"
#include "platform/win/types.h"

namespace Orvo {

// True when all four backgrounds were taken. Every failure (a refused
// library call, a capture that failed) is posted to `notifyWindow` as a
// WM_LOG_TEXT text, and the camera is put back in every case. The record
// source the film is taken with converts at `bytesPerPixel`, as the pin does.
bool TakeBackground(Kel::SystemHolder<System>& holder, StClearImageTransform& transform, HWND notifyWindow,
                    int bytesPerPixel);

}  // namespace Orvo
