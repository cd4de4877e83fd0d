// `get` and `set`: one camera option through the shell's graph builder,
// printing what the camera holds (after a write: what it accepted).
#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/ComErr.h"
#include "tools/args.h"
#include "tools/commands.h"
#include "tools/option_print.h"
#include "tools/session.h"

using COMERR::Check;

namespace kelorvo {
namespace {

struct Address {
  LONG id = 0;
  LONG index = 0;
};

Address parseAddress(const std::string& text) {
  const std::size_t slash = text.find('/');
  Address a;
  a.id = static_cast<LONG>(parseNumber(text.substr(0, slash), "the option identifier"));
  if (slash != std::string::npos) a.index = static_cast<LONG>(parseNumber(text.substr(slash + 1), "the index"));
  return a;
}

std::string utf8(const plat::Bstr& b) { return plat::utf16ToUtf8(b.view()); }

bool isNumber(const std::string& text) {
  try {
    parseNumber(text, "");
    return true;
  } catch (const std::invalid_argument&) {
    return false;
  }
}

// A unit given by number or by one of the option's unit names.
UINT unitOf(IScalarProperty* p, const std::optional<std::string>& unit) {
  if (!unit) {
    LONG first = 0;
    SAFEARRAY* table = nullptr;
    LONG count = 0;
    // The option's first unit when none is asked for.
    if (SUCCEEDED(p->GetUnits(&table, &count)) && table) {
      VARIANT id;
      VariantInit(&id);
      const LONG at[2] = {0, 0};
      if (count > 0 && SUCCEEDED(SafeArrayGetElement(table, at, &id)) && id.vt == VT_I4) first = id.lVal;
      VariantClear(&id);
      SafeArrayDestroy(table);
    }
    return static_cast<UINT>(first);
  }
  if (isNumber(*unit)) return static_cast<UINT>(parseNumber(*unit, "the unit"));
  plat::Bstr name(plat::utf8ToUtf16(*unit));
  LONG id = 0;
  if (FAILED(p->GetUnitId(name.get(), &id))) throw std::invalid_argument("the option has no unit \"" + *unit + "\"");
  return static_cast<UINT>(id);
}

void printScalar(IScalarProperty* p, UINT unit) {
  LONG value = 0;
  Check(p, p->GetValue(&value, unit));
  plat::Bstr name;
  p->GetUnitName(static_cast<LONG>(unit), name.put());
  std::printf("%d%s%s\n", value, name.empty() ? "" : " ", utf8(name).c_str());
}

void printEnum(IEnumProperty* p) {
  LONG value = 0;
  Check(p, p->GetValue(&value));
  plat::Bstr name;
  p->GetItemName(value, name.put());
  std::printf("%d %s\n", value, utf8(name).c_str());
}

void printRect(IRectProperty* p) {
  LONG v[4] = {};
  Check(p, p->GetValue(&v[0], &v[1], &v[2], &v[3]));
  std::printf("%d,%d,%d,%d\n", v[0], v[1], v[2], v[3]);
}

int run(Session& session, const Address& a, const std::optional<std::string>& value,
        const std::optional<std::string>& unitText) {
  const ComPtr<ICamera2> camera = session.camera();
  if (!camera) return session.fail("the capture filter has no camera interface");
  ComPtr<IScalarProperty> scalar;
  ComPtr<IEnumProperty> enumerated;
  ComPtr<IRectProperty> rect;
  char kind = knownOptionKind(static_cast<std::uint32_t>(a.id), static_cast<std::uint32_t>(a.index));
  if (!kind) {
    // Another option of the catalogue: a list option names its values.
    LONG items = 0;
    SAFEARRAY* table = nullptr;
    if (a.index == 0 && SUCCEEDED(camera->GetEnum(a.id, enumerated.put())) &&
        SUCCEEDED(enumerated->GetItems(&table, &items)))
      SafeArrayDestroy(table);
    kind = items > 0 ? 'e' : 's';
  }
  if (kind == 's' && SUCCEEDED(camera->GetScalar(a.id, a.index, scalar.put()))) {
    const UINT unit = unitOf(scalar.get(), unitText);
    if (value) Check(scalar.get(), scalar->SetValue(static_cast<LONG>(parseNumber(*value, "the value")), unit));
    printScalar(scalar.get(), unit);
  } else if (kind == 'e' && a.index == 0 && SUCCEEDED(camera->GetEnum(a.id, enumerated.put()))) {
    if (unitText) throw std::invalid_argument("a list option has no unit");
    if (value) {
      LONG v = 0;
      if (isNumber(*value)) {
        v = static_cast<LONG>(parseNumber(*value, "the value"));
      } else {
        plat::Bstr name(plat::utf8ToUtf16(*value));
        if (FAILED(enumerated->GetItemValue(name.get(), &v)))
          throw std::invalid_argument("the option has no value \"" + *value + "\"");
      }
      Check(enumerated.get(), enumerated->SetValue(v));
    }
    printEnum(enumerated.get());
  } else if (kind == 'r' && SUCCEEDED(camera->GetRect(a.id, rect.put()))) {
    if (value) {
      LONG v[4] = {};
      if (std::sscanf(value->c_str(), "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]) != 4)
        throw std::invalid_argument("a window is written X,Y,WIDTH,HEIGHT");
      Check(rect.get(), rect->SetValue(v[0], v[1], v[2], v[3]));
    }
    printRect(rect.get());
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "the camera has no option 0x%x/%d", static_cast<unsigned>(a.id), a.index);
    return session.fail(text);
  }
  return 0;
}

}  // namespace

int optionCommand(const std::vector<std::string>& words, bool write) {
  const char* name = write ? "set" : "get";
  Session session(name);
  return session.run([&] {
    const Args args(words, {"--unit"}, {});
    const std::size_t wanted = write ? 2 : 1;
    if (args.positional().size() != wanted)
      return session.fail(write ? "usage: kelorvo set ID[/INDEX] VALUE [--unit U]"
                                : "usage: kelorvo get ID[/INDEX] [--unit U]");
    const Address a = parseAddress(args.positional()[0]);
    if (!session.open()) return 1;
    const std::optional<std::string> value = write ? std::optional(args.positional()[1]) : std::nullopt;
    return run(session, a, value, args.value("--unit"));
  });
}

}  // namespace kelorvo
