#include "shell/app/log_colour.h"

namespace LogView {

Colour LineColour(std::string_view line, Colour current) {
  const std::string_view head = line.substr(0, 4);
  if (head == "Info") return kInfoColour;
  if (head == "Warn") return kWarnColour;
  if (head == "Erro") return kErrorColour;
  return current;
}

}  // namespace LogView
