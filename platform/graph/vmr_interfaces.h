// The video renderer's configuration and windowless-control interfaces, in
// the Windows slot order, with their published identifiers.
#pragma once

#include "platform/dshow/interfaces.h"
#include "platform/win/gdi_types.h"
#include "platform/win/types.h"

struct HDC__;
using HDC = HDC__*;
using LPRECT = RECT*;

struct IVMRImageCompositor;

inline constexpr IID IID_IVMRWindowlessControl{
    0x0EB1088C, 0x4DCD, 0x46F0, {0x87, 0x8F, 0x39, 0xDA, 0xE8, 0x6A, 0x51, 0xB7}};
inline constexpr IID IID_IVMRFilterConfig{
    0x9E5530C5, 0x7034, 0x48B4, {0xBB, 0x46, 0x0B, 0x8A, 0x6E, 0xFC, 0x8E, 0x36}};

// IVMRFilterConfig::SetRenderingMode.
inline constexpr DWORD VMRMode_Windowed = 0x1;
inline constexpr DWORD VMRMode_Windowless = 0x2;
inline constexpr DWORD VMRMode_Renderless = 0x4;

// IVMRWindowlessControl::SetAspectRatioMode.
inline constexpr DWORD VMR_ARMODE_NONE = 0;
inline constexpr DWORD VMR_ARMODE_LETTER_BOX = 1;

struct IVMRWindowlessControl : IUnknown {
  virtual HRESULT GetNativeVideoSize(LONG* lpWidth, LONG* lpHeight, LONG* lpARWidth, LONG* lpARHeight) = 0;
  virtual HRESULT GetMinIdealVideoSize(LONG* lpWidth, LONG* lpHeight) = 0;
  virtual HRESULT GetMaxIdealVideoSize(LONG* lpWidth, LONG* lpHeight) = 0;
  virtual HRESULT SetVideoPosition(const LPRECT lpSRCRect, const LPRECT lpDSTRect) = 0;
  virtual HRESULT GetVideoPosition(LPRECT lpSRCRect, LPRECT lpDSTRect) = 0;
  virtual HRESULT GetAspectRatioMode(DWORD* lpAspectRatioMode) = 0;
  virtual HRESULT SetAspectRatioMode(DWORD AspectRatioMode) = 0;
  virtual HRESULT SetVideoClippingWindow(HWND hwnd) = 0;
  virtual HRESULT RepaintVideo(HWND hwnd, HDC hdc) = 0;
  virtual HRESULT DisplayModeChanged() = 0;
  // A BITMAPINFOHEADER followed by the pixels, in one CoTaskMemAlloc block
  // that the caller frees.
  virtual HRESULT GetCurrentImage(BYTE** lpDib) = 0;
  virtual HRESULT SetBorderColor(COLORREF Clr) = 0;
  virtual HRESULT GetBorderColor(COLORREF* lpClr) = 0;
  virtual HRESULT SetColorKey(COLORREF Clr) = 0;
  virtual HRESULT GetColorKey(COLORREF* lpClr) = 0;

 protected:
  ~IVMRWindowlessControl() = default;
};

struct IVMRFilterConfig : IUnknown {
  virtual HRESULT SetImageCompositor(IVMRImageCompositor* lpVMRImgCompositor) = 0;
  virtual HRESULT SetNumberOfStreams(DWORD dwMaxStreams) = 0;
  virtual HRESULT GetNumberOfStreams(DWORD* pdwMaxStreams) = 0;
  virtual HRESULT SetRenderingPrefs(DWORD dwRenderFlags) = 0;
  virtual HRESULT GetRenderingPrefs(DWORD* pdwRenderFlags) = 0;
  virtual HRESULT SetRenderingMode(DWORD Mode) = 0;
  virtual HRESULT GetRenderingMode(DWORD* pMode) = 0;

 protected:
  ~IVMRFilterConfig() = default;
};
