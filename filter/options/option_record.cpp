#include "filter/options/option_record.h"

#include "platform/kernel/text_codec.h"

namespace Options {

std::uint32_t OptionRecord::Id() const {
  switch (kind) {
    case Kind::Enum: return enumerated.Id();
    case Kind::Rect: return rect.Id();
    case Kind::Scalar: break;
  }
  return scalar.Id();
}

std::uint32_t OptionRecord::Index() const {
  switch (kind) {
    case Kind::Enum: return enumerated.Index();
    case Kind::Rect: return rect.Index();
    case Kind::Scalar: break;
  }
  return scalar.Index();
}

const std::string& OptionRecord::Name() const {
  switch (kind) {
    case Kind::Enum: return enumerated.Name();
    case Kind::Rect: return rect.Name();
    case Kind::Scalar: break;
  }
  return scalar.Name();
}

KL3_HANDLE OptionRecord::Handle() const {
  switch (kind) {
    case Kind::Enum: return enumerated.Handle();
    case Kind::Rect: return rect.Handle();
    case Kind::Scalar: break;
  }
  return scalar.Handle();
}

bool OptionRecord::SetRelativeValue(std::int32_t delta, bool linear) {
  if (kind != Kind::Scalar) return false;
  return scalar.SetRelativeValue(delta, linear);
}

bool OptionRecord::ReadFromInterface() {
  switch (kind) {
    case Kind::Enum: return enumerated.ReadFromInterface();
    case Kind::Rect: return rect.ReadFromInterface();
    case Kind::Scalar: break;
  }
  return scalar.ReadFromInterface();
}

const NameEntry* OptionRecord::FindName(std::int32_t id) const {
  for (const auto& n : names)
    if (n.id == id) return &n;
  return nullptr;
}

const NameEntry* OptionRecord::FindText(std::string_view cp1251) const {
  for (const auto& n : names)
    if (plat::utf8ToCp1251(n.text) == cp1251) return &n;
  return nullptr;
}

}  // namespace Options
