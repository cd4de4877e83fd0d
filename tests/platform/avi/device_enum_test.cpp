// The device enumerator's compressor list and the compressors' settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "platform/avi/save_interfaces.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/interfaces.h"
#include "platform/graph/graph_topology.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

class DeviceEnumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(plat::registerStandardClasses(false), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, devices_.putVoid()),
              S_OK)
        << plat::lastCoCreateError();
  }

  ComPtr<IEnumMoniker> compressors() {
    ComPtr<IEnumMoniker> monikers;
    EXPECT_EQ(devices_->CreateClassEnumerator(CLSID_VideoCompressorCategory, monikers.put(), 0), S_OK);
    return monikers;
  }

  static std::u16string friendlyName(IMoniker* moniker) {
    ComPtr<IPropertyBag> bag;
    EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(bag->Read(u"FriendlyName", &value, nullptr), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    std::u16string name = value.vt == VT_BSTR ? value.bstrVal : u"";
    VariantClear(&value);
    return name;
  }

  ComPtr<IBaseFilter> bind(const std::u16string& name) {
    auto monikers = compressors();
    ComPtr<IMoniker> moniker;
    while (monikers && monikers->Next(1, moniker.put(), nullptr) == S_OK) {
      if (friendlyName(moniker.get()) != name) continue;
      ComPtr<IBaseFilter> filter;
      EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid()), S_OK);
      return filter;
    }
    return {};
  }

  TempDir dir_;
  ScopedEnv env_{"KELORVO_REGISTRY", (dir_ / "registry").string()};
  ComPtr<ICreateDevEnum> devices_;
};

TEST_F(DeviceEnumTest, ListsTheAvailableCompressorsByNameAndBindsEachToAFilter) {
  std::vector<std::u16string> expected = {u"FFV1 (без потерь)", u"UT Video (без потерь)", u"Motion JPEG"};
  if (avcodec_find_encoder_by_name("libx264")) expected.push_back(u"H.264");
  auto monikers = compressors();
  ASSERT_TRUE(monikers);
  std::vector<std::u16string> names;
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    names.push_back(friendlyName(moniker.get()));
    ComPtr<IBaseFilter> first, second;
    ASSERT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, first.putVoid()), S_OK);
    ASSERT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, second.putVoid()), S_OK);
    EXPECT_NE(first.get(), second.get());  // a new filter for each graph
    const auto pins = plat::pinsOf(first.get());
    ASSERT_EQ(pins.size(), 2u);
    EXPECT_EQ(plat::directionOf(pins[0].get()), PINDIR_INPUT);
    EXPECT_EQ(plat::directionOf(pins[1].get()), PINDIR_OUTPUT);
    LPOLESTR display = nullptr;
    ASSERT_EQ(moniker->GetDisplayName(nullptr, nullptr, &display), S_OK);
    EXPECT_EQ(std::u16string(display).rfind(u"@device:cm:{33D9A760-90C8-11D0-BD43-00A0C911CE86}\\", 0), 0u);
    CoTaskMemFree(display);
  }
  EXPECT_EQ(names, expected);
}

TEST_F(DeviceEnumTest, EnumeratorPositionsAndOtherCategories) {
  auto monikers = compressors();
  ASSERT_TRUE(monikers);
  IMoniker* batch[8] = {};
  ULONG fetched = 0;
  EXPECT_EQ(monikers->Next(8, batch, &fetched), S_FALSE);
  const ULONG total = fetched;
  for (ULONG i = 0; i < fetched; ++i) batch[i]->Release();
  EXPECT_GE(total, 2u);
  EXPECT_EQ(monikers->Reset(), S_OK);
  EXPECT_EQ(monikers->Skip(total - 1), S_OK);
  ComPtr<IEnumMoniker> clone;
  ASSERT_EQ(monikers->Clone(clone.put()), S_OK);
  EXPECT_EQ(clone->Next(8, batch, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  batch[0]->Release();
  EXPECT_EQ(monikers->Skip(5), S_FALSE);

  ComPtr<IEnumMoniker> none;
  const CLSID audioCompressors{0x33D9A761, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
  EXPECT_EQ(devices_->CreateClassEnumerator(audioCompressors, none.put(), 0), S_FALSE);
  EXPECT_FALSE(none);
}

TEST_F(DeviceEnumTest, PropertyBagIsReadOnlyAndAnswersOnlyItsName) {
  auto monikers = compressors();
  ComPtr<IMoniker> moniker;
  ASSERT_EQ(monikers->Next(1, moniker.put(), nullptr), S_OK);
  ComPtr<IPropertyBag> bag;
  ASSERT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
  VARIANT value;
  VariantInit(&value);
  EXPECT_TRUE(FAILED(bag->Read(u"Description", &value, nullptr)));
  value.vt = VT_I4;
  EXPECT_EQ(bag->Read(u"FriendlyName", &value, nullptr), DISP_E_TYPEMISMATCH);
  VariantInit(&value);
  EXPECT_TRUE(FAILED(bag->Write(u"FriendlyName", &value)));
  ComPtr<IUnknown> storage;
  EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IBaseFilter, storage.putVoid()), E_NOINTERFACE);
}

TEST_F(DeviceEnumTest, QualityCompressorsCarryTheirSettingsThroughTheDialogState) {
  auto mjpeg = bind(u"Motion JPEG");
  ASSERT_TRUE(mjpeg);
  ComPtr<IAMVfwCompressDialogs> dialogs;
  ASSERT_EQ(mjpeg.as(IID_IAMVfwCompressDialogs, dialogs), S_OK);
  EXPECT_EQ(dialogs->ShowDialog(VfwCompressDialog_QueryConfig, nullptr), S_OK);
  EXPECT_EQ(dialogs->ShowDialog(VfwCompressDialog_Config, nullptr), E_NOTIMPL);

  ComPtr<IKelCompressorSettings> settings;
  ASSERT_EQ(mjpeg.as(IID_IKelCompressorSettings, settings), S_OK);
  int size = 0;
  ASSERT_EQ(dialogs->GetState(nullptr, &size), S_OK);
  std::vector<char> saved(static_cast<std::size_t>(size));
  ASSERT_EQ(settings->SetQuality(40), S_OK);
  ASSERT_EQ(dialogs->GetState(saved.data(), &size), S_OK);
  ASSERT_EQ(settings->SetQuality(95), S_OK);
  ASSERT_EQ(dialogs->SetState(saved.data(), size), S_OK);
  LONG quality = 0;
  ASSERT_EQ(settings->GetQuality(&quality), S_OK);
  EXPECT_EQ(quality, 40);

  EXPECT_EQ(settings->SetQuality(0), E_INVALIDARG);
  EXPECT_EQ(settings->SetQuality(101), E_INVALIDARG);
  std::vector<char> garbage(saved.size(), 'x');
  EXPECT_EQ(dialogs->SetState(garbage.data(), size), E_INVALIDARG);
  EXPECT_EQ(dialogs->SetState(saved.data(), size - 1), E_INVALIDARG);
  int tooSmall = size - 1;
  EXPECT_EQ(dialogs->GetState(saved.data(), &tooSmall), E_INVALIDARG);

  // The lossless compressor has nothing to set.
  auto ffv1 = bind(u"FFV1 (без потерь)");
  ASSERT_TRUE(ffv1);
  ComPtr<IAMVfwCompressDialogs> none;
  EXPECT_EQ(ffv1.as(IID_IAMVfwCompressDialogs, none), E_NOINTERFACE);
}

}  // namespace
}  // namespace kel::test
