// The capture filter's only output pin. It exists only while the filter's
// camera system is open, and its construction puts the system into set-up
// mode. It carries what the camera interface hands the frame path: the
// stopped flag, the notify window, the end event and the pause and
// visible-frame requests for the current stream source.
//
// The frame path itself (media types, buffer sizes, stream sources and
// FillBuffer, seeking) is not built into this pin yet: those overrides
// answer E_NOTIMPL, so the pin refuses every connection and never streams.
// Until a connection creates a stream source there is no current source,
// and the requests meant for one have nothing to act on.
#pragma once

#include <atomic>

#include "filter/acquisition/System.h"
#include "filter/acquisition/system_holder.h"
#include "platform/dshow/source_stream.h"
#include "platform/kernel/handle.h"
#include "platform/win/types.h"

class KelOrvoSourcePin final : public CSourceStream {
 public:
  using Holder = Kel::SystemHolder<Orvo::System>;

  // Adds itself to `filter`, which owns it from then on. *hr becomes E_FAIL
  // when the holder is not open (the system then stays as it was).
  KelOrvoSourcePin(HRESULT* hr, CSource* filter, Holder& holder);

  // Set by StopCamera and SetStopped, cleared by RunCamera.
  void SetStopped(int stopped) { stopped_ = stopped; }
  int Stopped() const { return stopped_; }

  // Given to every stream source created afterwards.
  void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
  HWND NotifyWindow() const { return notifyWindow_; }

  // Handed to the input-mode and save-mode sources when streaming starts.
  void SetEndEvent(HANDLE event) { endEvent_ = event; }
  HANDLE EndEvent() const { return endEvent_; }

  // Requests for the current stream source. Without one (always, until the
  // frame path connects) there is nothing to store them in.
  void SetPause(bool pause);
  void SetVisibleFramePeriod(int period);
  // S_FALSE (and `finished` untouched) unless the current source is the
  // save-mode source.
  HRESULT QuerySaveFinished(int* finished);

 protected:
  // Frame path, not built yet: every one refuses with E_NOTIMPL.
  HRESULT GetMediaType(int position, CMediaType* type) override;
  HRESULT CheckMediaType(const CMediaType* type) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* properties) override;
  HRESULT FillBuffer(IMediaSample* sample) override;

 private:
  Holder& holder_;
  std::atomic<int> stopped_{0};
  std::atomic<HWND> notifyWindow_{nullptr};
  std::atomic<HANDLE> endEvent_{nullptr};
};
