#include "shell/app/LogView.h"

#include <cstring>
#include <string>

#include "platform/kernel/global_memory.h"
#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"

namespace LogView {

bool OnLogText(WPARAM level, LPARAM block) {
  if (block == 0) return false;
  HGLOBAL memory = reinterpret_cast<HGLOBAL>(block);
  const SIZE_T size = GlobalSize(memory);
  const char* text = static_cast<const char*>(memory);
  // The sender's text ends with its zero; never read past the block.
  const std::string line = size ? std::string(text, strnlen(text, size)) : std::string();
  LogStore& log = LogStore::instance();
  const bool shown = static_cast<long long>(level) <= log.errorLevel() && size != 0;
  log.Write(shown, LogStore::Location(".\\LogView", 152), "Error: ", "%s", line.c_str());
  GlobalFree(memory);
  return shown;
}

bool OnRestartGraph(CGraph& graph) {
  if (graph.Restart()) return true;
  LogError(".\\LogView", 162, graph.GetLastErrorText());
  return false;
}

}  // namespace LogView
