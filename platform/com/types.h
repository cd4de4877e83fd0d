// Basic COM types shared by every module: GUIDs, HRESULTs and their codes.
// The numeric values are the Windows ones, because they cross between the
// shell and the capture filter and are shown to the user.
#pragma once

#include <compare>
#include <cstdint>

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using LONGLONG = std::int64_t;
using REFERENCE_TIME = std::int64_t;
using WCHAR = char16_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
  friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT kelHresult(std::uint32_t v) { return static_cast<HRESULT>(v); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = kelHresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = kelHresult(0x80004002);
inline constexpr HRESULT E_POINTER = kelHresult(0x80004003);
inline constexpr HRESULT E_ABORT = kelHresult(0x80004004);
inline constexpr HRESULT E_FAIL = kelHresult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = kelHresult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = kelHresult(0x80070005);
inline constexpr HRESULT E_HANDLE = kelHresult(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = kelHresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = kelHresult(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = kelHresult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = kelHresult(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = kelHresult(0x80040154);
inline constexpr HRESULT REGDB_E_READREGDB = kelHresult(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = kelHresult(0x80040151);
inline constexpr HRESULT CO_E_DLLNOTFOUND = kelHresult(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = kelHresult(0x800401F9);
inline constexpr HRESULT MK_E_UNAVAILABLE = kelHresult(0x800401E3);
inline constexpr HRESULT DISP_E_BADINDEX = kelHresult(0x8002000B);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = kelHresult(0x80020005);
inline constexpr HRESULT DISP_E_BADVARTYPE = kelHresult(0x80020008);
inline constexpr HRESULT VFW_S_NO_MORE_ITEMS = kelHresult(0x00040103);
inline constexpr HRESULT VFW_E_NOT_CONNECTED = kelHresult(0x80040209);
inline constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = kelHresult(0x8004022A);
inline constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = kelHresult(0x80040207);
inline constexpr HRESULT VFW_E_ALREADY_CONNECTED = kelHresult(0x80040204);
inline constexpr HRESULT VFW_E_NOT_STOPPED = kelHresult(0x80040224);
inline constexpr HRESULT VFW_E_WRONG_STATE = kelHresult(0x80040227);
inline constexpr HRESULT VFW_E_CANNOT_CONNECT = kelHresult(0x80040217);
