// The camera interface's setters and getters of the process-wide settings
// records. Setters store without any check; getters refuse null pointers.
#include <new>
#include <string>

#include "filter/acquisition/settings_records.h"
#include "filter/capture/KelOrvoSource.h"
#include "platform/font/gdi_font.h"

namespace {
Orvo::ProcessSettings& records() { return Orvo::Settings(); }
}  // namespace

HRESULT KelOrvoSource::SetSaveWindow(HWND progressBar) {
  records().save.saveWindow = progressBar;
  return S_OK;
}

HRESULT KelOrvoSource::Dump() {
  records().dumpRequest = 1;
  return S_OK;
}

HRESULT KelOrvoSource::SetSaveRange(int first, int last) {
  records().save.firstFrame = first;
  records().save.lastFrame = last;
  return S_OK;
}

HRESULT KelOrvoSource::Reserved2(LONG, LONG) { return E_NOTIMPL; }

HRESULT KelOrvoSource::SetStatisticWindow(HWND) { return E_NOTIMPL; }

HRESULT KelOrvoSource::SetRepack(int repack) {
  records().repack = repack;
  return S_OK;
}

HRESULT KelOrvoSource::SetOverlayFont(HFONT font, COLORREF color) {
  records().save.font = font;
  records().save.textColor = color;
  return S_OK;
}

HRESULT KelOrvoSource::GetOverlayFont(HFONT* font, COLORREF* color) {
  if (!font || !color) return E_POINTER;
  HFONT stored = records().save.font;
  // Null stands for the default: the stock GUI font.
  *font = stored ? stored : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  *color = records().save.textColor;
  return S_OK;
}

HRESULT KelOrvoSource::SetOverlayPlacement(int placement) {
  records().save.placement = placement;
  return S_OK;
}

HRESULT KelOrvoSource::SetOverlayEnabled(int enabled) {
  records().save.overlayEnabled = enabled;
  return S_OK;
}

HRESULT KelOrvoSource::SetWriteInfoFile(int write) {
  records().save.writeInfoFile = write;
  return S_OK;
}

HRESULT KelOrvoSource::SetSaveFileName(BSTR name) {
  // The name is copied, so a caller's pointer never aliases the stored
  // text; null clears it.
  try {
    records().save.fileName.set(name ? std::u16string(name, SysStringLen(name)) : std::u16string());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT KelOrvoSource::SetWhiteBalance(int enabled, int automatic) {
  records().whiteBalance.enabled = enabled;
  records().whiteBalance.automatic = automatic;
  return S_OK;
}

HRESULT KelOrvoSource::SetWhiteBalanceGains(int red, int green, int blue) {
  records().whiteBalance.red = red;
  records().whiteBalance.green = green;
  records().whiteBalance.blue = blue;
  return S_OK;
}

HRESULT KelOrvoSource::GetWhiteBalanceGains(int* red, int* green, int* blue) {
  if (!red || !green || !blue) return E_POINTER;
  *red = records().whiteBalance.red;
  *green = records().whiteBalance.green;
  *blue = records().whiteBalance.blue;
  return S_OK;
}

HRESULT KelOrvoSource::IsColorCamera(int* color) {
  if (!color) return E_POINTER;
  *color = records().whiteBalance.colorCamera;
  return S_OK;
}

HRESULT KelOrvoSource::SetSummation(int enabled) {
  records().levels.summation = enabled;
  return S_OK;
}

HRESULT KelOrvoSource::GetLevels(int* black, int* white) {
  if (!black || !white) return E_POINTER;
  *black = records().levels.black;
  *white = records().levels.white;
  return S_OK;
}

HRESULT KelOrvoSource::SetLevels(int black, int white) {
  records().levels.black = black;
  records().levels.white = white;
  return S_OK;
}

HRESULT KelOrvoSource::GetGamma(int* gamma) {
  if (!gamma) return E_POINTER;
  *gamma = records().whiteBalance.gamma;
  return S_OK;
}

HRESULT KelOrvoSource::SetGamma(int gamma) {
  records().whiteBalance.gamma = gamma;
  return S_OK;
}

HRESULT KelOrvoSource::SetMonochrome(int monochrome) {
  records().monochrome = monochrome;
  return S_OK;
}

HRESULT KelOrvoSource::GetMonochrome(int* monochrome) {
  if (!monochrome) return E_POINTER;
  *monochrome = records().monochrome;
  return S_OK;
}

HRESULT KelOrvoSource::SetDigitalGain(int gain) {
  records().levels.digitalGain = gain;
  return S_OK;
}

HRESULT KelOrvoSource::GetDigitalGain(int* gain) {
  if (!gain) return E_POINTER;
  *gain = records().levels.digitalGain;
  return S_OK;
}
