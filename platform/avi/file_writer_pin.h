// The file writer's input pin: takes MEDIATYPE_Stream / MEDIASUBTYPE_Avi,
// hands its filter's file to the multiplexer and reports the end of the
// stream (EC_COMPLETE, once per run).
#pragma once

#include <atomic>

#include "platform/avi/file_stream.h"
#include "platform/dshow/base_pin.h"

class CFileWriter;

class CFileWriterPin final : public CBasePin, public IKelFileStream {
 public:
  CFileWriterPin(CFileWriter* writer, CCritSec* lock, HRESULT* phr);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT Active() override;
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override { return S_OK; }
  HRESULT EndFlush() override { return S_OK; }

  HRESULT GetRunFile(std::shared_ptr<plat::FileSink>* sink) override;

 private:
  CFileWriter* const writer_;
  std::atomic<bool> ended_{false};
};
