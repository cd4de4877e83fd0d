// A small in-process server: two classes counting up from different
// starting values, the second also registered as a filter.
#include "platform/com/factory_exports.h"
#include "tests/platform/com/test_server/test_server.h"

namespace {

plat::ModuleRefCount gModule;

class TestCounter final : public CUnknown, public ITestCounter {
 public:
  TestCounter(IUnknown* outer, LONG start) : CUnknown("TestCounter", outer, &gModule), value_(start) {}

  DECLARE_IUNKNOWN

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_ITestCounter) return GetInterface(static_cast<ITestCounter*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }

  HRESULT Add(LONG amount) override {
    value_ += amount;
    return S_OK;
  }
  HRESULT Value(LONG* value) override {
    if (!value) return E_POINTER;
    *value = value_;
    return S_OK;
  }

 private:
  LONG value_;
};

IUnknown* createCounter(IUnknown* outer, HRESULT*) {
  return (new TestCounter(outer, 0))->GetNonDelegatingUnknown();
}

IUnknown* createSource(IUnknown* outer, HRESULT*) {
  return (new TestCounter(outer, 100))->GetNonDelegatingUnknown();
}

constexpr GUID kMediaTypeVideo{0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const AMOVIESETUP_MEDIATYPE kPinTypes[] = {{&kMediaTypeVideo, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {u"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kPinTypes}};
const AMOVIESETUP_FILTER kSourceSetup = {&CLSID_TestSource, u"Test Source «Фильтр»", MERIT_DO_NOT_USE, 1, kPins};

const CFactoryTemplate kTemplates[] = {
    {u"Test Counter", &CLSID_TestCounter, createCounter, nullptr},
    {u"Test Source «Фильтр»", &CLSID_TestSource, createSource, &kSourceSetup},
};

}  // namespace

KEL_COM_MODULE_EXPORTS(kTemplates, gModule)

extern "C" void TestServerCounts(long* objects, long* locks) {
  *objects = gModule.objects();
  *locks = gModule.locks();
}
