// The AVI multiplexer's pins. The input takes what aviStreamSpecOf accepts
// and passes samples and the end of the stream to the filter; the output
// connects only to a pin offering IKelFileStream (the file writer's) and
// carries no samples.
#pragma once

#include <memory>

#include "platform/avi/file_stream.h"
#include "platform/dshow/input_pin.h"

class CAviMux;

class CAviMuxInputPin final : public CBaseInputPin {
 public:
  CAviMuxInputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT EndOfStream() override;

 private:
  CAviMux* const mux_;
};

class CAviMuxOutputPin final : public CBasePin {
 public:
  CAviMuxOutputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr);

  HRESULT CheckConnect(IPin* pPin) override;
  HRESULT BreakConnect() override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  // Data leaves through the file, so these input-side calls are refused.
  HRESULT EndOfStream() override { return E_UNEXPECTED; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }

  // The writer's file for this run.
  HRESULT runFile(std::shared_ptr<plat::FileSink>* sink);
  HRESULT deliverEndOfStream();

 private:
  ComPtr<IKelFileStream> stream_;
};
