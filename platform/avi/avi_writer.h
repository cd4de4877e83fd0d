// One AVI film written with libavformat into a FileSink. Every frame goes
// to the file before writeFrame returns (the film written so far is
// readable even if the process dies: the container's index comes last, and
// readers scan the frames without it). Space for the frame and for the
// index is reserved before a frame starts, so a full disk stops the film
// between two frames and finish() can still close it properly.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/avi/avi_stream_format.h"
#include "platform/avi/file_sink.h"

struct AVFormatContext;
struct AVIOContext;

namespace plat {

class AviWriter {
 public:
  explicit AviWriter(std::shared_ptr<FileSink> sink);
  // Closes the file; a film not finished is finished first.
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Writes the file header. `frameDuration` (100 ns units) sets the rate.
  HRESULT begin(const AviStreamSpec& spec, REFERENCE_TIME frameDuration);
  bool begun() const { return begun_; }
  // Frame number `index` (counted in frame durations from the first);
  // numbers must grow. A failure leaves the film as it was before this
  // frame, ready to be finished.
  HRESULT writeFrame(const std::uint8_t* data, std::size_t size, std::int64_t index, bool keyFrame);
  // Writes the index and the final header sizes, then closes the file.
  HRESULT finish();
  std::int64_t framesWritten() const { return frames_; }

 private:
  HRESULT openIo();
  void freeIo();
  // A write failed inside the library: go back to the last whole frame with
  // a fresh I/O context so that the film can still be finished.
  void recoverToLastFrame();
  HRESULT sinkResult(int libraryResult) const;

  std::shared_ptr<FileSink> sink_;
  AVFormatContext* format_ = nullptr;
  AVIOContext* io_ = nullptr;
  bool begun_ = false;
  bool finished_ = false;
  std::int64_t frames_ = 0;
  std::int64_t lastIndex_ = -1;
  std::int64_t committedEnd_ = 0;
};

}  // namespace plat
