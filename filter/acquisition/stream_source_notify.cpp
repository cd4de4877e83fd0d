#include "filter/acquisition/stream_source_notify.h"

#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace Orvo {

bool PostNotifyText(HWND window, std::string_view text) {
  if (!IsWindow(window)) return false;
  HGLOBAL block = plat::globalCopyText(text);
  if (block == nullptr) return false;  // out of memory: the text is lost, the stream goes on
  if (PostMessage(window, WM_LOG_TEXT, 0, reinterpret_cast<LPARAM>(block))) return true;
  // The window went away between the check and the post: the block is still ours.
  GlobalFree(block);
  return false;
}

}  // namespace Orvo
