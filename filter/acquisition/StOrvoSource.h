// The base of the stream sources: one per connected output pin, made for the
// mode current at connection. It takes the hardware interfaces and the four
// DMA contexts every source needs, holds the running and pause flags that
// the camera interface sets, and converts an assembled frame into the pin's
// raw frame buffer in the output pixel format.
//
// Threads: createData runs on the pin's streaming thread under the pin lock.
// The running flag is written under the global frame lock, the pause flag and
// the bytes per output pixel without one; all three are atomic words.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "filter/acquisition/DmaContext.h"
#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/System.h"
#include "filter/acquisition/stream_source_header.h"
#include "filter/acquisition/stream_source_parts.h"
#include "filter/acquisition/system_holder.h"
#include "filter/hardware/error_data.h"
#include "platform/kernel/event.h"
#include "platform/win/types.h"

namespace Orvo {

class StOrvoSource {
 public:
  using Holder = Kel::SystemHolder<System>;
  using FrameBuffer = std::vector<std::uint8_t>;

  // Takes the interfaces, fills the data header with the input format and
  // makes the DMA contexts at its part size. Throws LIB3::CError (whatever
  // was built is undone) and std::invalid_argument when the holder is not
  // open.
  StOrvoSource(Holder& holder, HWND notifyWindow);
  virtual ~StOrvoSource();
  StOrvoSource(const StOrvoSource&) = delete;
  StOrvoSource& operator=(const StOrvoSource&) = delete;

  // One frame into `raw`: true when a frame was written, false when the
  // stream is to end. Each source states what it lets escape.
  virtual bool createData(FrameBuffer& raw) = 0;

  // Under the global frame lock, so it never changes in the middle of a
  // set-up frame cycle.
  void SetRunning(bool running);
  bool Running() const { return running_.load() != 0; }
  void SetPause(bool pause) { paused_ = pause ? 1 : 0; }
  bool Paused() const { return paused_.load() != 0; }

  // Set by the pin after creation: 3 or 4 (anything else writes no pixels).
  void SetBytesPerPixel(int bytes) { bytesPerPixel_ = bytes; }
  int BytesPerPixel() const { return bytesPerPixel_.load(); }

  // Add-on attribute 0x400004 of the last transferred frame; 180 asks the
  // pin for the rotated copy.
  std::int32_t Orientation() const { return orientation_.load(); }
  HWND NotifyWindow() const { return notifyWindow_; }
  std::uint64_t DmaBufferSize() const { return dmaSize_; }
  plat::Event& SourceEvent() { return event_; }

 protected:
  // Resizes `raw` to W x H x bytes per pixel, then the conversion the pixel
  // format and the level settings choose: colour for a Bayer sensor,
  // otherwise 2x2 summation when enabled, otherwise grey.
  void ConvertToOutput(unsigned width, unsigned height, FrameBuffer& raw);

  // KelLib3DataheaderGetType: refreshes the DMA buffer size.
  void RereadHeaderType(std::string_view unit);
  // State word of a status block read from `control`.
  std::uint32_t ReadState(KL3_HANDLE control, std::string_view unit);
  // What the shared part loop works on, reported under `unit`.
  PartTransfer Parts(std::string_view unit);

  KL3_HANDLE ErrorHandle() const { return error_.get(); }
  KL3_HANDLE SystemHandle() const { return system_; }
  const DataHeader& Header() const { return header_; }

  Holder& holder_;
  KL3_HANDLE system_ = 0;
  // The system's own converter.
  FrameConverter& converter_;
  KL3_HANDLE inputControlA_ = 0;  // 0xC0300002 index 0
  KL3_HANDLE inputControlB_ = 0;  // 0xC0300003 index 0
  KL3_HANDLE frameRange_ = 0;     // option 0x400020
  KL3_HANDLE framesToRecord_ = 0; // option 0x400007
  KL3_HANDLE input_ = 0;          // input interface 0xC0000000

 private:
  std::atomic<int> bytesPerPixel_{3};
  std::atomic<int> running_{0};
  std::array<DmaContext, 4> dma_;
  DataHeader header_;
  LIB3::ErrorData error_;
  std::atomic<int> paused_{0};
  HWND notifyWindow_;
  std::uint64_t dmaSize_ = 0;
  std::atomic<std::int32_t> orientation_{0};
  plat::Event event_{plat::EventReset::Automatic};
};

}  // namespace Orvo
