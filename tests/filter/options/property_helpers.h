// Property objects for the tests, obtained the way the camera interface
// obtains them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "filter/acquisition/System.h"
#include "filter/options/create_property.h"
#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shared/property_interfaces.h"

namespace kel::test {

inline std::unique_ptr<Orvo::System> openSystem() {
  auto s = std::make_unique<Orvo::System>(3);
  s->Init(0);
  return s;
}

template <class I>
ComPtr<I> property(Orvo::System& system, Options::Kind kind, REFIID iid, std::uint32_t id, std::uint32_t index = 0) {
  ComPtr<I> p;
  EXPECT_EQ(Options::createProperty(&system.Catalogue(), kind, id, index, iid, p.putVoid()), S_OK);
  return p;
}

inline ComPtr<IScalarProperty> scalarProperty(Orvo::System& s, std::uint32_t id, std::uint32_t index = 0) {
  return property<IScalarProperty>(s, Options::Kind::Scalar, IID_IScalarProperty, id, index);
}
inline ComPtr<IEnumProperty> enumProperty(Orvo::System& s, std::uint32_t id) {
  return property<IEnumProperty>(s, Options::Kind::Enum, IID_IEnumProperty, id);
}
inline ComPtr<IRectProperty> rectProperty(Orvo::System& s, std::uint32_t id) {
  return property<IRectProperty>(s, Options::Kind::Rect, IID_IRectProperty, id);
}

inline std::string utf8(const plat::Bstr& b) { return plat::utf16ToUtf8(b.view()); }
inline plat::Bstr bstr(const std::string& utf8Text) { return plat::Bstr(plat::utf8ToUtf16(utf8Text)); }

}  // namespace kel::test
