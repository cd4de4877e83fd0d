// The output pin of a source filter with its streaming thread. The thread
// exists while the filter is active: Active starts it (OnThreadCreate) and
// sets it streaming; it loops taking a buffer, FillBuffer, Deliver, and looks
// for commands between samples so that a stop is never held up by an endless
// stream. FillBuffer's S_FALSE ends the stream with end of stream; an error
// also ends it and is reported to the graph (EC_ERRORABORT). Inactive
// decommits the allocator (releasing a thread waiting for a buffer), stops
// the thread and joins it (OnThreadDestroy runs on the thread).
#pragma once

#include "platform/dshow/am_thread.h"
#include "platform/dshow/output_pin.h"
#include "platform/dshow/source.h"

class CSourceStream : public CAMThread, public CBaseOutputPin {
 public:
  // Created with new; the filter owns the pin from here on.
  CSourceStream(const char* objectName, HRESULT* phr, CSource* ps, LPCWSTR pPinName);
  ~CSourceStream() override;

 protected:
  CSource* m_pFilter;

  // Fills one sample; S_OK delivers it, S_FALSE ends the stream, an error
  // ends it and is reported.
  virtual HRESULT FillBuffer(IMediaSample* pSamp) = 0;
  virtual HRESULT OnThreadCreate() { return S_OK; }
  virtual HRESULT OnThreadDestroy() { return S_OK; }
  virtual HRESULT OnThreadStartPlay() { return S_OK; }

  HRESULT Active() override;
  HRESULT Inactive() override;

  enum Command : DWORD { CMD_INIT, CMD_PAUSE, CMD_RUN, CMD_STOP, CMD_EXIT };
  HRESULT Init() { return static_cast<HRESULT>(CallWorker(CMD_INIT)); }
  HRESULT Exit() { return static_cast<HRESULT>(CallWorker(CMD_EXIT)); }
  using CBaseOutputPin::Run;
  HRESULT Run() { return static_cast<HRESULT>(CallWorker(CMD_RUN)); }
  HRESULT Pause() { return static_cast<HRESULT>(CallWorker(CMD_PAUSE)); }
  HRESULT Stop() { return static_cast<HRESULT>(CallWorker(CMD_STOP)); }
  Command GetRequest() { return static_cast<Command>(CAMThread::GetRequest()); }
  BOOL CheckRequest(Command* pCom);

  DWORD ThreadProc() override;
  virtual HRESULT DoBufferProcessingLoop();

  // One media type by default: GetMediaType(CMediaType*) at position 0,
  // and CheckMediaType accepts exactly that type.
  HRESULT CheckMediaType(const CMediaType* pMediaType) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  virtual HRESULT GetMediaType(CMediaType*) { return E_UNEXPECTED; }

 public:
  // The pin's number from 1, as text.
  HRESULT QueryId(LPWSTR* Id) override;

 private:
  // FillBuffer with a thrown exception turned into an error result.
  HRESULT fillBufferGuarded(IMediaSample* sample);
};
