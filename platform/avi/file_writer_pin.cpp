#include "platform/avi/file_writer_pin.h"

#include "platform/avi/file_writer.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"

CFileWriterPin::CFileWriterPin(CFileWriter* writer, CCritSec* lock, HRESULT* phr)
    : CBasePin("CFileWriterPin", writer, lock, phr, u"in", PINDIR_INPUT), writer_(writer) {}

HRESULT CFileWriterPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IKelFileStream) return GetInterface(static_cast<IKelFileStream*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFileWriterPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  if (pmt->majortype != MEDIATYPE_Stream) return VFW_E_TYPE_NOT_ACCEPTED;
  return pmt->subtype == MEDIASUBTYPE_Avi || pmt->subtype == GUID_NULL ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CFileWriterPin::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  pmt->InitMediaType();
  pmt->SetType(&MEDIATYPE_Stream);
  pmt->SetSubtype(&MEDIASUBTYPE_Avi);
  return S_OK;
}

HRESULT CFileWriterPin::Active() {
  ended_ = false;
  return CBasePin::Active();
}

HRESULT CFileWriterPin::EndOfStream() {
  if (IsStopped()) return VFW_E_WRONG_STATE;
  if (!ended_.exchange(true)) writer_->NotifyEvent(EC_COMPLETE, S_OK, 0);
  return S_OK;
}

HRESULT CFileWriterPin::GetRunFile(std::shared_ptr<plat::FileSink>* sink) {
  if (!sink) return E_POINTER;
  *sink = writer_->runFile();
  return *sink ? S_OK : VFW_E_WRONG_STATE;
}
