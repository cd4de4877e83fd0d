// What the save-film dialog keeps for the whole run, across its openings:
// the last film name (the browse dialog's initial file and the name the
// dialog opens with) and the compressor chosen last.
#pragma once
#include <ctime>
#include <string>

namespace SaveUi {

struct RunState {
  std::string lastFilmName;
  // The combo position last used; -1: none yet, which means the last
  // entry ("Без сжатия").
  int compressorChoice = -1;
};

// The run's state (UI thread only).
RunState& State();

// The unattended save's file name: `folder`, the folder separator and the
// local time `when` as "%Y_%m_%d_%H_%M" (the extension comes with the
// name rule when the save starts).
std::string AutoSaveFileName(const std::string& folder, const std::tm& when);

}  // namespace SaveUi
