#include "tools/option_print.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/bstr_holder.h"
#include "platform/com/name_table.h"
#include "platform/kernel/text_codec.h"

namespace kelorvo {
namespace {

enum class OptionKind { Scalar, Enum, Rect };

struct KnownOption {
  std::uint32_t id;
  std::uint32_t index;
  OptionKind kind;
  // Scalars: the unit the filter itself reads the option in; -1 for the
  // option's first unit.
  int unit;
};

// The options the system itself uses, in identifier order.
constexpr KnownOption kOptions[] = {
    {0x400002, 0, OptionKind::Scalar, 2}, {0x400003, 0, OptionKind::Scalar, 2},
    {0x400003, 1, OptionKind::Scalar, 2}, {0x400004, 0, OptionKind::Enum, -1},
    {0x400005, 0, OptionKind::Enum, -1},  {0x400006, 0, OptionKind::Rect, -1},
    {0x400007, 0, OptionKind::Scalar, -1}, {0x400009, 0, OptionKind::Scalar, 0},
    {0x40000a, 0, OptionKind::Scalar, 0}, {0x40000d, 0, OptionKind::Scalar, 0},
    {0x400011, 0, OptionKind::Enum, -1},  {0x400016, 0, OptionKind::Enum, -1},
    {0x400017, 0, OptionKind::Enum, -1},  {0x400020, 0, OptionKind::Scalar, 0},
    {0x400022, 0, OptionKind::Scalar, 12}, {0x400041, 0, OptionKind::Scalar, 0},
    {0x400042, 0, OptionKind::Enum, -1},  {0x400054, 0, OptionKind::Scalar, 0},
    {0x400055, 0, OptionKind::Scalar, 0},
};

using plat::NameTable;

std::string utf8(const plat::Bstr& text) { return plat::utf16ToUtf8(text.view()); }

std::string joined(const NameTable& rows) {
  std::string s;
  for (const auto& [id, text] : rows) s += (s.empty() ? "" : ", ") + std::to_string(id) + " " + text;
  return s.empty() ? "-" : s;
}

// " <unit name>" or nothing for a plain number.
std::string unitSuffix(const NameTable& units, LONG unit) {
  for (const auto& [id, text] : units)
    if (id == unit) return " " + text;
  return "";
}

bool printScalar(ICamera2& camera, const KnownOption& o, std::FILE* out) {
  ComPtr<IScalarProperty> p;
  if (FAILED(camera.GetScalar(static_cast<LONG>(o.id), static_cast<LONG>(o.index), p.put()))) return false;
  plat::Bstr name;
  p->GetName(name.put());
  SAFEARRAY* raw = nullptr;
  const NameTable units = SUCCEEDED(p->GetUnits(&raw, nullptr)) ? plat::ReadNameTable(raw) : NameTable{};
  const LONG unit = o.unit >= 0 ? o.unit : (units.empty() ? 0 : units.front().first);
  LONG value = 0, lo = 0, hi = 0;
  const std::string suffix = unitSuffix(units, unit);
  std::fprintf(out, "  0x%06x/%u  %s  scalar  ", o.id, o.index, utf8(name).c_str());
  if (SUCCEEDED(p->GetValue(&value, static_cast<UINT>(unit))) && SUCCEEDED(p->GetMinValue(&lo, 0)) &&
      SUCCEEDED(p->GetMaxValue(&hi, 0)))
    std::fprintf(out, "%d%s  range %d..%d%s", value, suffix.c_str(), lo, hi, suffix.c_str());
  else
    std::fprintf(out, "(unreadable)");
  std::fprintf(out, "  units: %s\n", joined(units).c_str());
  return true;
}

bool printEnum(ICamera2& camera, const KnownOption& o, std::FILE* out) {
  ComPtr<IEnumProperty> p;
  if (FAILED(camera.GetEnum(static_cast<LONG>(o.id), p.put()))) return false;
  plat::Bstr name, valueName;
  p->GetName(name.put());
  SAFEARRAY* raw = nullptr;
  const NameTable values = SUCCEEDED(p->GetItems(&raw, nullptr)) ? plat::ReadNameTable(raw) : NameTable{};
  LONG value = 0;
  std::fprintf(out, "  0x%06x/%u  %s  enum  ", o.id, o.index, utf8(name).c_str());
  if (SUCCEEDED(p->GetValue(&value))) {
    p->GetItemName(value, valueName.put());
    std::fprintf(out, "%d %s", value, valueName.empty() ? "?" : utf8(valueName).c_str());
  } else {
    std::fprintf(out, "(unreadable)");
  }
  std::fprintf(out, "  values: %s\n", joined(values).c_str());
  return true;
}

bool printRect(ICamera2& camera, const KnownOption& o, std::FILE* out) {
  ComPtr<IRectProperty> p;
  if (FAILED(camera.GetRect(static_cast<LONG>(o.id), p.put()))) return false;
  plat::Bstr name;
  p->GetName(name.put());
  LONG v[4] = {}, lo[4] = {}, hi[4] = {};
  std::fprintf(out, "  0x%06x/%u  %s  rect  ", o.id, o.index, utf8(name).c_str());
  if (SUCCEEDED(p->GetValue(&v[0], &v[1], &v[2], &v[3])) && SUCCEEDED(p->GetMinValue(&lo[0], &lo[1], &lo[2], &lo[3])) &&
      SUCCEEDED(p->GetMaxValue(&hi[0], &hi[1], &hi[2], &hi[3])))
    std::fprintf(out, "%d,%d %dx%d  range %d,%d %dx%d .. %d,%d %dx%d\n", v[0], v[1], v[2], v[3], lo[0], lo[1], lo[2],
                 lo[3], hi[0], hi[1], hi[2], hi[3]);
  else
    std::fprintf(out, "(unreadable)\n");
  return true;
}

}  // namespace

char knownOptionKind(std::uint32_t id, std::uint32_t index) {
  for (const auto& o : kOptions)
    if (o.id == id && o.index == index) return o.kind == OptionKind::Scalar ? 's' : o.kind == OptionKind::Enum ? 'e' : 'r';
  return 0;
}

int printOptions(ICamera2& camera, std::FILE* out) {
  int printed = 0;
  for (const auto& o : kOptions) {
    bool shown = false;
    switch (o.kind) {
      case OptionKind::Scalar: shown = printScalar(camera, o, out); break;
      case OptionKind::Enum: shown = printEnum(camera, o, out); break;
      case OptionKind::Rect: shown = printRect(camera, o, out); break;
    }
    printed += shown ? 1 : 0;
  }
  return printed;
}

}  // namespace kelorvo
