// The capture filter's only output pin. It exists only while the filter's
// camera system is open, and its construction puts the system into set-up
// mode.
//
// It offers two media types (the camera's data-header stream and RGB
// video), creates the stream source of the current mode when it connects,
// and on the streaming thread turns each frame of that source into one
// media sample: the source fills the raw frame, the background transform
// makes the processed frame from it, which is copied into the sample with
// digital gain and orientation; in preview and save mode the frame
// information overlay is drawn over it.
//
// Row order: outside save mode the sample's rows go top row first although
// the video type, like any DIB type, declares bottom-up rows; the pin tells
// a peer that can take it (the video renderer) so, and the picture is shown
// upright. In save mode the rows go bottom-up, as a file expects.
//
// Threads: connection calls and the camera interface come from the
// application's thread, FillBuffer from the streaming thread. The pin lock
// serialises FillBuffer, connection changes, GetMediaType and the start of
// streaming; lock order: pin lock, then the global frame lock. The current
// source changes only while the filter is stopped, so the camera interface
// and the seeking interfaces reach it without the pin lock.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "filter/acquisition/StOrvoSource.h"
#include "filter/acquisition/System.h"
#include "filter/acquisition/system_holder.h"
#include "filter/capture/output_format.h"
#include "filter/capture/pin_seeking.h"
#include "filter/processing/StClearImageTransform.h"
#include "filter/processing/StFileSource.h"
#include "platform/dshow/crit_sec.h"
#include "platform/dshow/source_stream.h"
#include "platform/kernel/handle.h"
#include "platform/win/types.h"

class KelOrvoSourcePin final : public CSourceStream {
 public:
  using Holder = Kel::SystemHolder<Orvo::System>;

  // Adds itself to `filter`, which owns it from then on. *hr becomes E_FAIL
  // when the holder is not open (the system then stays as it was). The
  // bytes per output pixel are the desktop's, taken here.
  KelOrvoSourcePin(HRESULT* hr, CSource* filter, Holder& holder);
  ~KelOrvoSourcePin() override;

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Stores the flag; the current source runs while it is 0.
  void SetStopped(int stopped);
  int Stopped() const { return stopped_; }

  // Given to every stream source created afterwards.
  void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
  HWND NotifyWindow() const { return notifyWindow_; }

  // Handed to the input-mode source when streaming starts.
  void SetEndEvent(HANDLE event) { endEvent_ = event; }
  HANDLE EndEvent() const { return endEvent_; }

  // Requests for the current stream source; without one they are dropped.
  void SetPause(bool pause);
  // Reaches the set-up source's record only while that source is current.
  void SetVisibleFramePeriod(int period);
  // S_FALSE (and `finished` untouched) unless the current source is the
  // save-mode source.
  HRESULT QuerySaveFinished(int* finished);
  // Background subtraction on or off, for the transform and the overlay.
  void EnableBackgroundSubtraction(bool on);

  // The current source when it is the save-mode source, else null.
  Orvo::StFileSource* FileSource() const { return dynamic_cast<Orvo::StFileSource*>(source_.get()); }

  // Null while unconnected.
  Orvo::StOrvoSource* CurrentSource() const { return source_.get(); }
  // Destroys the current source and the background transform while the
  // library is still there; the filter calls it before it closes the system.
  void DropSource();

  int BytesPerPixel() const { return bytesPerPixel_; }

 protected:
  HRESULT GetMediaType(int position, CMediaType* type) override;
  HRESULT CheckMediaType(const CMediaType* type) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* properties) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT OnThreadStartPlay() override;
  HRESULT OnThreadDestroy() override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  // A sample refused downstream ends the stream without an end of stream;
  // in save mode the film source must still end its run.
  HRESULT Deliver(IMediaSample* sample) override;

 private:
  // The source of `mode` (null for a mode without one yet). Throws
  // LIB3::CError.
  std::unique_ptr<Orvo::StOrvoSource> MakeSource(const GUID& mode);
  // The frame into the sample, with gain and orientation.
  HRESULT CopyToSample(IMediaSample* sample);
  // Reads the output format; false (and the box shown) on a hardware error.
  bool RefreshFormat();
  // Tells the peer in which order the sample's rows go.
  void AnnounceRowOrder(IPin* receivePin) const;
  // Set-up mode with subtraction on: the backgrounds are taken with the
  // camera stopped through the filter's camera interface.
  void TakeBackgroundBeforeRun();
  // The overlay over the sample when it is enabled (preview and save mode).
  void DrawOverlay(IMediaSample* sample);

  Holder& holder_;
  std::unique_ptr<Orvo::StOrvoSource> source_;
  // Null only when the holder was not open at construction.
  std::unique_ptr<Orvo::StClearImageTransform> transform_;
  std::vector<std::uint8_t> raw_;
  std::vector<std::uint8_t> processed_;
  std::atomic<int> stopped_{0};
  const int bytesPerPixel_;
  CCritSec pinLock_;
  // Taken from the input data header by GetMediaType (pin lock).
  Kel::OutputFormat format_;
  // The mode the current source was made for (pin lock).
  bool saveMode_ = false;
  bool previewMode_ = false;
  std::atomic<HWND> notifyWindow_{nullptr};
  std::atomic<HANDLE> endEvent_{nullptr};
  PinSeeking seeking_{*this};
};
