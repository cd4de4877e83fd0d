#include "tests/platform/avi/save_graph_fixture.h"

#include "platform/dshow/guids.h"

namespace kel::test {

ComPtr<IBaseFilter> SaveGraphTest::compressorNamed(const std::u16string& name) {
  ComPtr<ICreateDevEnum> devices;
  EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, devices.putVoid()), S_OK);
  ComPtr<IEnumMoniker> monikers;
  if (!devices || devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, monikers.put(), 0) != S_OK) return {};
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()))) continue;
    VARIANT value;
    VariantInit(&value);
    const bool match = bag->Read(u"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR &&
                       std::u16string(value.bstrVal) == name;
    VariantClear(&value);
    if (!match) continue;
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid()), S_OK);
    return filter;
  }
  return {};
}

void SaveGraphTest::build(const SaveSourceConfig& config, IBaseFilter* compressor, const std::filesystem::path& file,
                          IBaseFilter* preview) {
  source_ = SaveSource::create(config, &stream_);
  tee_ = create(CLSID_SmartTee);
  mux_ = create(CLSID_AviDest);
  writer_ = create(CLSID_FileWriter);
  if (preview) {
    renderer_ = ComPtr<IBaseFilter>(preview);
  } else {
    renderer_ = create(CLSID_VideoMixingRenderer);
  }
  ASSERT_TRUE(tee_ && mux_ && writer_ && renderer_);
  ASSERT_EQ(graph_->AddFilter(source_.get(), u"Camera"), S_OK);
  ASSERT_EQ(graph_->AddFilter(tee_.get(), u"SmartTee"), S_OK);
  ASSERT_EQ(graph_->Connect(pin(source_.get(), 0).get(), pin(tee_.get(), 0).get()), S_OK);
  if (compressor) {
    ASSERT_EQ(graph_->AddFilter(compressor, u"Compressor"), S_OK);
    ASSERT_EQ(graph_->Connect(pin(tee_.get(), 1).get(), pin(compressor, 0).get()), S_OK);
    ASSERT_EQ(graph_->AddFilter(mux_.get(), u"AVIMux"), S_OK);
    ASSERT_EQ(graph_->Connect(pin(compressor, 1).get(), pin(mux_.get(), 0).get()), S_OK);
  } else {
    ASSERT_EQ(graph_->AddFilter(mux_.get(), u"AVIMux"), S_OK);
    ASSERT_EQ(graph_->Connect(pin(tee_.get(), 1).get(), pin(mux_.get(), 0).get()), S_OK);
  }
  ASSERT_EQ(graph_->AddFilter(renderer_.get(), u"Renderer"), S_OK);
  ASSERT_EQ(graph_->Connect(pin(tee_.get(), 2).get(), pin(renderer_.get(), 0).get()), S_OK);
  ASSERT_EQ(graph_->AddFilter(writer_.get(), u"FileWriter"), S_OK);

  AM_MEDIA_TYPE mt{};
  mt.majortype = MEDIATYPE_Stream;
  mt.subtype = MEDIASUBTYPE_Avi;
  ComPtr<IFileSinkFilter> sink;
  ASSERT_EQ(writer_.as(IID_IFileSinkFilter, sink), S_OK);
  ASSERT_EQ(sink->SetFileName(file.u16string().c_str(), &mt), S_OK);
  ASSERT_EQ(graph_->ConnectDirect(pin(mux_.get(), 1).get(), pin(writer_.get(), 0).get(), &mt), S_OK);
}

Event3 SaveGraphTest::waitForEnd() {
  for (;;) {
    Event3 e{};
    // A bound against a hang, never a pacing wait: the run ends by itself.
    if (events_->GetEvent(&e.code, &e.p1, &e.p2, 120000) != S_OK) return Event3{-1, 0, 0};
    if (e.code == EC_COMPLETE || e.code == EC_ERRORABORT || e.code == EC_USERABORT) return e;
  }
}

std::vector<Event3> SaveGraphTest::queuedEvents() {
  std::vector<Event3> found;
  Event3 e{};
  while (events_->GetEvent(&e.code, &e.p1, &e.p2, 0) == S_OK) found.push_back(e);
  return found;
}

}  // namespace kel::test
