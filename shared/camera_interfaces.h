// The capture filter's camera-control interface and the pin's playback
// seeking interface. Slot order is the contract between the shell and the
// filter module: append, never reorder.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/kernel/handle.h"
#include "platform/win/gdi_types.h"
#include "platform/win/types.h"
#include "shared/identifiers.h"
#include "shared/property_interfaces.h"

struct ICamera : IUnknown {
  virtual HRESULT GetScalar(LONG optionId, LONG index, IScalarProperty** property) = 0;
  virtual HRESULT GetRect(LONG optionId, IRectProperty** property) = 0;
  virtual HRESULT GetEnum(LONG optionId, IEnumProperty** property) = 0;
  virtual HRESULT RunCamera() = 0;
  virtual HRESULT StopCamera(BOOL wait) = 0;
  virtual HRESULT SetPause(BOOL pause) = 0;
  virtual HRESULT Reserved1(LONG value) = 0;
  virtual HRESULT SetNotifyWindow(HWND window) = 0;

 protected:
  ~ICamera() = default;
};

struct ICamera2 : ICamera {
  virtual HRESULT SetFramesToInput(int frames) = 0;
  virtual HRESULT SetTestMode(BOOL on) = 0;
  virtual HRESULT SetSaveWindow(HWND progressBar) = 0;
  virtual HRESULT Dump() = 0;
  virtual HRESULT SetSaveRange(int first, int last) = 0;
  virtual HRESULT Reserved2(LONG a, LONG b) = 0;
  virtual HRESULT SetStatisticWindow(HWND window) = 0;
  virtual HRESULT SetRepack(int repack) = 0;
  virtual HRESULT SetOverlayFont(HFONT font, COLORREF color) = 0;
  virtual HRESULT GetOverlayFont(HFONT* font, COLORREF* color) = 0;
  virtual HRESULT SetOverlayPlacement(int placement) = 0;
  virtual HRESULT SetOverlayEnabled(int enabled) = 0;
  virtual HRESULT SetWriteInfoFile(int write) = 0;
  virtual HRESULT SetSaveFileName(BSTR name) = 0;
  virtual HRESULT SetWhiteBalance(int enabled, int automatic) = 0;
  virtual HRESULT SetWhiteBalanceGains(int red, int green, int blue) = 0;
  virtual HRESULT GetWhiteBalanceGains(int* red, int* green, int* blue) = 0;
  virtual HRESULT IsColorCamera(int* color) = 0;
  virtual HRESULT SetSummation(int enabled) = 0;
  virtual HRESULT GetLevels(int* black, int* white) = 0;
  virtual HRESULT SetLevels(int black, int white) = 0;
  virtual HRESULT GetGamma(int* gamma) = 0;
  virtual HRESULT SetGamma(int gamma) = 0;
  virtual HRESULT SetStopped() = 0;
  virtual HRESULT IsSaveFinished(int* finished) = 0;
  virtual HRESULT SetMonochrome(int monochrome) = 0;
  virtual HRESULT GetMonochrome(int* monochrome) = 0;
  virtual HRESULT SetMode(const GUID* mode) = 0;
  virtual HRESULT EnableBackgroundSubtraction(BOOL enable) = 0;
  virtual HRESULT SetDigitalGain(int gain) = 0;
  virtual HRESULT GetDigitalGain(int* gain) = 0;
  virtual HRESULT SetVisibleFrameTime(int time) = 0;
  virtual HRESULT GetSetupOptions(int* time, int* inputFrames, int* visiblePeriod) = 0;
  virtual HRESULT GetSerialNumber(BSTR* serial) = 0;
  virtual HRESULT GetMaxFramesCount(int* frames) = 0;
  virtual HRESULT GetInfoList(BSTR* list) = 0;
  virtual HRESULT SetEndEvent(HANDLE event) = 0;
  // A plain flag, not an HRESULT: 1 when the camera system is open.
  virtual int IsOpened() = 0;
  virtual HRESULT GetErrorText(BSTR* text) = 0;
  virtual HRESULT GetTemperature(BSTR* text) = 0;

 protected:
  ~ICamera2() = default;
};

// Playback control of the output pin; every method answers S_FALSE when the
// pin's current source is not the kind the method is for.
struct IMediaSeekingLocal : IUnknown {
  virtual HRESULT GetDuration(LONGLONG* duration) = 0;
  virtual HRESULT GetRange(LONGLONG* first, const GUID* firstFormat, LONGLONG* last,
                           const GUID* lastFormat) = 0;
  virtual HRESULT GetCurrentPosition(LONGLONG* current, const GUID* format) = 0;
  virtual HRESULT SetCurrentPosition(LONGLONG current, const GUID* format) = 0;
  virtual HRESULT SetRate(double rate) = 0;
  virtual HRESULT GetRate(double* rate) = 0;
  virtual HRESULT Resume() = 0;
  virtual HRESULT Pause() = 0;

 protected:
  ~IMediaSeekingLocal() = default;
};
