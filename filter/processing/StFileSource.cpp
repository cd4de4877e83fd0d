#include "filter/processing/StFileSource.h"

#include <exception>
#include <filesystem>
#include <string>
#include <thread>

#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/info_file.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/text_codec.h"
#include "platform/kernel/tick_count.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StFileSource";
constexpr std::uint32_t kAttributeOrientation = 0x400004;
constexpr std::uint32_t kFrameDeadlineMs = 2000;
// Memory partitions: a film exists only in memory organised as one
// partition; set-up mode divides it into a ring of live frames, whose
// numbers the frame-range option then reports.
constexpr std::uint32_t kPartitionsOption = 0x400009;
constexpr const char* kParameterFileError = "Ошибка сохранения атрибутов в текстовом файле";

// Where each step reports a refusal.
enum Line : int {
  kLineWidth = 59,
  kLineHeight = 61,
  kLineSelectFrame = 66,
  kLineOpenCycle = 68,
  kLineNextPart = 78,
  kLineReady = 88,
  kLineHeaderType = 99,
  kLineBeginBlock = 100,
  kLineStartDma = 112,
  kLineDmaEnd = 126,
  kLineEndBlock = 133,
  kLineStatus = 139,
};

LPARAM wordPair(std::int32_t low, std::int32_t high) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(low) & 0xFFFFu) |
                             ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16));
}

}  // namespace

StFileSource::StFileSource(Holder& holder, HWND notifyWindow) : StOrvoSource(holder, notifyWindow) { Reset(); }

void StFileSource::Reset() {
  const auto& save = Settings().save;
  first_ = save.firstFrame.load();
  last_ = save.lastFrame.load();
  next_ = first_.load();
  current_ = first_.load();
  written_ = 0;
  sampleStart_ = 0;
  checked_ = false;
  refused_ = false;
  ended_ = false;
  parameterFileDone_ = false;
}

void StFileSource::Start(HANDLE endEvent) {
  Reset();
  endEvent_ = endEvent;
  CheckFilm();
  if (refused_) return;
  const HWND bar = Settings().save.saveWindow.load();
  if (!IsWindow(bar)) return;
  // The bar's position is the next frame to write: full after the last one.
  SendMessage(bar, PBM_SETRANGE, 0, wordPair(first_, last_ + 1));
  SendMessage(bar, PBM_SETSTEP, 1, 0);
  SendMessage(bar, PBM_SETPOS, static_cast<WPARAM>(first_.load()), 0);
}

std::int32_t StFileSource::FramesToWrite() const {
  if (refused_) return 0;
  const std::int64_t frames = static_cast<std::int64_t>(last_.load()) - first_.load() + 1;
  return frames > 0 ? static_cast<std::int32_t>(frames) : 0;
}

bool StFileSource::IsSaveFinished() const {
  const std::int32_t toWrite = FramesToWrite();
  return toWrite > 0 && written_.load() == toWrite;
}

void StFileSource::CheckFilm() {
  checked_ = true;
  const std::int32_t first = first_, last = last_;
  try {
    const std::uint32_t state = ReadState(inputControlA_, kUnit);
    if (state == KELLIB3_STATE_RECORDING || state == KELLIB3_STATE_WAIT_TRIGGER)
      return Refuse("Фильм ещё записывается: сохранить его можно после конца записи");
    const KL3_HANDLE err = ErrorHandle();
    std::int32_t lowest = 0, highest = 0;
    LIB3::Check(KelLib3OptionGetScalarRange(frameRange_, &lowest, &highest, 0, err), err, kUnit, __LINE__);
    KL3_HANDLE partitions = 0;
    std::int32_t parts = 1;
    if (KelLib3SystemGetCInterface(SystemHandle(), kPartitionsOption, 0, &partitions, err) == 0)
      LIB3::Check(KelLib3OptionGetScalar(partitions, &parts, 0, err), err, kUnit, __LINE__);
    if (lowest < 0 || highest < 0 || parts > 1) return Refuse("В памяти нет записанного фильма: сохранять нечего");
    if (first > last)
      return Refuse("Неверный диапазон кадров для сохранения: первый кадр " + std::to_string(first) +
                    " больше последнего " + std::to_string(last));
    if (first < lowest || last > highest)
      return Refuse("Диапазон кадров " + std::to_string(first) + ".." + std::to_string(last) +
                    " выходит за пределы фильма " + std::to_string(lowest) + ".." + std::to_string(highest));
  } catch (const LIB3::CError& e) {
    Refuse(e.Text());
  }
}

void StFileSource::Refuse(std::string_view text) {
  refused_ = true;
  Post(text);
}

bool StFileSource::createData(FrameBuffer& raw) {
  try {
    return Produce(raw);
  } catch (const LIB3::CError& e) {
    Post(e.Text());
  } catch (const std::exception& e) {
    // A frame the converter cannot take ends the stream the same way.
    Post(e.what());
  }
  return Finish();
}

void StFileSource::RejectLastFrame() {
  if (ended_) return;
  if (written_.load() > 0) --written_;
  Finish();
}

bool StFileSource::Produce(FrameBuffer& raw) {
  if (!checked_) CheckFilm();
  if (refused_ || ended_) return Finish();
  const KL3_HANDLE err = ErrorHandle();
  std::uint32_t width = 0, height = 0;
  LIB3::Check(KelLib3DataheaderGetU32(Header().Handle(), KELLIB3_KEY_WIDTH, &width, err), err, kUnit, kLineWidth);
  LIB3::Check(KelLib3DataheaderGetU32(Header().Handle(), KELLIB3_KEY_HEIGHT, &height, err), err, kUnit, kLineHeight);
  const std::int32_t frame = next_;
  if (!Running() || frame > last_) return Finish();
  LIB3::Check(KelLib3OptionSetScalar(frameRange_, frame, 0, err), err, kUnit, kLineSelectFrame);
  LIB3::Check(KelLib3CallCInterface_0(inputControlB_, KELLIB3_CMD_OPEN_CYCLE, err), err, kUnit, kLineOpenCycle);
  if (!TransferFrame(width, height)) return Finish();
  ConvertToOutput(width, height, raw);
  if (!parameterFileDone_) {
    // Decided at the first frame: a flag set later waits for the next run.
    parameterFileDone_ = true;
    if (Settings().save.writeInfoFile.load() != 0) WriteParameterFile();
  }
  current_ = frame;
  sampleStart_ = static_cast<std::int64_t>(written_.load()) * kFrameDuration;
  ++written_;
  ++next_;
  StepProgress();
  return true;
}

bool StFileSource::TransferFrame(unsigned width, unsigned height) {
  const PartTransfer t = Parts(kUnit);
  const KL3_HANDLE err = t.error;
  const auto check = [err](KL3_RESULT r, int line) { LIB3::Check(r, err, kUnit, line); };
  // One deadline for every transfer of the frame.
  const std::uint32_t start = plat::tickCount();
  // 64 bits: a part index of all ones must still end the loop.
  std::int64_t p = 0;
  while (p <= 4) {
    if (p >= 0 && p <= 3) {
      KelLib3PartBlock block{};
      check(KelLib3CallCInterface_1(t.control, KELLIB3_CMD_NEXT_PART, sizeof block, &block, err), kLineNextPart);
      p = block.nextPart;
    }
    if (p >= 1 && p <= 4) {
      // A save waits as long as it takes for a frame, but gives up when stopped.
      for (;;) {
        std::uint32_t bytes = 0, frames = 0;
        check(KelLib3InDInterfaceQueryReady(t.input, &bytes, &frames, err), kLineReady);
        if (bytes != 0 || frames != 0) break;
        if (!Running()) return false;
        std::this_thread::yield();
      }
      std::uint32_t major = 0, minor = 0, low = 0, high = 0;
      check(KelLib3DataheaderGetType(Header().Handle(), &major, &minor, &low, &high, err), kLineHeaderType);
      check(KelLib3InDInterfaceBeginBlock(t.input, err), kLineBeginBlock);
      // The attribute is informative: a frame without one keeps the last value.
      std::int32_t orientation = t.orientation->load();
      KelLib3InDInterfaceGetAddOnAtributeType(t.input, kAttributeOrientation, 0, &orientation, err);
      t.orientation->store(orientation);
      const int part = static_cast<int>(p);
      check(KelLib3InDInterfaceStartDma(t.input, t.contexts[part - 1]->Handle(), err), kLineStartDma);
      // The previous part is converted while this one moves.
      if (part >= 2) TakePartFromContext(t, part - 1, width, height);
      for (;;) {
        std::uint32_t done = 0;
        check(KelLib3InDInterfaceQueryDmaEnd(t.input, &done, err), kLineDmaEnd);
        if (done != 0 || plat::ticksSince(start) >= kFrameDeadlineMs) break;
        std::this_thread::yield();
      }
      check(KelLib3InDInterfaceEndBlock(t.input, err), kLineEndBlock);
    }
    if (!WaitUntilIdle()) return false;
    p = p + 1;
  }
  TakePartFromContext(t, 4, width, height);
  return true;
}

bool StFileSource::WaitUntilIdle() {
  const KL3_HANDLE err = ErrorHandle();
  while (Running()) {
    KelLib3StatusBlock status{};
    LIB3::Check(KelLib3CallCInterface_1(inputControlB_, KELLIB3_CMD_READ_STATUS, sizeof status, &status, err), err,
                kUnit, kLineStatus);
    if (status.state == KELLIB3_STATE_IDLE) return true;
    std::this_thread::yield();
  }
  return false;
}

void StFileSource::WriteParameterFile() {
  const std::u16string film = Settings().save.fileName.get();
  if (film.empty()) {
    // Without the film's name there is nowhere beside it to write.
    Post(kParameterFileError);
    return;
  }
  const std::filesystem::path path(plat::utf16ToUtf8(film) + ".info");
  const bool background = background_ && background_();
  const std::string text = FormatShootingParameters(ReadShootingParameters(SystemHandle(), ErrorHandle(), background));
  std::string why;
  if (!WriteFileAtomically(path, plat::utf8ToCp1251(text), why)) Post(kParameterFileError);
}

void StFileSource::StepProgress() const {
  const HWND bar = Settings().save.saveWindow.load();
  if (IsWindow(bar)) PostMessage(bar, PBM_STEPIT, 0, 0);
}

bool StFileSource::Finish() {
  ended_ = true;
  if (const HANDLE event = endEvent_.exchange(nullptr)) SetEvent(event);
  return false;
}

void StFileSource::Post(std::string_view text) const { PostNotifyText(NotifyWindow(), text); }

}  // namespace Orvo
