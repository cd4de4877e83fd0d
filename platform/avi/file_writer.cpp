#include "platform/avi/file_writer.h"

#include <cstring>

#include "platform/avi/file_writer_pin.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/dshow/media_type.h"
#include "platform/kernel/text_codec.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_FileWriter, &CFileWriter::CreateInstance);
  return true;
}();

}  // namespace

IUnknown* CFileWriter::CreateInstance(IUnknown* outer, HRESULT* phr) {
  HRESULT hr = S_OK;
  auto* writer = new CFileWriter(outer);
  writer->pin_ = std::make_unique<CFileWriterPin>(writer, &writer->filterLock_, &hr);
  if (phr) *phr = hr;
  return writer->GetNonDelegatingUnknown();
}

CFileWriter::CFileWriter(IUnknown* outer) : CBaseFilter("CFileWriter", outer, &filterLock_, CLSID_FileWriter) {}

CFileWriter::~CFileWriter() = default;

HRESULT CFileWriter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
  if (riid == IID_IKelSaveStatus) return GetInterface(static_cast<IKelSaveStatus*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CFileWriter::GetPin(int n) { return n == 0 ? pin_.get() : nullptr; }

HRESULT CFileWriter::Pause() {
  CAutoLock lock(&filterLock_);
  if (m_State == State_Stopped && pin_->IsConnected()) {
    std::lock_guard files(fileLock_);
    openFailure_ = {};
    lastFile_ = nullptr;
    if (name_.empty()) {
      openFailure_ = {E_UNEXPECTED, "No output file name has been set"};
      return openFailure_.hr;
    }
    file_ = plat::FileSink::create(std::filesystem::path(plat::utf16ToUtf8(name_)), &openFailure_);
    if (!file_) return openFailure_.hr;
    lastFile_ = file_;
  }
  return CBaseFilter::Pause();
}

HRESULT CFileWriter::Stop() {
  CAutoLock lock(&filterLock_);
  {
    // The multiplexer keeps its own reference until its film is finished.
    std::lock_guard files(fileLock_);
    file_ = nullptr;
  }
  return CBaseFilter::Stop();
}

std::shared_ptr<plat::FileSink> CFileWriter::runFile() {
  std::lock_guard files(fileLock_);
  return file_;
}

HRESULT CFileWriter::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) {
  if (!pszFileName) return E_POINTER;
  if (pmt && pmt->majortype != MEDIATYPE_Stream && pmt->majortype != GUID_NULL) return VFW_E_TYPE_NOT_ACCEPTED;
  std::u16string name(pszFileName);
  if (name.empty()) return E_INVALIDARG;
  CAutoLock lock(&filterLock_);
  if (m_State != State_Stopped) return VFW_E_NOT_STOPPED;
  std::lock_guard files(fileLock_);
  name_ = std::move(name);
  return S_OK;
}

HRESULT CFileWriter::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
  if (!ppszFileName) return E_POINTER;
  std::lock_guard files(fileLock_);
  *ppszFileName = nullptr;
  if (pmt) {
    std::memset(pmt, 0, sizeof(*pmt));
    pmt->majortype = MEDIATYPE_Stream;
    pmt->subtype = MEDIASUBTYPE_Avi;
  }
  if (name_.empty()) return S_OK;
  const std::size_t bytes = (name_.size() + 1) * sizeof(OLECHAR);
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, name_.c_str(), bytes);
  *ppszFileName = copy;
  return S_OK;
}

HRESULT CFileWriter::GetLastFailure(HRESULT* failure, BSTR* text) {
  if (!failure || !text) return E_POINTER;
  plat::FileFailure found;
  {
    std::lock_guard files(fileLock_);
    found = FAILED(openFailure_.hr) || !lastFile_ ? openFailure_ : lastFile_->failure();
  }
  *failure = found.hr;
  *text = SysAllocString(plat::utf8ToUtf16(found.text).c_str());
  return S_OK;
}
