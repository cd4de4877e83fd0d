#include "platform/com/standard_classes.h"

#include "platform/com/co_create.h"
#include "platform/com/registration.h"

namespace plat {

HRESULT registerStandardClasses(bool unregister) {
  const ClassEntry classes[] = {
      {CLSID_FilterGraph, "Filter Graph"},
      {CLSID_VideoMixingRenderer, "Video Mixing Renderer Filter"},
      {CLSID_AviDest, "AVI Mux"},
      {CLSID_FileWriter, "File writer"},
      {CLSID_SmartTee, "Smart Tee"},
      {CLSID_SystemDeviceEnum, "System Device Enum"},
  };
  return registerClasses(classes, platformModulePath(), unregister);
}

}  // namespace plat
