// A video compressor filter over one CompressorKind: an input taking the
// camera's RGB24/RGB32 pictures and an output giving the encoded video in a
// VIDEOINFOHEADER with the codec's FOURCC. Each run opens a fresh encoder,
// so every film starts with a key frame; the encoder's own headers travel
// in the stream, so the type carries no codec data.
//
// Kinds with a quality offer IKelCompressorSettings and, for the shell's
// settings button, IAMVfwCompressDialogs: QueryConfig answers S_OK (there
// are settings), but the dialog itself belongs to the shell, so showing it
// here is E_NOTIMPL; GetState/SetState carry the quality.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/avi/compressor_kinds.h"
#include "platform/avi/frame_encoder.h"
#include "platform/avi/save_interfaces.h"
#include "platform/dshow/base_filter.h"
#include "platform/dshow/media_type.h"

class CCompressorInputPin;
class CCompressorOutputPin;

class CVideoCompressor final : public CBaseFilter, public IAMVfwCompressDialogs, public IKelCompressorSettings {
 public:
  // The filter with no reference held yet, as creation functions return it.
  static CVideoCompressor* create(const plat::CompressorKind& kind, HRESULT* phr);
  ~CVideoCompressor() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

  HRESULT Pause() override;
  HRESULT Stop() override;

  // IAMVfwCompressDialogs
  HRESULT ShowDialog(int iDialog, HWND hwnd) override;
  HRESULT GetState(void* pState, int* pcbState) override;
  HRESULT SetState(void* pState, int cbState) override;
  HRESULT SendDriverMessage(int uMsg, long dw1, long dw2) override;

  // IKelCompressorSettings
  HRESULT GetQuality(LONG* quality) override;
  HRESULT SetQuality(LONG quality) override;

  const plat::CompressorKind& kind() const { return kind_; }
  // The output type for the connected input type.
  HRESULT outputType(CMediaType* mt) const;
  // The largest packet a picture may become.
  LONG maxPacketSize() const;

  // From the input pin, on the streaming thread.
  HRESULT compress(IMediaSample* sample);
  HRESULT endOfStream();

 private:
  explicit CVideoCompressor(const plat::CompressorKind& kind);
  HRESULT deliverPacket(const std::uint8_t* data, std::size_t size, bool key, std::int64_t number);

  struct Times {
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
    bool valid;
  };

  const plat::CompressorKind& kind_;
  CCritSec filterLock_;
  std::unique_ptr<CCompressorInputPin> input_;
  std::unique_ptr<CCompressorOutputPin> output_;
  std::atomic<LONG> quality_;

  // Streaming state, under codingLock_.
  std::mutex codingLock_;
  std::unique_ptr<plat::FrameEncoder> encoder_;
  std::deque<Times> pending_;  // times of the pictures not yet out
  std::int64_t pictures_ = 0;
};
