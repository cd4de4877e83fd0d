#include "filter/options/catalogue.h"

#include <functional>
#include <string>

#include "platform/kernel/text_codec.h"

namespace Options {
namespace {

constexpr std::uint32_t kOptionList = 2;
constexpr std::uint32_t kUnitList = 3;
constexpr std::uint32_t kValueList = 4;

// Calls `visit` (UTF-8 text, identifier) for every entry of a standard list.
void forEachEntry(std::uint32_t list, const std::function<void(std::string, std::int32_t)>& visit) {
  const KL3_HANDLE handle = KelLib3ListGetStdList(list);
  const char* text = nullptr;
  std::int32_t id = 0;
  for (std::uint32_t p = 0; KelLib3ListGetAll(&text, &id, p, handle) != 0; ++p)
    visit(plat::cp1251ToUtf8(text ? text : ""), id);
}

}  // namespace

void Catalogue::Build(KL3_HANDLE system, KL3_HANDLE errorData) {
  records_.clear();
  forEachEntry(kOptionList, [&](std::string name, std::int32_t rawId) {
    const auto id = static_cast<std::uint32_t>(rawId);
    for (std::uint32_t index = 0;; ++index) {
      KL3_HANDLE option = 0;
      if (KelLib3SystemGetCInterface(system, id, index, &option, errorData) != 0) break;
      std::int32_t scratch = 0;
      std::uint32_t unit = 0;
      std::int32_t x = 0, y = 0, w = 0, h = 0;
      if (KelLib3OptionGetEnumVal(option, &scratch, errorData) == 0)
        AppendEnum(option, errorData, id, index, name);
      else if (KelLib3OptionNextScalarUnit(option, &unit, errorData) == 0)
        AppendScalar(option, errorData, id, index, name);
      else if (KelLib3OptionGetRect(option, &x, &y, &w, &h, errorData) == 0)
        AppendRect(option, id, index, name);
    }
  });
}

OptionRecord* Catalogue::Find(std::uint32_t id, std::uint32_t index) {
  for (auto& r : records_)
    if (r.Id() == id && r.Index() == index) return &r;
  return nullptr;
}

void Catalogue::AppendScalar(KL3_HANDLE option, KL3_HANDLE errorData, std::uint32_t id, std::uint32_t index,
                             const std::string& name) {
  OptionRecord& r = records_.emplace_back();
  r.kind = Kind::Scalar;
  r.scalar.Bind(option, id, index, name);
  // Unit 0 (a plain number) is implied and never listed.
  forEachEntry(kUnitList, [&](std::string text, std::int32_t unit) {
    if (KelLib3OptionQueryScalarUnit(option, static_cast<std::uint32_t>(unit), errorData) <= 0 && unit != 0)
      r.names.push_back({unit, std::move(text)});
  });
  Scalar::Value first{0, r.names.empty() ? 0u : static_cast<std::uint32_t>(r.names.front().id)};
  r.scalar.GetValue(first);
}

void Catalogue::AppendEnum(KL3_HANDLE option, KL3_HANDLE errorData, std::uint32_t id, std::uint32_t index,
                           const std::string& name) {
  OptionRecord& r = records_.emplace_back();
  r.kind = Kind::Enum;
  r.enumerated.Bind(option, id, index, name);
  forEachEntry(kValueList, [&](std::string text, std::int32_t value) {
    if (KelLib3OptionQueryEnumVal(option, value, errorData) <= 0) r.names.push_back({value, std::move(text)});
  });
}

void Catalogue::AppendRect(KL3_HANDLE option, std::uint32_t id, std::uint32_t index, const std::string& name) {
  OptionRecord& r = records_.emplace_back();
  r.kind = Kind::Rect;
  r.rect.Bind(option, id, index, name);
}

}  // namespace Options
