// The AVI multiplexer (CLSID_AviDest): one video input, one output
// (MEDIATYPE_Stream / MEDIASUBTYPE_Avi) connected to the file writer, whose
// file it writes through libavformat.
//
// A film ends one of three ways, and each leaves a finished file holding
// every frame written: the end of the stream (the index is written, then
// the end of stream goes on to the writer, which reports completion); a
// write failure (the film is finished at the last whole frame and the
// failure goes to the graph as EC_ERRORABORT with its HRESULT); or a stop
// before the end of the stream (finished likewise, reported as
// EC_ERRORABORT with E_ABORT), so an incomplete film never counts as done.
//
// The frame rate comes from the input type's AvgTimePerFrame, else from the
// first sample's start and stop times, else 25 frames per second. Frames
// are placed by their start times, so a frame missing upstream leaves an
// empty frame in the film rather than shifting the rest.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "platform/avi/avi_stream_format.h"
#include "platform/avi/avi_writer.h"
#include "platform/dshow/base_filter.h"

class CAviMuxInputPin;
class CAviMuxOutputPin;

class CAviMux final : public CBaseFilter {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);
  ~CAviMux() override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

  HRESULT Pause() override;
  HRESULT Stop() override;

  // From the input pin, on the streaming thread.
  HRESULT receiveFrame(IMediaSample* sample);
  HRESULT endOfStream();

 private:
  explicit CAviMux(IUnknown* outer);
  HRESULT beginFilm(IMediaSample* first);
  // Finishes the film and reports `failure` (unless S_OK) to the graph.
  void endFilm(HRESULT failure);

  CCritSec filterLock_;
  std::unique_ptr<CAviMuxInputPin> input_;
  std::unique_ptr<CAviMuxOutputPin> output_;

  // Streaming state: taken by the streaming thread for each frame and by
  // Stop, never while holding it across a call into another filter.
  std::mutex filmLock_;
  std::unique_ptr<plat::AviWriter> film_;
  bool filmOver_ = true;
  REFERENCE_TIME firstStart_ = 0;
  REFERENCE_TIME frameDuration_ = 0;
  bool timed_ = false;
  std::int64_t nextIndex_ = 0;
};
