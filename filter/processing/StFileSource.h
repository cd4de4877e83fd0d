// The stream source of save mode: reads the chosen range of the recorded
// film from the grabber's memory once, frame by frame from the first to the
// last frame inclusive, steps the save dialog's progress bar per frame, and
// signals the end event when the stream ends. After the first frame of a run
// it writes the shooting-parameter file beside the film when asked to
// (info_file.h).
//
// How the output pin uses it:
// - OnThreadStartPlay: Start(end event from SetEndEvent).
// - FillBuffer: createData; false ends the stream. Then the sample times
//   SampleStart() .. SampleStop(), and for the overlay CurrentFrame().
// - A delivery refused downstream: RejectLastFrame().
// - IsSaveFinished: IsSaveFinished(); GetPositions: FramesWritten(),
//   FramesToWrite(); the duration: Duration().
// - SetBackgroundQuery: whether subtraction is on, for the parameter file.
//
// A run delivers last - first + 1 frames. Sample k (from 0) spans
// k x 40 ms .. (k + 1) x 40 ms, so the stream's duration is the frames to
// write x 40 ms. A range the film does not hold, first > last, no film, or a
// film still being recorded: a text is posted and the stream ends without a
// frame. However the stream ends (complete, stopped, refused, a library
// error) the end event is signalled exactly once, so the shell's wait always
// ends; IsSaveFinished then tells a complete film from an incomplete one.
//
// Threads: Start and createData run on the streaming thread under the pin
// lock; the queries come from the application's thread and read atomics.
// createData lets nothing escape: errors are posted to the notify window.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "filter/acquisition/StOrvoSource.h"
#include "platform/kernel/handle.h"

namespace Orvo {

class StFileSource final : public StOrvoSource {
 public:
  // 40 ms in 100 ns units.
  static constexpr std::int64_t kFrameDuration = 400000;

  // The range is the save and overlay settings' frame range.
  StFileSource(Holder& holder, HWND notifyWindow);

  // Begins a run: the range again from the settings, nothing written, the
  // end event to signal (may be null). Checks the film against the range
  // (a refusal is posted) and, when accepted and the save window exists,
  // sets up its progress bar: range first .. last + 1, step 1, position
  // first, so one step per frame fills it exactly.
  void Start(HANDLE endEvent);

  bool createData(FrameBuffer& raw) override;

  // The frame just produced was refused downstream (the film could not be
  // written, or the graph is stopping): it does not count as written and
  // the run is over, so the end event is signalled now (once per run) and
  // the save reads as incomplete. Streaming thread, after createData.
  void RejectLastFrame();

  // Whether background subtraction is on, for the parameter file's "Фон:"
  // line (none: off). Set before streaming starts; called on the streaming
  // thread.
  void SetBackgroundQuery(std::function<bool()> query) { background_ = std::move(query); }

  std::int32_t FirstFrame() const { return first_.load(); }
  std::int32_t LastFrame() const { return last_.load(); }
  // The film frame the next createData saves.
  std::int32_t NextFrame() const { return next_.load(); }
  // The film frame of the last delivered sample (the first frame before one).
  std::int32_t CurrentFrame() const { return current_.load(); }
  std::int32_t FramesWritten() const { return written_.load(); }
  // last - first + 1; 0 when the run was refused.
  std::int32_t FramesToWrite() const;
  bool IsSaveFinished() const;
  std::int64_t FrameDuration() const { return kFrameDuration; }
  std::int64_t Duration() const { return FramesToWrite() * kFrameDuration; }
  // Times of the last delivered sample, 100 ns units.
  std::int64_t SampleStart() const { return sampleStart_.load(); }
  std::int64_t SampleStop() const { return SampleStart() + kFrameDuration; }

 private:
  void Reset();
  // Refuses the run (posting why) when the film cannot give the range.
  void CheckFilm();
  void Refuse(std::string_view text);
  bool Produce(FrameBuffer& raw);
  // False when the source was stopped before the frame was complete.
  bool TransferFrame(unsigned width, unsigned height);
  bool WaitUntilIdle();
  void WriteParameterFile();
  void StepProgress() const;
  // The end of the run: the end event once; always false.
  bool Finish();
  void Post(std::string_view text) const;

  std::atomic<std::int32_t> first_{0};
  std::atomic<std::int32_t> last_{0};
  std::atomic<std::int32_t> next_{0};
  std::atomic<std::int32_t> current_{0};
  std::atomic<std::int32_t> written_{0};
  std::atomic<std::int64_t> sampleStart_{0};
  std::atomic<HANDLE> endEvent_{nullptr};
  std::atomic<bool> checked_{false};
  std::atomic<bool> refused_{false};
  bool ended_ = false;
  bool parameterFileDone_ = false;
  std::function<bool()> background_;
};

}  // namespace Orvo
