// The capture filter: a source filter with one output pin and the camera
// interface ICamera/ICamera2 (one table answering both identifiers).
//
// Creating it initialises the hardware library, reserves one of the
// machine's four controller slots and opens the camera system of that
// controller; the pin exists only when a system opened. Methods that need
// the pin answer E_FAIL and change nothing without it. The process-wide
// settings records (white balance, levels, save and overlay) are written
// here and read by the frame path.
#pragma once

#include <optional>

#include "filter/acquisition/System.h"
#include "filter/acquisition/controller_slots.h"
#include "filter/acquisition/system_holder.h"
#include "filter/capture/library_session.h"
#include "platform/dshow/source.h"
#include "shared/camera_interfaces.h"

class KelOrvoSourcePin;

class KelOrvoSource final : public CSource, public ICamera2 {
 public:
  // The class factory's creation function: E_OUTOFMEMORY when the object
  // cannot be allocated, E_FAIL (and a hardware error box) when the
  // hardware library cannot be initialised.
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

  // Throws LIB3::CError when KelLib3Init fails.
  KelOrvoSource(IUnknown* outer, HRESULT* hr);
  ~KelOrvoSource() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IMediaFilter: sets the pin's stopped flag first, whoever stops the
  // filter (the shell's graph, a graph being released, the destructor).
  HRESULT Stop() override;

  // ICamera
  HRESULT GetScalar(LONG optionId, LONG index, IScalarProperty** property) override;
  HRESULT GetRect(LONG optionId, IRectProperty** property) override;
  HRESULT GetEnum(LONG optionId, IEnumProperty** property) override;
  HRESULT RunCamera() override;
  HRESULT StopCamera(BOOL wait) override;
  HRESULT SetPause(BOOL pause) override;
  HRESULT Reserved1(LONG value) override;
  HRESULT SetNotifyWindow(HWND window) override;

  // ICamera2: options
  HRESULT SetFramesToInput(int frames) override;
  HRESULT SetTestMode(BOOL on) override;
  HRESULT SetMode(const GUID* mode) override;
  HRESULT SetVisibleFrameTime(int time) override;
  HRESULT GetSetupOptions(int* time, int* inputFrames, int* visiblePeriod) override;

  // ICamera2: process-wide settings records
  HRESULT SetSaveWindow(HWND progressBar) override;
  HRESULT Dump() override;
  HRESULT SetSaveRange(int first, int last) override;
  HRESULT Reserved2(LONG a, LONG b) override;
  HRESULT SetStatisticWindow(HWND window) override;
  HRESULT SetRepack(int repack) override;
  HRESULT SetOverlayFont(HFONT font, COLORREF color) override;
  HRESULT GetOverlayFont(HFONT* font, COLORREF* color) override;
  HRESULT SetOverlayPlacement(int placement) override;
  HRESULT SetOverlayEnabled(int enabled) override;
  HRESULT SetWriteInfoFile(int write) override;
  HRESULT SetSaveFileName(BSTR name) override;
  HRESULT SetWhiteBalance(int enabled, int automatic) override;
  HRESULT SetWhiteBalanceGains(int red, int green, int blue) override;
  HRESULT GetWhiteBalanceGains(int* red, int* green, int* blue) override;
  HRESULT IsColorCamera(int* color) override;
  HRESULT SetSummation(int enabled) override;
  HRESULT GetLevels(int* black, int* white) override;
  HRESULT SetLevels(int black, int white) override;
  HRESULT GetGamma(int* gamma) override;
  HRESULT SetGamma(int gamma) override;
  HRESULT SetMonochrome(int monochrome) override;
  HRESULT GetMonochrome(int* monochrome) override;
  HRESULT SetDigitalGain(int gain) override;
  HRESULT GetDigitalGain(int* gain) override;

  // ICamera2: the pin
  HRESULT SetStopped() override;
  HRESULT IsSaveFinished(int* finished) override;
  HRESULT EnableBackgroundSubtraction(BOOL enable) override;
  HRESULT SetEndEvent(HANDLE event) override;

  // ICamera2: camera information
  HRESULT GetSerialNumber(BSTR* serial) override;
  HRESULT GetMaxFramesCount(int* frames) override;
  HRESULT GetInfoList(BSTR* list) override;
  int IsOpened() override;
  HRESULT GetErrorText(BSTR* text) override;
  HRESULT GetTemperature(BSTR* text) override;

 private:
  // The open system, or null.
  Orvo::System* OpenSystem() const { return holder_.IsOpened() ? holder_.Get() : nullptr; }
  // Re-reads the overlay's camera values; a refusal is shown with the
  // prefix "RunCamera" and the earlier values stay. For a save the film
  // length is the camera's frame range, as preview mode takes it.
  void RefreshOverlay(bool forSave);

  // Declared in the order of release, last first: the slot is let go of,
  // then the system closes, then the library.
  Kel::LibrarySession library_;
  Kel::SystemHolder<Orvo::System> holder_;
  std::optional<Orvo::ControllerSlot> slot_;
  // Owned by CSource; null when no system opened.
  KelOrvoSourcePin* pin_ = nullptr;
  int visibleFrameTime_ = 200;
  int inputFrameValue_ = 7;
  int visibleFramePeriod_ = 2;
  // The overlay holds values read since the film in memory was recorded.
  bool overlayForFilm_ = false;
};
