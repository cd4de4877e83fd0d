#include "shell/graph/CompressorList.h"

#include "platform/avi/save_interfaces.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/com/variant.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/ComErr.h"
#include "shell/graph/graph_pins.h"

using COMERR::Check;

namespace CompressorList {
namespace {

std::u16string friendlyName(IMoniker* moniker) {
  ComPtr<IPropertyBag> bag;
  Check(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()));
  VARIANT value;
  VariantInit(&value);
  Check(bag->Read(u"FriendlyName", &value, nullptr));
  std::u16string name;
  if (value.vt == VT_BSTR && value.bstrVal) name.assign(value.bstrVal, SysStringLen(value.bstrVal));
  VariantClear(&value);
  return name;
}

}  // namespace

void Enumerate(IBaseFilter* camera, IPin* cameraPin, std::vector<CompressorEntry>& list) {
  list.clear();
  ComPtr<IGraphBuilder> scratch;
  Check(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, scratch.putVoid()));
  Check(scratch->AddFilter(camera, u"Source"));
  ComPtr<ICreateDevEnum> devices;
  Check(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, devices.putVoid()));
  ComPtr<IEnumMoniker> monikers;
  Check(devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, monikers.put(), 0));
  ComPtr<IMoniker> moniker;
  // An empty category gives no enumerator at all.
  while (monikers && monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    ComPtr<IBaseFilter> compressor;
    if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, compressor.putVoid()))) continue;
    const std::u16string name = friendlyName(moniker.get());
    if (FAILED(scratch->AddFilter(compressor.get(), name.c_str()))) continue;
    ComPtr<IPin> input;
    try {
      input = GraphPins::FindFreePin(compressor.get(), PINDIR_INPUT);
    } catch (const COMERR::CErrorBase&) {
      input = nullptr;  // a compressor without an input cannot take the camera
    }
    if (input && SUCCEEDED(scratch->Connect(cameraPin, input.get())))
      list.push_back({plat::utf16ToUtf8(name), compressor});
    GraphPins::RemoveAllFilters(scratch.get(), camera);
  }
  // The camera goes back to the shell's own graph later.
  Check(scratch->RemoveFilter(camera));
}

}  // namespace CompressorList
