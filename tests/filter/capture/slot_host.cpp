// Test helper standing in for another process with a capture filter: it
// creates the filter through the class registry, reports every message box
// as "box CAPTION|TEXT", then "opened 1 controller N" or "opened 0", and
// holds the filter until its standard input closes.
#include <cstdio>
#include <string>

#include "filter/hardware/kellib3.h"
#include "platform/com/bstr_holder.h"
#include "platform/com/co_create.h"
#include "platform/kernel/text_codec.h"
#include "platform/win/message_box.h"
#include "shared/camera_interfaces.h"

namespace {

// The controller number from the camera's information list.
std::string controllerOf(ICamera2& camera) {
  const char* name = nullptr;
  KelLib3ListGetString(&name, 0x90000c, KelLib3ListGetStdListML(12, 1, 1));
  plat::Bstr list;
  if (!name || FAILED(camera.GetInfoList(list.put()))) return "?";
  const std::string text = plat::utf16ToUtf8(list.view());
  const std::string key = std::string(name) + "=";
  const auto at = text.find(key);
  if (at == std::string::npos) return "?";
  return text.substr(at + key.size(), text.find('\n', at) - at - key.size());
}

}  // namespace

int main() {
  plat::setMessageBoxHook([](const plat::MessageBoxRequest& r) {
    std::printf("box %s|%s\n", r.caption.c_str(), r.text.c_str());
    std::fflush(stdout);
    return IDOK;
  });
  CoInitialize(nullptr);
  {
    ComPtr<ICamera2> camera;
    const HRESULT hr =
        CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_INPROC_SERVER, IID_ICamera2, camera.putVoid());
    if (FAILED(hr)) {
      std::printf("failed %s\n", plat::lastCoCreateError().c_str());
      return 1;
    }
    if (camera->IsOpened())
      std::printf("opened 1 controller %s\n", controllerOf(*camera).c_str());
    else
      std::printf("opened 0\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
  }
  CoUninitialize();
  return 0;
}
