#include "platform/com/co_create.h"
#include "platform/com/co_create_builtin.h"
#include "platform/com/cunknown.h"
#include "platform/com/standard_classes.h"
#include "tests/platform/com/co_create_test_support.h"

namespace {

constexpr CLSID kBuiltin{0x5A1E0C01, 0x3B7D, 0x4E2A, {0x9C, 0x11, 0x42, 0x7F, 0x20, 0, 0, 1}};
constexpr CLSID kNotBuiltin{0x5A1E0C01, 0x3B7D, 0x4E2A, {0x9C, 0x11, 0x42, 0x7F, 0x20, 0, 0, 2}};

int gAlive = 0;

class BuiltinCounter final : public CUnknown, public ITestCounter {
 public:
  BuiltinCounter() : CUnknown("BuiltinCounter", nullptr) { ++gAlive; }
  ~BuiltinCounter() override { --gAlive; }
  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_ITestCounter) return GetInterface(static_cast<ITestCounter*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }
  HRESULT Add(LONG) override { return S_OK; }
  HRESULT Value(LONG* v) override {
    *v = 7;
    return S_OK;
  }
};

IUnknown* createBuiltin(IUnknown*, HRESULT*) { return (new BuiltinCounter)->GetNonDelegatingUnknown(); }

IUnknown* failToInitialise(IUnknown*, HRESULT* hr) {
  *hr = E_ACCESSDENIED;
  return (new BuiltinCounter)->GetNonDelegatingUnknown();
}

using BuiltinTest = ServerTest;

TEST_F(BuiltinTest, PlatformPathIsTheLoadedLibrary) {
  const std::string& path = plat::platformModulePath();
  EXPECT_EQ(std::filesystem::path(path).filename(), "libkelplatform.so");
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_TRUE(isLoaded(path));
  EXPECT_TRUE(plat::isPlatformModule("/usr/lib/kelorvo/libkelplatform.so"));
  EXPECT_FALSE(plat::isPlatformModule(server_));
}

TEST_F(BuiltinTest, BuiltinClassesAreMadeInProcessWhenRegisteredForThePlatform) {
  plat::registerBuiltinClass(kBuiltin, createBuiltin);
  ComPtr<ITestCounter> counter;
  EXPECT_EQ(CoCreateInstance(kBuiltin, nullptr, CLSCTX_ALL, IID_ITestCounter, counter.putVoid()),
            REGDB_E_CLASSNOTREG)
      << "built in, but not in the registry";

  registerServerFor(kBuiltin, plat::platformModulePath());
  ASSERT_EQ(CoCreateInstance(kBuiltin, nullptr, CLSCTX_ALL, IID_ITestCounter, counter.putVoid()), S_OK)
      << plat::lastCoCreateError();
  LONG v = 0;
  counter->Value(&v);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(gAlive, 1);
  counter.reset();
  EXPECT_EQ(gAlive, 0);

  registerServerFor(kNotBuiltin, plat::platformModulePath());
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kNotBuiltin, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(p, nullptr);
}

TEST_F(BuiltinTest, AnObjectThatFailsToInitialiseIsDestroyed) {
  plat::registerBuiltinClass(kBuiltin, failToInitialise);
  registerServerFor(kBuiltin, plat::platformModulePath());
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kBuiltin, nullptr, CLSCTX_ALL, IID_ITestCounter, &p), E_ACCESSDENIED);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(gAlive, 0);
}

TEST_F(BuiltinTest, StandardClassesAreRegisteredForThePlatformAndRemoved) {
  ASSERT_EQ(registry_.setValue("CLSID\\{other}", "", std::string("kept")), S_OK);
  plat::RegKey before;
  ASSERT_EQ(registry_.snapshot(before), S_OK);

  ASSERT_EQ(plat::registerStandardClasses(false), S_OK) << plat::lastRegistryError();
  const CLSID all[] = {CLSID_FilterGraph, CLSID_VideoMixingRenderer, CLSID_AviDest,
                       CLSID_FileWriter,  CLSID_SmartTee,            CLSID_SystemDeviceEnum};
  for (const CLSID& clsid : all) {
    const std::string key = "CLSID\\" + plat::guidToString(clsid);
    std::string text;
    EXPECT_EQ(registry_.getString(key, "", text), S_OK) << key;
    EXPECT_FALSE(text.empty()) << key;
    EXPECT_EQ(registry_.getString(key + "\\InprocServer32", "", text), S_OK);
    EXPECT_EQ(text, plat::platformModulePath());
    EXPECT_EQ(registry_.getString(key + "\\InprocServer32", "ThreadingModel", text), S_OK);
    EXPECT_EQ(text, "Both");
  }
  EXPECT_EQ(registry_.keyExists("CLSID\\{E436EBB3-524F-11CE-9F53-0020AF0BA770}"), S_OK);
  EXPECT_EQ(registry_.keyExists("CLSID\\{62BE5D10-60EB-11D0-BD3B-00A0C911CE86}\\InprocServer32"), S_OK);

  ASSERT_EQ(plat::registerStandardClasses(true), S_OK);
  plat::RegKey after;
  ASSERT_EQ(registry_.snapshot(after), S_OK);
  EXPECT_EQ(after, before);
}

}  // namespace
