// Property objects as COM objects: creation, interfaces, reference counts,
// the module's object count and argument checks.
#include <gtest/gtest.h>

#include "filter/options/module_count.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/options/property_helpers.h"

namespace {

using kel::test::CameraEnv;
using Options::Kind;

// Counts the objects of a pretend module for one test.
class ModuleCount {
 public:
  ModuleCount() { Options::setModuleRefCount(&count); }
  ~ModuleCount() { Options::setModuleRefCount(nullptr); }
  plat::ModuleRefCount count;
};

TEST(PropertyObject, HandedOutWithOneReferenceAndDeletedAtZero) {
  CameraEnv camera;
  ModuleCount module;
  auto system = kel::test::openSystem();
  IScalarProperty* p = nullptr;
  ASSERT_EQ(Options::createProperty(&system->Catalogue(), Kind::Scalar, 0x400002, 0, IID_IScalarProperty,
                                    reinterpret_cast<void**>(&p)),
            S_OK);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(module.count.objects(), 1);
  EXPECT_EQ(module.count.canUnloadNow(), S_FALSE);
  EXPECT_EQ(p->AddRef(), 2u);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown->Release(), 2u);
  EXPECT_EQ(p->Release(), 1u);
  EXPECT_EQ(p->Release(), 0u);
  EXPECT_EQ(module.count.objects(), 0);
  EXPECT_EQ(module.count.canUnloadNow(), S_OK);
}

TEST(PropertyObject, AnswersOnlyIUnknownAndItsOwnInterface) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto scalar = kel::test::scalarProperty(*system, 0x400002);
  auto enumerated = kel::test::enumProperty(*system, 0x400011);
  auto rect = kel::test::rectProperty(*system, 0x400006);
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(scalar->QueryInterface(IID_IEnumProperty, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(enumerated->QueryInterface(IID_IRectProperty, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(rect->QueryInterface(IID_IScalarProperty, &out), E_NOINTERFACE);
  EXPECT_EQ(scalar->QueryInterface(IID_IScalarProperty, nullptr), E_POINTER);
  ComPtr<IEnumProperty> again;
  EXPECT_EQ(enumerated.as(IID_IEnumProperty, again), S_OK);
  EXPECT_EQ(again.get(), enumerated.get());
}

TEST(PropertyObject, CreationFailures) {
  CameraEnv camera;
  ModuleCount module;
  auto system = kel::test::openSystem();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(Options::createProperty(nullptr, Kind::Scalar, 0x400002, 0, IID_IScalarProperty, &out), E_NOINTERFACE)
      << "camera not open";
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(Options::createProperty(&system->Catalogue(), Kind::Scalar, 0x400099, 0, IID_IScalarProperty, &out),
            E_NOINTERFACE);
  EXPECT_EQ(Options::createProperty(&system->Catalogue(), Kind::Scalar, 0x400002, 5, IID_IScalarProperty, &out),
            E_NOINTERFACE);
  // An interface the object does not have: refused, and the object is gone.
  EXPECT_EQ(Options::createProperty(&system->Catalogue(), Kind::Scalar, 0x400002, 0, IID_IRectProperty, &out),
            E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(module.count.objects(), 0);
  EXPECT_EQ(Options::createProperty(&system->Catalogue(), Kind::Scalar, 0x400002, 0, IID_IScalarProperty, nullptr),
            E_POINTER);
}

TEST(PropertyObject, NullOutputsAndFixedDescriptions) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto scalar = kel::test::scalarProperty(*system, 0x400002);
  auto enumerated = kel::test::enumProperty(*system, 0x400011);
  auto rect = kel::test::rectProperty(*system, 0x400006);
  EXPECT_EQ(scalar->GetValue(nullptr, 1), E_POINTER);
  EXPECT_EQ(scalar->GetMinValue(nullptr, 0), E_POINTER);
  EXPECT_EQ(scalar->GetName(nullptr), E_POINTER);
  EXPECT_EQ(scalar->GetUnits(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(scalar->GetUnitId(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(enumerated->GetValue(nullptr), E_POINTER);
  EXPECT_EQ(enumerated->GetName(nullptr), E_POINTER);
  EXPECT_EQ(rect->GetErrorDescription(nullptr), E_POINTER);

  EXPECT_EQ(scalar->IsValid(3), S_OK);
  plat::Bstr a, b, c;
  EXPECT_EQ(scalar->GetErrorDescription(a.put()), S_OK);
  EXPECT_EQ(enumerated->GetErrorDescription(b.put()), S_OK);
  EXPECT_EQ(rect->GetErrorDescription(c.put()), S_OK);
  EXPECT_EQ(a.str(), u"OptionScalar:No implementation");
  EXPECT_EQ(b.str(), u"OptionEnum:No implementation");
  EXPECT_EQ(c.str(), u"OptionRect:No implementation");
}

}  // namespace
