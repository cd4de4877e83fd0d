#include "tools/saver.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/avi/save_interfaces.h"
#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/save_name.h"
#include "tools/end_event.h"
#include "tools/interrupt.h"
#include "tools/overlay_settings.h"
#include "tools/progress_display.h"
#include "tools/progress_window.h"
#include "tools/stream_wait.h"

namespace kelorvo {
namespace {

constexpr const char* kIncompleteFilm = "Возникла ошибка при сохранении фильма";

// The range to save: the options' ends, each defaulting to the film's.
// `film` is not empty.
FrameRange chooseRange(const FrameRange& film, const SaveOptions& options) {
  FrameRange range{options.from ? static_cast<LONG>(*options.from) : film.first,
                   options.to ? static_cast<LONG>(*options.to) : film.last};
  if (range.first < film.first || range.last > film.last || range.first > range.last)
    throw std::invalid_argument("frames " + std::to_string(range.first) + ".." + std::to_string(range.last) +
                                " are not within the recorded film " + std::to_string(film.first) + ".." +
                                std::to_string(film.last));
  return range;
}

std::string chooseCodec(CGraph& graph, const std::string& wanted) {
  std::vector<std::string> box;
  if (!graph.FillCompressorList(box)) throw COMERR::CTextError(graph.GetLastErrorText());
  if (wanted.empty()) return kNoCompression;
  if (std::find(box.begin(), box.end(), wanted) == box.end())
    throw std::invalid_argument("no codec \"" + wanted + "\"; `kelorvo codecs` lists them");
  return wanted;
}

// Replaces the film and its parameter file; checkTarget allowed it.
void removeReplaced(const std::string& name) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return;
  if (!std::filesystem::remove(name, ec) || ec) throw std::invalid_argument("cannot replace " + name + ": " + ec.message());
  std::filesystem::remove(name + ".info", ec);
}

// Why the file writer could not write, in words; empty when it could.
std::string writerFailure(CGraph& graph) {
  ComPtr<IBaseFilter> writer;
  ComPtr<IKelSaveStatus> status;
  if (FAILED(graph.Graph()->FindFilterByName(u"FileWriter", writer.put())) ||
      FAILED(writer.as(IID_IKelSaveStatus, status)))
    return {};
  HRESULT failure = S_OK;
  plat::Bstr text;
  if (FAILED(status->GetLastFailure(&failure, text.put())) || SUCCEEDED(failure) || !text.get()) return {};
  return plat::utf16ToUtf8(text.get());
}

bool runSave(Session& session, const std::string& name, const std::string& codec, const FrameRange& range) {
  CGraph& graph = session.graph();
  ProgressWindow bar;
  ProgressDisplay display(stderr, isatty(fileno(stderr)) != 0);
  session.setBeforeLogLine([&display] { display.clearLine(); });
  struct HookReset {
    Session& s;
    ~HookReset() { s.setBeforeLogLine(nullptr); }
  } hookReset{session};

  if (!graph.BuildSaveGraph(bar.hwnd(), codec)) return session.fail(graph.GetLastErrorText()), false;
  ComPtr<ICamera2> camera = session.camera();
  COMERR::Check(camera->SetSaveRange(range.first, range.last));
  if (!graph.SetOutputFile(name)) return session.fail(graph.GetLastErrorText()), false;
  EndEvent end;
  if (!end.get()) return session.fail("cannot create the end event"), false;
  camera->SetEndEvent(end.get());
  dropQueuedEvents(graph);
  InterruptScope interrupt;
  if (!graph.Run()) {
    const std::string why = writerFailure(graph);
    const std::string error = graph.GetLastErrorText();
    graph.Stop();
    camera->SetEndEvent(nullptr);
    return session.fail(why.empty() ? error : "cannot write " + name + ": " + why), false;
  }
  const StreamOutcome outcome =
      waitForStream(session, {end.get(), [&] { camera->StopCamera(TRUE); }, [&] { display.show(bar.state()); }});
  graph.Stop();
  display.show(bar.settledState());
  display.finish();
  camera->SetEndEvent(nullptr);
  session.pump();
  int finished = 0;
  camera->IsSaveFinished(&finished);
  if (finished) return true;
  std::string why = writerFailure(graph);
  if (why.empty()) why = endingReason(session, outcome);
  if (interruptRequested()) why = "interrupted";
  return session.fail(std::string(kIncompleteFilm) + (why.empty() ? "" : " (" + why + ")")), false;
}

}  // namespace

std::string checkTarget(const std::string& file, bool force) {
  // A line end or another control character makes a name no one can type.
  if (std::any_of(file.begin(), file.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
    throw std::invalid_argument("the film's name holds a line end or another control character");
  const std::optional<std::string> name = NormalizeSaveFileName(file);
  if (!name) throw std::invalid_argument(std::string(kBadFileNameText) + ": \"" + file + "\"");
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(*name, ec);
  if (std::filesystem::is_directory(status)) throw std::invalid_argument(*name + " is a folder");
  if (std::filesystem::exists(status) && !force) throw std::invalid_argument(*name + " already exists; --force replaces it");
  return *name;
}

bool saveFilm(Session& session, const std::string& file, const SaveOptions& options, SavedFilm& saved) {
  CGraph& graph = session.graph();
  FrameRange film;
  if (!readRecordedRange(graph, film)) return session.fail(graph.GetLastErrorText()), false;
  // A fault the camera only showed in a box can end a recording early.
  if (film.empty()) return session.fail(session.withFilterText("the recording left no film in the grabber's memory")), false;
  const FrameRange range = chooseRange(film, options);
  const std::string codec = chooseCodec(graph, options.codec);
  const OverlaySettings overlay(session.camera(), options);
  const std::string name = checkTarget(file, options.force);
  removeReplaced(name);
  if (!runSave(session, name, codec, range)) return false;
  saved.avi = std::filesystem::absolute(name);
  saved.info.clear();
  if (options.infoFile && std::filesystem::exists(name + ".info")) saved.info = std::filesystem::absolute(name + ".info");
  saved.range = range;
  return true;
}

void printSaved(const SavedFilm& saved) {
  std::printf("Saved frames %d..%d (%d frames)\n", saved.range.first, saved.range.last, saved.range.frames());
  std::printf("AVI: %s\n", saved.avi.c_str());
  if (!saved.info.empty()) std::printf("Info: %s\n", saved.info.c_str());
}

}  // namespace kelorvo
