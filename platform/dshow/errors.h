// Result codes and event codes of the media graph, with the Windows values
// (the graph and the shell compare against them and show them). The most
// common ones live with the COM types.
#pragma once

#include "platform/com/types.h"

inline constexpr HRESULT VFW_E_INVALIDMEDIATYPE = kelHresult(0x80040200);
inline constexpr HRESULT VFW_E_ENUM_OUT_OF_SYNC = kelHresult(0x80040203);
inline constexpr HRESULT VFW_E_NO_TYPES = kelHresult(0x80040206);
inline constexpr HRESULT VFW_E_INVALID_DIRECTION = kelHresult(0x80040208);
inline constexpr HRESULT VFW_E_NO_ALLOCATOR = kelHresult(0x8004020A);
inline constexpr HRESULT VFW_E_RUNTIME_ERROR = kelHresult(0x8004020B);
inline constexpr HRESULT VFW_E_BUFFER_NOTSET = kelHresult(0x8004020C);
inline constexpr HRESULT VFW_E_BUFFER_OVERFLOW = kelHresult(0x8004020D);
inline constexpr HRESULT VFW_E_BADALIGN = kelHresult(0x8004020E);
inline constexpr HRESULT VFW_E_ALREADY_COMMITTED = kelHresult(0x8004020F);
inline constexpr HRESULT VFW_E_BUFFERS_OUTSTANDING = kelHresult(0x80040210);
inline constexpr HRESULT VFW_E_NOT_COMMITTED = kelHresult(0x80040211);
inline constexpr HRESULT VFW_E_SIZENOTSET = kelHresult(0x80040212);
inline constexpr HRESULT VFW_E_NOT_FOUND = kelHresult(0x80040216);
inline constexpr HRESULT VFW_E_TIMEOUT = kelHresult(0x8004022E);
inline constexpr HRESULT VFW_E_SAMPLE_TIME_NOT_SET = kelHresult(0x80040249);
inline constexpr HRESULT VFW_E_MEDIA_TIME_NOT_SET = kelHresult(0x80040251);
inline constexpr HRESULT VFW_E_NO_TRANSPORT = kelHresult(0x80040266);
inline constexpr HRESULT VFW_S_NO_STOP_TIME = kelHresult(0x00040270);

// Events a filter sends to its graph through IMediaEventSink::Notify.
inline constexpr LONG EC_COMPLETE = 0x01;
inline constexpr LONG EC_USERABORT = 0x02;
inline constexpr LONG EC_ERRORABORT = 0x03;
inline constexpr LONG EC_STREAM_ERROR_STOPPED = 0x06;
