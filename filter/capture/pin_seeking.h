// The output pin's seeking interfaces: IMediaSeekingLocal, through which the
// player drives playback of the preview source, and IMediaSeeking, whose few
// working methods report playback and save progress.
//
// A part of the pin, not an object of its own: its IUnknown is the pin's, so
// a reference to it keeps the filter alive. The methods run on the caller's
// thread without the pin lock; the source they reach changes only while the
// filter is stopped (connections need a stopped filter).
#pragma once

#include "platform/dshow/interfaces.h"
#include "shared/camera_interfaces.h"

namespace Orvo {
class StOrvoSource;
class StPreviewSource;
}  // namespace Orvo

class KelOrvoSourcePin;

class PinSeeking final : public IMediaSeekingLocal, public IMediaSeeking {
 public:
  explicit PinSeeking(KelOrvoSourcePin& pin) : pin_(pin) {}

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // Shared by both interfaces.
  HRESULT GetDuration(LONGLONG* duration) override;
  HRESULT SetRate(double rate) override;
  HRESULT GetRate(double* rate) override;
  HRESULT GetCurrentPosition(LONGLONG*) override { return E_NOTIMPL; }

  // IMediaSeekingLocal
  HRESULT GetRange(LONGLONG* first, const GUID* firstFormat, LONGLONG* last, const GUID* lastFormat) override;
  HRESULT GetCurrentPosition(LONGLONG* current, const GUID* format) override;
  HRESULT SetCurrentPosition(LONGLONG current, const GUID* format) override;
  HRESULT Resume() override;
  HRESULT Pause() override;

  // IMediaSeeking
  HRESULT GetCapabilities(DWORD*) override { return E_NOTIMPL; }
  HRESULT CheckCapabilities(DWORD*) override { return S_FALSE; }
  HRESULT IsFormatSupported(const GUID*) override { return E_NOTIMPL; }
  HRESULT QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT GetTimeFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT SetTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT GetStopPosition(LONGLONG*) override { return E_NOTIMPL; }
  HRESULT ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
  HRESULT SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) override { return E_NOTIMPL; }
  // Save progress (frames written, frames to write); S_FALSE unless the
  // current source is the save-mode source.
  HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  HRESULT GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

 private:
  // The current source when it is the preview source, else null.
  Orvo::StPreviewSource* Preview() const;

  KelOrvoSourcePin& pin_;
};
