#include <fstream>

#include "platform/com/co_create.h"
#include "tests/platform/com/co_create_test_support.h"

namespace {

constexpr IID kUnknownIid{0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};

class CoCreateTest : public ServerTest {
 protected:
  void SetUp() override {
    registerServerFor(CLSID_TestCounter, server_);
    registerServerFor(CLSID_TestSource, server_);
  }
};

TEST_F(CoCreateTest, CreatesThroughTheRegistryAndUnloadsWhenUnused) {
  EXPECT_FALSE(isLoaded(server_));
  ComPtr<ITestCounter> counter;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ITestCounter, counter.putVoid()), S_OK)
      << plat::lastCoCreateError();
  ComPtr<ITestCounter> source;
  ASSERT_EQ(CoCreateInstance(CLSID_TestSource, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter, source.putVoid()),
            S_OK);
  ASSERT_EQ(counter->Add(5), S_OK);
  LONG a = 0, b = 0;
  counter->Value(&a);
  source->Value(&b);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 100) << "each class gets its own creation function";

  CoFreeUnusedLibraries();
  EXPECT_TRUE(isLoaded(server_)) << "objects are alive";
  counter.reset();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(isLoaded(server_)) << "one object is still alive";
  source.reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(isLoaded(server_));

  // And it comes back on demand.
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ITestCounter, counter.putVoid()), S_OK);
  EXPECT_TRUE(isLoaded(server_));
}

TEST_F(CoCreateTest, LockServerKeepsTheModuleLoaded) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, IID_IClassFactory, factory.putVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  CoFreeUnusedLibraries();
  ASSERT_TRUE(isLoaded(server_)) << "a server lock is held";

  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, IID_IClassFactory, factory.putVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), E_UNEXPECTED) << "no lock is left to undo";
  CoFreeUnusedLibraries();
  EXPECT_TRUE(isLoaded(server_)) << "the factory itself is alive";
  factory.reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(isLoaded(server_));
}

TEST_F(CoCreateTest, WrongInterfaceGivesNullAndDestroysTheObject) {
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, kUnknownIid, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, kUnknownIid, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  long objects = -1, locks = -1;
  ASSERT_TRUE(serverCounts(server_, objects, locks));
  EXPECT_EQ(objects, 0);
  EXPECT_EQ(locks, 0);
  CoFreeUnusedLibraries();
  EXPECT_FALSE(isLoaded(server_));
}

TEST_F(CoCreateTest, NullOutPointers) {
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ITestCounter, nullptr), E_POINTER);
  EXPECT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, IID_IClassFactory, nullptr), E_POINTER);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, IID_IClassFactory, factory.putVoid()), S_OK);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_ITestCounter, nullptr), E_POINTER);
  EXPECT_EQ(factory->QueryInterface(IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(CoCreateTest, AggregationHandsOutOnlyTheInnerUnknown) {
  // Any IUnknown will do as the outer object for the factory's checks.
  ComPtr<ITestCounter> outer;
  ASSERT_EQ(CoCreateInstance(CLSID_TestSource, nullptr, CLSCTX_ALL, IID_ITestCounter, outer.putVoid()), S_OK);
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, outer.get(), CLSCTX_ALL, IID_ITestCounter, &p),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(p, nullptr);
  ComPtr<IUnknown> inner;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, outer.get(), CLSCTX_ALL, IID_IUnknown, inner.putVoid()), S_OK);
  ComPtr<ITestCounter> innerCounter;
  ASSERT_EQ(inner.as(IID_ITestCounter, innerCounter), S_OK);
  LONG v = -1;
  innerCounter->Value(&v);
  EXPECT_EQ(v, 0) << "the inner object's own interface, not the outer's";
}

TEST_F(CoCreateTest, UnknownClassAndContexts) {
  constexpr CLSID kNowhere{0xDEADBEEF, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kNowhere, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(p, nullptr);
  EXPECT_NE(plat::lastCoCreateError().find(plat::guidToString(kNowhere)), std::string::npos);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &p),
            REGDB_E_CLASSNOTREG);

  // A class key without a server is not a registered class either.
  ASSERT_EQ(registry_.createKey("CLSID\\" + plat::guidToString(kNowhere)), S_OK);
  EXPECT_EQ(CoCreateInstance(kNowhere, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
}

TEST_F(CoCreateTest, BadModulesAreReportedWithTheirReason) {
  constexpr CLSID kMissing{0xBAD00001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  constexpr CLSID kText{0xBAD00002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  constexpr CLSID kNoEntry{0xBAD00003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  const std::string missing = (dir_ / "gone.ax").string();
  const std::string text = (dir_ / "notes.ax").string();
  std::ofstream(text) << std::string(4096, 'x');
  registerServerFor(kMissing, missing);
  registerServerFor(kText, text);
  registerServerFor(kNoEntry, testModule(kTestNoEntryFile));

  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kMissing, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CO_E_DLLNOTFOUND);
  EXPECT_EQ(p, nullptr);
  EXPECT_NE(plat::lastCoCreateError().find(missing), std::string::npos);

  p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kText, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CO_E_ERRORINDLL);
  EXPECT_EQ(p, nullptr);
  const std::string loaderError = plat::lastCoCreateError();
  EXPECT_NE(loaderError.find(text + ": "), std::string::npos) << "the loader's reason follows the path";
  EXPECT_GT(loaderError.size(), loaderError.find(text + ": ") + text.size() + 2) << loaderError;

  p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(kNoEntry, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CO_E_ERRORINDLL);
  EXPECT_EQ(p, nullptr);
  EXPECT_NE(plat::lastCoCreateError().find("DllGetClassObject"), std::string::npos);
  EXPECT_FALSE(isLoaded(testModule(kTestNoEntryFile))) << "a module that is no server is let go";
}

TEST_F(CoCreateTest, CorruptRegistryIsAReadError) {
  std::ofstream(file_) << "[CLSID\n";
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_READREGDB);
  EXPECT_EQ(p, nullptr);
  EXPECT_NE(plat::lastCoCreateError().find(file_.string()), std::string::npos);
}

}  // namespace
