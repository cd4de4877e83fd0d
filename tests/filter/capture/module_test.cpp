// The module kelorvomt.ax: what registration writes and removes, and that
// the module stays loaded exactly while something of it is alive.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/com/class_registry.h"
#include "platform/com/co_create.h"
#include "platform/com/guid.h"
#include "platform/com/registration.h"
#include "platform/dshow/guids.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/camera_host.h"
#include "tests/filter/capture/graph_rig.h"

namespace kel::test {
namespace {

std::string modulePath() { return (binDir() / "kelorvomt.ax").string(); }

bool moduleLoaded() {
  void* handle = dlopen(modulePath().c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

TEST(CaptureModule, RegistersTheClassAndItsFilterEntryAndRemovesBoth) {
  CaptureHost host;
  auto registry = plat::ClassRegistry::user();
  const std::string clsid = "CLSID\\" + plat::guidToString(CLSID_KelOrvoSource);
  std::string text;
  ASSERT_EQ(registry.getString(clsid, "", text), S_OK);
  EXPECT_EQ(text, "KelOrvoSource Filter");
  ASSERT_EQ(registry.getString(clsid + "\\InprocServer32", "", text), S_OK);
  EXPECT_EQ(text, modulePath());
  ASSERT_EQ(registry.getString(clsid + "\\InprocServer32", "ThreadingModel", text), S_OK);
  EXPECT_EQ(text, "Both");

  const std::string instance = plat::filterInstanceKey(CLSID_KelOrvoSource);
  std::uint32_t merit = 0, output = 0, rendered = 1, zero = 1, many = 1;
  ASSERT_EQ(registry.getDword(instance, "Merit", merit), S_OK);
  EXPECT_EQ(merit, 0x200000u);
  ASSERT_EQ(registry.getString(instance, "FriendlyName", text), S_OK);
  EXPECT_EQ(text, "KelOrvoSource Filter");
  const std::string pin = instance + "\\Pins\\0";
  ASSERT_EQ(registry.getString(pin, "Name", text), S_OK);
  EXPECT_EQ(text, "Output");
  ASSERT_EQ(registry.getDword(pin, "Output", output), S_OK);
  ASSERT_EQ(registry.getDword(pin, "Rendered", rendered), S_OK);
  ASSERT_EQ(registry.getDword(pin, "ZeroInstances", zero), S_OK);
  ASSERT_EQ(registry.getDword(pin, "Many", many), S_OK);
  EXPECT_EQ(output * 1000 + rendered * 100 + zero * 10 + many, 1000u);
  ASSERT_EQ(registry.getString(pin + "\\Types\\0", "MajorType", text), S_OK);
  EXPECT_EQ(text, plat::guidToString(MEDIATYPE_Video));
  ASSERT_EQ(registry.getString(pin + "\\Types\\0", "SubType", text), S_OK);
  EXPECT_EQ(text, plat::guidToString(GUID_NULL));

  std::string reason;
  ASSERT_EQ(plat::registerModule(modulePath(), true, reason), S_OK) << reason;
  EXPECT_EQ(registry.keyExists(clsid), S_FALSE);
  EXPECT_EQ(registry.keyExists(instance), S_FALSE);
  ComPtr<ICamera2> camera;
  EXPECT_EQ(CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_INPROC_SERVER, IID_ICamera2, camera.putVoid()),
            REGDB_E_CLASSNOTREG);
}

// DllCanUnloadNow of the loaded module.
HRESULT canUnloadNow() {
  void* handle = dlopen(modulePath().c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return E_FAIL;
  auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllCanUnloadNow"));
  const HRESULT hr = entry ? entry() : E_FAIL;
  dlclose(handle);
  return hr;
}

TEST(CaptureModule, CanUnloadOnlyWhenNoFilterOrPropertyObjectIsLeft) {
  CaptureHost host;
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  ComPtr<IScalarProperty> gain;
  ASSERT_EQ(camera->GetScalar(0x40000a, 0, gain.put()), S_OK);
  CoFreeUnusedLibraries();
  ASSERT_TRUE(moduleLoaded());
  EXPECT_EQ(canUnloadNow(), S_FALSE);
  camera.reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "the property object still counts";
  gain.reset();
  EXPECT_EQ(canUnloadNow(), S_OK);
  CoFreeUnusedLibraries();
  EXPECT_FALSE(moduleLoaded()) << "nothing pins the module once its objects are gone";
}

TEST(CaptureModule, UnloadsAfterItsPinHasStreamed) {
  {
    GraphRig rig;
    ASSERT_EQ(rig.build(MODE_Setup), S_OK);
    ASSERT_EQ(rig.run(), S_OK);
    plat::VideoFrame frame;
    ASSERT_TRUE(rig.nextFrame(frame));
    ASSERT_TRUE(rig.stop());
  }
  CoFreeUnusedLibraries();
  EXPECT_FALSE(moduleLoaded()) << "the streaming thread left nothing of the module behind";
}

}  // namespace
}  // namespace kel::test
