// The interfaces the shell uses on the save graph's filters, with their
// published identifiers and slot orders: the file writer's IFileSinkFilter,
// the device enumerator's ICreateDevEnum with its monikers and property
// bags, and the compressors' configuration interface. IKelSaveStatus and
// IKelCompressorSettings are this system's own.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/running_object_table.h"
#include "platform/com/variant.h"
#include "platform/dshow/media_types.h"
#include "platform/win/types.h"

struct IErrorLog;  // never used; callers pass null

inline constexpr IID IID_IFileSinkFilter{0xA2104830, 0x7C70, 0x11CF, {0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
inline constexpr IID IID_ICreateDevEnum{0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr IID IID_IPropertyBag{0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IEnumMoniker{0x00000102, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IAMVfwCompressDialogs{
    0xD8D715A3, 0x6E5E, 0x11D0, {0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5}};
inline constexpr CLSID CLSID_VideoCompressorCategory{
    0x33D9A760, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr IID IID_IKelSaveStatus{0x6B0E2C51, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}};
inline constexpr IID IID_IKelCompressorSettings{
    0x6B0E2C52, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}};

struct IFileSinkFilter : IUnknown {
  // The media type may be null; only a stream type is accepted.
  virtual HRESULT SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) = 0;
  // The name comes from CoTaskMemAlloc (null when none is set); the type,
  // when asked for, is filled in and its format freed by the caller.
  virtual HRESULT GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) = 0;

 protected:
  ~IFileSinkFilter() = default;
};

// Why the last run of the file writer failed: S_OK and an empty text when
// it did not. The text is allocated with SysAllocString.
struct IKelSaveStatus : IUnknown {
  virtual HRESULT GetLastFailure(HRESULT* failure, BSTR* text) = 0;

 protected:
  ~IKelSaveStatus() = default;
};

struct IEnumMoniker : IUnknown {
  virtual HRESULT Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) = 0;
  virtual HRESULT Skip(ULONG celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumMoniker** ppenum) = 0;

 protected:
  ~IEnumMoniker() = default;
};

struct ICreateDevEnum : IUnknown {
  // S_FALSE and a null enumerator for a category without devices.
  virtual HRESULT CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker,
                                        DWORD dwFlags) = 0;

 protected:
  ~ICreateDevEnum() = default;
};

struct IPropertyBag : IUnknown {
  virtual HRESULT Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
  virtual HRESULT Write(LPCOLESTR pszPropName, VARIANT* pVar) = 0;

 protected:
  ~IPropertyBag() = default;
};

inline constexpr int VfwCompressDialog_Config = 0x01;
inline constexpr int VfwCompressDialog_About = 0x02;
inline constexpr int VfwCompressDialog_QueryConfig = 0x04;
inline constexpr int VfwCompressDialog_QueryAbout = 0x08;

struct IAMVfwCompressDialogs : IUnknown {
  virtual HRESULT ShowDialog(int iDialog, HWND hwnd) = 0;
  // pState null: *pcbState receives the size needed.
  virtual HRESULT GetState(void* pState, int* pcbState) = 0;
  virtual HRESULT SetState(void* pState, int cbState) = 0;
  virtual HRESULT SendDriverMessage(int uMsg, long dw1, long dw2) = 0;

 protected:
  ~IAMVfwCompressDialogs() = default;
};

// The settings a compressor's dialog changes. Quality runs from 1 (smallest
// file) to 100 (best picture).
struct IKelCompressorSettings : IUnknown {
  virtual HRESULT GetQuality(LONG* quality) = 0;
  // E_INVALIDARG outside 1..100; VFW_E_NOT_STOPPED while streaming.
  virtual HRESULT SetQuality(LONG quality) = 0;

 protected:
  ~IKelCompressorSettings() = default;
};
