// Command numbers of the main frame's menu, toolbar and accelerators, and
// the mode codes it keeps. Each command's QAction carries its number as its
// object name.
#pragma once

namespace Cmd {
inline constexpr int kModeSetup = 32775;
inline constexpr int kModeInput = 32776;
inline constexpr int kModePreview = 32777;
inline constexpr int kModeSave = 32778;
// Save mode entered by itself after a recording, with automatic saving.
inline constexpr int kAutoSave = 33802;
inline constexpr int kLoadBackground = 33797;
inline constexpr int kBackgroundSubtraction = 33794;
inline constexpr int kTextOnButtons = 206;
inline constexpr int kToolbar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kZoomFit = 222;
inline constexpr int kZoom800 = 214;
inline constexpr int kZoom400 = 215;
inline constexpr int kZoom200 = 216;
inline constexpr int kZoom100 = 218;
inline constexpr int kNewPreset = 243;
inline constexpr int kDeletePreset = 33000;
inline constexpr int kLoadPresetFirst = 32800;
inline constexpr int kEditPresetFirst = 32900;
inline constexpr int kLoadPresetAll = 33001;
inline constexpr int kEditPresetAll = 33002;
inline constexpr int kExit = 57665;
inline constexpr int kAbout = 57664;
inline constexpr int kClearLog = 117;
}  // namespace Cmd

// The main frame's mode code.
namespace Mode {
inline constexpr int kNone = 1;
inline constexpr int kSetup = 2;
inline constexpr int kSetupStopped = 3;  // the shutter safety timer stopped the live picture
inline constexpr int kInput = 4;
inline constexpr int kPreview = 8;
inline constexpr int kSave = 16;
}  // namespace Mode

// The main frame's timers, named by their ids.
namespace Timer {
inline constexpr int kShutterSafety = 116;
inline constexpr int kShutterSafetyMs = 120000;
inline constexpr int kTemperature = 118;
inline constexpr int kTemperatureMs = 1000;
}  // namespace Timer
