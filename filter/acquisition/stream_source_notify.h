// Texts a stream source reports to the notify window (the shell's log view)
// from the streaming thread.
#pragma once

#include <string_view>

#include "platform/win/types.h"

namespace Orvo {

// Copies `text` with its terminating zero into a fixed global block and
// posts it as WM_LOG_TEXT (wParam 0); the receiver frees the block. Nothing
// is posted unless `window` is a window. When the post fails the block is
// freed here, since it never reached a receiver. True when posted.
bool PostNotifyText(HWND window, std::string_view text);

}  // namespace Orvo
