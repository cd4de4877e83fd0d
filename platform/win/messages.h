// Message numbers both deliverables use.
#pragma once

#include "platform/win/types.h"

// Standard messages the shell and the filter exchange.
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// Scroll requests carried by WM_VSCROLL.
inline constexpr WPARAM SB_LINEDOWN = 1;
inline constexpr WPARAM SB_BOTTOM = 7;

// Progress-bar requests the filter sends to the save dialog's bar.
inline constexpr UINT PBM_SETRANGE = WM_USER + 1;
inline constexpr UINT PBM_SETPOS = WM_USER + 2;
inline constexpr UINT PBM_DELTAPOS = WM_USER + 3;
inline constexpr UINT PBM_SETSTEP = WM_USER + 4;
inline constexpr UINT PBM_STEPIT = WM_USER + 5;

// Private messages of the system. WM_LOG_TEXT's lParam is a global text
// block (GlobalAlloc) that the receiver frees.
inline constexpr UINT WM_LOG_TEXT = WM_APP + 0x01;
inline constexpr UINT WM_VIDEO_SIZE = WM_APP + 0x02;
inline constexpr UINT WM_SETTING_CHANGED = WM_APP + 0x03;
inline constexpr UINT WM_RESTART_GRAPH = WM_APP + 0x04;
inline constexpr UINT WM_PRESETS_CHANGED = WM_APP + 0x06;
inline constexpr UINT WM_APPLY_PRESET = WM_APP + 0x07;
inline constexpr UINT WM_TOGGLE_RECORDING = WM_APP + 0x0B;
inline constexpr UINT WM_OPTION_LIMITS_CHANGED = WM_APP + 0x0C;
inline constexpr UINT WM_PERIOD_CHANGED = WM_APP + 0x0E;
inline constexpr UINT WM_WINDOW_CHANGED = WM_APP + 0x0F;
