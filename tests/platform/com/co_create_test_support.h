// Registering the test server's classes by hand and looking at the loader.
#pragma once

#include <dlfcn.h>

#include "platform/com/guid.h"
#include "tests/platform/com/registry_test_env.h"
#include "tests/platform/com/test_server/test_server.h"

inline std::string testModule(const char* file) {
  return std::filesystem::weakly_canonical(kel::test::binDir() / file).string();
}

// Whether the loader has the module mapped, without loading it.
inline bool isLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// What the loaded test server's DllCanUnloadNow looks at; false when it is
// not loaded.
inline bool serverCounts(const std::string& path, long& objects, long& locks) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  auto counts = reinterpret_cast<TestServerCountsFn>(dlsym(handle, "TestServerCounts"));
  if (counts) counts(&objects, &locks);
  dlclose(handle);
  return counts != nullptr;
}

class ServerTest : public RegistryTest {
 protected:
  void registerServerFor(const CLSID& clsid, const std::string& module) {
    ASSERT_EQ(registry_.setValue("CLSID\\" + plat::guidToString(clsid) + "\\InprocServer32", "", module), S_OK);
  }
  const std::string server_ = testModule(kTestServerFile);
};
