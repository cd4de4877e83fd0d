// The save-film dialog's side of a save, driven through CGraph on the
// virtual camera: a film recorded as the recorder panel records it, then
// SetSaveRange, BuildSaveGraph with a progress bar, SetOutputFile,
// SetEndEvent, Run, the end event, Stop and IsSaveFinished.
//
// The progress bar and the log window are test windows on this thread's
// queue (the bar's behind a gate, save_film_gate.h). The filter SENDs the
// bar its range at the start of a save, so the waits here pump the queue;
// the end event is waited for on a helper thread that posts its arrival to
// the log window, so nothing polls.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "shell/graph/Graph.h"
#include "tests/shell/save_film_gate.h"
#include "tests/shell/shell_host.h"

namespace kel::test {

using EnvVar = std::pair<std::string, std::string>;
// Wide enough for the frame-number strip, small enough to be quick.
inline const EnvVar kSaveSensor{"KELLIB3_SIZE", "160x40"};
inline const EnvVar kSaveClock{"KELLIB3_TIME_SCALE", "1000"};

struct FilmRange {
  LONG first = 0;
  LONG last = 0;
  int frames() const { return static_cast<int>(last - first + 1); }
};

// What the progress bar was told.
struct Progress {
  int rangeCalls = 0;
  int rangeLow = -1, rangeHigh = -1;
  int step = -1;
  int position = -1;
  int steps = 0;  // PBM_STEPIT
};

// How a save ended, as the dialog sees it after its timer fired.
struct SaveOutcome {
  bool ended = false;    // the end event came
  int finished = -1;     // IsSaveFinished
  LONGLONG written = -1;  // frames written, from the camera's seeking
  std::vector<LONG> events;  // graph events up to EC_COMPLETE / EC_ERRORABORT
  std::vector<LONG_PTR> eventParams;
  bool has(LONG code) const;
  LONG_PTR param(LONG code) const;
};

class SaveFilmRig {
 public:
  explicit SaveFilmRig(std::vector<EnvVar> vars = {kSaveSensor, kSaveClock});
  ~SaveFilmRig();
  SaveFilmRig(const SaveFilmRig&) = delete;
  SaveFilmRig& operator=(const SaveFilmRig&) = delete;

  CGraph& graph() { return graph_; }
  ComPtr<ICamera2> camera();
  HWND bar() const { return bar_.hwnd(); }

  // As the recorder panel: stop after the frame count, the input graph for
  // `frames`, the end event, run, wait, stop. The film's range.
  bool record(int frames, FilmRange& range);
  // The same recording, left running.
  bool startRecording(int frames);
  // The film's range as the frame-position option gives it now.
  bool filmRange(FilmRange& range);

  // The dialog's start. Empty on success, else the step that failed with
  // the graph's error text ("BuildSaveGraph: ...", "SetOutputFile: ...",
  // "Run: ...").
  std::string start(const std::filesystem::path& file, const std::string& codec, FilmRange range);
  // Before start: the streaming thread is to stop right after posting the
  // bar's step for frame `frames` of the save, with that frame produced
  // and the next not begun. waitUntilHeld pumps until it stopped there;
  // release lets it go on.
  void holdAfterFrame(int frames);
  bool waitUntilHeld();
  void release() { gate_->release(); }
  // Pumps until the end event, then as the dialog's timer: Stop, then
  // IsSaveFinished.
  SaveOutcome finish();
  // start and finish; a failed start fails the test.
  SaveOutcome save(const std::filesystem::path& file, const std::string& codec, FilmRange range);

  const Progress& progress() const { return progress_; }
  // Frames the camera has written so far, from its seeking interface.
  LONGLONG framesWritten();
  // Texts the filter posted to the log window so far.
  std::vector<std::string> texts();

 private:
  // The recorder's options and the input graph.
  bool buildRecording(int frames);
  // Hands the end event to the camera, not signalled.
  void armEndEvent();
  void waitForEndOnHelper();
  // True when the end event came.
  bool pumpUntilTheEnd();
  void joinHelper();
  // Graph events up to EC_COMPLETE or EC_ERRORABORT, each waited for up
  // to `boundMs`.
  std::vector<std::pair<LONG, LONG_PTR>> eventsUntilTheEnd(DWORD boundMs);
  // Forgets the events of earlier runs.
  void drainEvents();

  ShellHost host_;
  CGraph graph_;
  std::shared_ptr<plat::MessageQueue> queue_ = std::make_shared<plat::MessageQueue>();
  std::shared_ptr<GatedDispatcher> gate_ = std::make_shared<GatedDispatcher>(queue_);
  Progress progress_;
  std::vector<std::string> texts_;
  bool endArrived_ = false;
  bool endSignalled_ = false;
  plat::WindowRegistration bar_;
  plat::WindowRegistration log_;
  HANDLE endEvent_ = nullptr;
  std::thread helper_;
};

}  // namespace kel::test
