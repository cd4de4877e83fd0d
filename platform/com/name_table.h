// Reading the names tables the option interfaces hand out: a SAFEARRAY of
// VARIANT rows (identifier VT_I4, text VT_BSTR).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/com/safearray.h"

namespace plat {

using NameTable = std::vector<std::pair<LONG, std::string>>;

// The rows of `raw` in order, texts in UTF-8; takes ownership of `raw` and
// destroys it. A row whose cells are not an identifier and a text is left
// out.
NameTable ReadNameTable(SAFEARRAY* raw);

}  // namespace plat
