// The short English description of an HRESULT, as the system's message
// table words it, for logs and error boxes.
#pragma once

#include <string>

#include "platform/com/types.h"

namespace plat {

// Text without a trailing line break; codes we do not know give
// "Unknown error 0x%08X".
std::string hresultMessage(HRESULT hr);

}  // namespace plat
