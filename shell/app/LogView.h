// What the log view does with the messages other windows send it, apart
// from drawing: texts posted by the capture filter and restart requests.
#pragma once
#include "platform/win/types.h"

class CGraph;

namespace LogView {

// WM_LOG_TEXT: writes the text of the global block in lParam when wParam is
// within the error level, and frees the block either way. True when a line
// was written.
bool OnLogText(WPARAM level, LPARAM block);

// WM_RESTART_GRAPH: restarts the graph; a failure is logged.
bool OnRestartGraph(CGraph& graph);

}  // namespace LogView
