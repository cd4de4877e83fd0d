// Saving the film in the grabber's memory as an AVI file, as the save
// dialog does: the save graph with the progress bar and the compressor, the
// range, the output file, the end event, run, wait, and IsSaveFinished.
#pragma once
#include <filesystem>
#include <string>

#include "tools/recorder.h"
#include "tools/save_options.h"
#include "tools/session.h"

namespace kelorvo {

struct SavedFilm {
  std::filesystem::path avi;
  std::filesystem::path info;  // empty when none was written
  FrameRange range;
};

// Saves the film into `file` (its extension becomes ".avi"); Ctrl+C aborts
// like the dialog's abort button. False with the reason printed on failure,
// including a film that did not come out complete; throws
// std::invalid_argument for a bad range, name or codec and COMERR errors
// for a refused call.
bool saveFilm(Session& session, const std::string& file, const SaveOptions& options, SavedFilm& saved);

// The film's name after the naming rule; throws std::invalid_argument when
// the name is refused or holds a control character, names a folder, or
// names an existing file without `force`. Touches nothing.
std::string checkTarget(const std::string& file, bool force);

// "AVI: …" and "Info: …" lines for the user.
void printSaved(const SavedFilm& saved);

}  // namespace kelorvo
