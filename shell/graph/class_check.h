// Whether the classes the shell creates are registered.
#pragma once
#include <string>

namespace GraphClasses {

// The labels of the missing classes, each followed by "\n", in check order:
// the capture filter, graph manager, renderer, AVI mux, file writer, smart
// tee. Empty when all are there, and when the class key itself is missing.
std::string Missing();

}  // namespace GraphClasses
