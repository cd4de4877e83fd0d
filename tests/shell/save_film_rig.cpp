#include "tests/shell/save_film_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "shared/property_interfaces.h"

namespace kel::test {
namespace {

// Bounds on waits for what the graph does by itself; reaching one is a
// failure, never a way of timing.
constexpr DWORD kEndBoundMs = 60000;
constexpr auto kPumpBound = std::chrono::milliseconds(kEndBoundMs + 5000);

// Posted to the log window by the helper thread: wParam 1 when the end
// event came.
constexpr UINT kEndArrived = WM_APP + 0x40;

// What the bar is sent when a save starts: range, step and position; every
// frame then posts one step.
constexpr int kStartMessages = 3;

constexpr LONG kStartEventOption = 0x400004, kStopEventOption = 0x400005;
constexpr LONG kStartByCommand = 4, kStopAfterFrames = 37;
constexpr LONG kFramePositionOption = 0x400020;

}  // namespace

bool SaveOutcome::has(LONG code) const { return std::find(events.begin(), events.end(), code) != events.end(); }

LONG_PTR SaveOutcome::param(LONG code) const {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i] == code) return eventParams[i];
  return 0;
}

SaveFilmRig::SaveFilmRig(std::vector<EnvVar> vars)
    : host_(std::move(vars)),
      bar_(gate_,
           [this](const plat::Message& m) -> LRESULT {
             switch (m.message) {
               case PBM_SETRANGE:
                 ++progress_.rangeCalls;
                 progress_.rangeLow = static_cast<int>(m.lParam & 0xFFFF);
                 progress_.rangeHigh = static_cast<int>((m.lParam >> 16) & 0xFFFF);
                 break;
               case PBM_SETSTEP: progress_.step = static_cast<int>(m.wParam); break;
               case PBM_SETPOS: progress_.position = static_cast<int>(m.wParam); break;
               case PBM_STEPIT: ++progress_.steps; break;
               default: break;
             }
             return 0;
           }),
      log_(queue_, [this](const plat::Message& m) -> LRESULT {
        if (m.message == WM_LOG_TEXT) {
          auto block = reinterpret_cast<HGLOBAL>(m.lParam);
          texts_.emplace_back(static_cast<const char*>(block));
          GlobalFree(block);
        } else if (m.message == kEndArrived) {
          endArrived_ = true;
          endSignalled_ = m.wParam != 0;
        }
        return 0;
      }) {
  if (!graph_.Create()) {
    ADD_FAILURE() << graph_.GetLastErrorText();
    return;
  }
  EXPECT_TRUE(graph_.SetLogWindow(log_.hwnd()));
  endEvent_ = CreateEvent(nullptr, FALSE, FALSE, nullptr);
}

SaveFilmRig::~SaveFilmRig() {
  gate_->release();
  if (auto camera = this->camera()) camera->SetEndEvent(nullptr);
  graph_.Destroy();
  joinHelper();
  if (endEvent_) CloseHandle(endEvent_);
  // Texts still queued go to the log window before it is gone.
  queue_->pump();
}

ComPtr<ICamera2> SaveFilmRig::camera() {
  ComPtr<ICamera2> camera;
  graph_.GetCamera2(camera.put());
  return camera;
}

bool SaveFilmRig::buildRecording(int frames) {
  for (const auto& [option, value] :
       {std::pair{kStartEventOption, kStartByCommand}, std::pair{kStopEventOption, kStopAfterFrames}}) {
    ComPtr<IEnumProperty> property;
    if (!graph_.GetEnumProperty(option, property.put()) || property->SetValue(value) != S_OK) return false;
  }
  return graph_.BuildInputGraph(frames);
}

bool SaveFilmRig::record(int frames, FilmRange& range) {
  if (!buildRecording(frames)) return false;
  armEndEvent();
  bool ended = graph_.Run();
  if (ended) {
    waitForEndOnHelper();
    // The recording's texts keep coming to the log window meanwhile.
    ended = pumpUntilTheEnd();
  }
  camera()->SetEndEvent(nullptr);
  const bool stopped = graph_.Stop();
  graph_.filmRecorded = ended;
  return filmRange(range) && ended && stopped;
}

bool SaveFilmRig::startRecording(int frames) {
  if (!buildRecording(frames)) return false;
  camera()->SetEndEvent(nullptr);
  return graph_.Run();
}

bool SaveFilmRig::filmRange(FilmRange& range) {
  ComPtr<IScalarProperty> position;
  if (!graph_.GetScalarProperty(kFramePositionOption, 0, position.put())) return false;
  return position->GetMinValue(&range.first, 0) == S_OK && position->GetMaxValue(&range.last, 0) == S_OK;
}

std::string SaveFilmRig::start(const std::filesystem::path& file, const std::string& codec, FilmRange range) {
  auto camera = this->camera();
  if (!camera) return "GetCamera2: " + graph_.GetLastErrorText();
  camera->SetSaveRange(range.first, range.last);
  if (!graph_.BuildSaveGraph(bar(), codec)) return "BuildSaveGraph: " + graph_.GetLastErrorText();
  if (!graph_.SetOutputFile(file.string())) return "SetOutputFile: " + graph_.GetLastErrorText();
  armEndEvent();
  progress_ = Progress{};
  drainEvents();
  if (!graph_.Run()) return "Run: " + graph_.GetLastErrorText();
  waitForEndOnHelper();
  return {};
}

void SaveFilmRig::waitForEndOnHelper() {
  const HWND window = log_.hwnd();
  const HANDLE end = endEvent_;
  helper_ = std::thread([window, end] {
    const bool came = WaitForSingleObject(end, kEndBoundMs) == WAIT_OBJECT_0;
    PostMessage(window, kEndArrived, came ? 1 : 0, 0);
  });
}

void SaveFilmRig::joinHelper() {
  if (helper_.joinable()) helper_.join();
}

void SaveFilmRig::holdAfterFrame(int frames) { gate_->holdAt(kStartMessages + frames); }

bool SaveFilmRig::waitUntilHeld() { return gate_->waitUntilHeld(kPumpBound); }

void SaveFilmRig::armEndEvent() {
  joinHelper();
  ResetEvent(endEvent_);
  endArrived_ = endSignalled_ = false;
  camera()->SetEndEvent(endEvent_);
}

bool SaveFilmRig::pumpUntilTheEnd() {
  const auto deadline = std::chrono::steady_clock::now() + kPumpBound;
  while (helper_.joinable() && !endArrived_ && std::chrono::steady_clock::now() < deadline)
    queue_->waitAndPump(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
  joinHelper();
  return endSignalled_;
}

SaveOutcome SaveFilmRig::finish() {
  SaveOutcome out;
  pumpUntilTheEnd();
  out.ended = endSignalled_;
  // Without the end event only what is already queued.
  for (const auto& [code, param] : eventsUntilTheEnd(out.ended ? kEndBoundMs : 0)) {
    out.events.push_back(code);
    out.eventParams.push_back(param);
  }
  EXPECT_TRUE(graph_.Stop()) << graph_.GetLastErrorText();
  // Steps posted before the stop still reach the bar.
  queue_->pump();
  int finished = -1;
  if (auto camera = this->camera()) {
    EXPECT_EQ(camera->IsSaveFinished(&finished), S_OK);
    camera->SetEndEvent(nullptr);
  }
  out.finished = finished;
  out.written = framesWritten();
  return out;
}

SaveOutcome SaveFilmRig::save(const std::filesystem::path& file, const std::string& codec, FilmRange range) {
  const std::string failed = start(file, codec, range);
  EXPECT_EQ(failed, "");
  if (!failed.empty()) return {};
  return finish();
}

std::vector<std::pair<LONG, LONG_PTR>> SaveFilmRig::eventsUntilTheEnd(DWORD boundMs) {
  std::vector<std::pair<LONG, LONG_PTR>> out;
  ComPtr<IMediaEventEx> events;
  if (!graph_.GetMediaEvent(events.putVoid())) return out;
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events->GetEvent(&code, &p1, &p2, static_cast<LONG>(boundMs)) == S_OK) {
    out.emplace_back(code, p1);
    events->FreeEventParams(code, p1, p2);
    if (code == EC_COMPLETE || code == EC_ERRORABORT) break;
    queue_->pump();
  }
  return out;
}

void SaveFilmRig::drainEvents() {
  ComPtr<IMediaEventEx> events;
  if (!graph_.GetMediaEvent(events.putVoid())) return;
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) events->FreeEventParams(code, p1, p2);
}

LONGLONG SaveFilmRig::framesWritten() {
  ComPtr<IBaseFilter> camera;
  ComPtr<IMediaSeeking> seeking;
  if (FAILED(graph_.Graph()->FindFilterByName(u"Camera", camera.put())) ||
      FAILED(camera.as(IID_IMediaSeeking, seeking)))
    return -1;
  LONGLONG written = -1, toWrite = -1;
  return seeking->GetPositions(&written, &toWrite) == S_OK ? written : -1;
}

std::vector<std::string> SaveFilmRig::texts() {
  queue_->pump();
  return texts_;
}

}  // namespace kel::test
