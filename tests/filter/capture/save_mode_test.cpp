// Save mode end to end, as the shell saves a film: a recording in input mode,
// then the save graph (camera, smart tee, AVI mux, file writer, renderer on
// the tee's preview output) in the same graph manager, and the AVI read back
// with a player's decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/avi/save_interfaces.h"
#include "platform/com/bstr_holder.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/guids.h"
#include "platform/graph/graph_topology.h"
#include "platform/kernel/event_handles.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"
#include "tests/platform/avi/saved_film.h"

namespace kel::test {
namespace {

constexpr int kFilmFrames = 30;
constexpr int kFirst = 5, kLast = 14;
constexpr DWORD kEndBoundMs = 60000;

ComPtr<IPin> pinAt(IBaseFilter* filter, std::size_t index) {
  auto pins = plat::pinsOf(filter);
  return index < pins.size() ? pins[index] : ComPtr<IPin>{};
}

ComPtr<IBaseFilter> create(const CLSID& clsid) {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter.putVoid()), S_OK)
      << plat::lastCoCreateError();
  return filter;
}

// The rig's graph, where the camera filter lives.
ComPtr<IGraphBuilder> graphOf(IBaseFilter* filter) {
  FILTER_INFO info{};
  ComPtr<IGraphBuilder> graph;
  if (filter->QueryFilterInfo(&info) == S_OK && info.pGraph) {
    info.pGraph->QueryInterface(IID_IGraphBuilder, graph.putVoid());
    info.pGraph->Release();
  }
  return graph;
}

class CaptureSave : public ::testing::Test {
 protected:
  // Rebuilds the rig's graph as the save graph writing `file`.
  void buildSaveGraph(const std::filesystem::path& file) {
    graph_ = graphOf(rig_.cameraFilter());
    ASSERT_TRUE(graph_);
    ASSERT_EQ(graph_->RemoveFilter(rig_.cameraFilter()), S_OK);
    ASSERT_EQ(graph_->RemoveFilter(rig_.renderer()), S_OK);
    tee_ = create(CLSID_SmartTee);
    mux_ = create(CLSID_AviDest);
    writer_ = create(CLSID_FileWriter);
    ASSERT_TRUE(tee_ && mux_ && writer_);
    ASSERT_EQ(graph_->AddFilter(rig_.cameraFilter(), u"Camera"), S_OK);
    ASSERT_EQ(rig_.camera()->SetMode(&MODE_Save), S_OK);
    ASSERT_EQ(graph_->AddFilter(tee_.get(), u"SmartTee"), S_OK);
    ASSERT_EQ(graph_->Connect(rig_.output().get(), pinAt(tee_.get(), 0).get()), S_OK);
    ASSERT_EQ(graph_->AddFilter(mux_.get(), u"AVIMux"), S_OK);
    ASSERT_EQ(graph_->Connect(pinAt(tee_.get(), 1).get(), pinAt(mux_.get(), 0).get()), S_OK);
    ASSERT_EQ(graph_->AddFilter(rig_.renderer(), u"Renderer"), S_OK);
    ASSERT_EQ(graph_->Connect(pinAt(tee_.get(), 2).get(), pinAt(rig_.renderer(), 0).get()), S_OK);
    ASSERT_EQ(graph_->AddFilter(writer_.get(), u"FileWriter"), S_OK);
    AM_MEDIA_TYPE mt{};
    mt.majortype = MEDIATYPE_Stream;
    mt.subtype = MEDIASUBTYPE_Avi;
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer_.as(IID_IFileSinkFilter, sink), S_OK);
    ASSERT_EQ(sink->SetFileName(file.u16string().c_str(), &mt), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(pinAt(mux_.get(), 1).get(), pinAt(writer_.get(), 0).get(), &mt), S_OK);
  }

  // Saves frames kFirst..kLast of the recorded film into `file` and waits
  // for the end event.
  void save(const std::filesystem::path& file) {
    ASSERT_NO_FATAL_FAILURE(buildSaveGraph(file));
    ICamera2* camera = rig_.camera();
    ASSERT_EQ(camera->SetSaveRange(kFirst, kLast), S_OK);
    plat::Bstr name(file.u16string());
    ASSERT_EQ(camera->SetSaveFileName(name.get()), S_OK);
    const HANDLE end = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(camera->SetEndEvent(end), S_OK);
    const bool ended = rig_.run() == S_OK && WaitForSingleObject(end, kEndBoundMs) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended);
    if (ended) {
      EXPECT_EQ(rig_.nextEvent(), EC_COMPLETE);
    }
    int finished = -1;
    EXPECT_EQ(camera->IsSaveFinished(&finished), S_OK);
    EXPECT_EQ(finished, 1);
    ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(ComPtr<IBaseFilter>(rig_.cameraFilter()).as(IID_IMediaSeeking, seeking), S_OK);
    LONGLONG written = -1, toWrite = -1;
    EXPECT_EQ(seeking->GetPositions(&written, &toWrite), S_OK);
    EXPECT_EQ(written, kLast - kFirst + 1);
    EXPECT_EQ(toWrite, kLast - kFirst + 1);
    EXPECT_TRUE(rig_.stop());
    camera->SetEndEvent(nullptr);
    CloseHandle(end);
    // The writer lets go of the file once it leaves the graph.
    for (auto* f : {tee_.get(), mux_.get(), writer_.get()}) graph_->RemoveFilter(f);
  }

  TempDir dir_;
  GraphRig rig_;
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IBaseFilter> tee_, mux_, writer_;
};

TEST_F(CaptureSave, RangeOfTheFilmBecomesAnAviOfThoseFramesInOrder) {
  ASSERT_TRUE(rig_.recordFilm(kFilmFrames));
  const auto file = dir_ / "range.avi";
  ASSERT_NO_FATAL_FAILURE(save(file));
  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  ASSERT_EQ(film.pictures.size(), static_cast<std::size_t>(kLast - kFirst + 1));
  const auto numbers = stripsOf(film);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    ASSERT_TRUE(numbers[i].has_value()) << "frame " << i;
    EXPECT_EQ(*numbers[i], static_cast<std::uint32_t>(kFirst) + i) << "frame " << i;
  }
  EXPECT_TRUE(rig_.texts().empty());
}

TEST_F(CaptureSave, OverlayChangesItsRegionOnly) {
  ASSERT_TRUE(rig_.recordFilm(kFilmFrames));
  const auto plainFile = dir_ / "plain.avi";
  const auto overlayFile = dir_ / "overlay.avi";
  ASSERT_NO_FATAL_FAILURE(save(plainFile));
  ASSERT_EQ(rig_.camera()->SetOverlayEnabled(1), S_OK);
  ASSERT_NO_FATAL_FAILURE(save(overlayFile));
  const ReadFilm plain = readFilm(plainFile);
  const ReadFilm overlay = readFilm(overlayFile);
  ASSERT_TRUE(plain.opened && overlay.opened) << plain.error << overlay.error;
  ASSERT_EQ(plain.pictures.size(), overlay.pictures.size());
  for (std::size_t i = 0; i < plain.pictures.size(); ++i) {
    const auto& a = plain.pictures[i];
    const auto& b = overlay.pictures[i];
    ASSERT_EQ(a.size(), b.size());
    std::size_t differing = 0;
    for (std::size_t k = 0; k < a.size(); ++k) differing += a[k] != b[k] ? 1 : 0;
    EXPECT_GT(differing, 0u) << "frame " << i << " has no overlay";
    EXPECT_LT(differing, a.size() / 2) << "frame " << i << " changed beyond the overlay";
  }
}

TEST_F(CaptureSave, OverlayOfASaveStraightAfterRecordingShowsTheCamerasValues) {
  ASSERT_TRUE(rig_.recordFilm(kFilmFrames));
  ASSERT_EQ(rig_.camera()->SetOverlayEnabled(1), S_OK);
  const auto straightFile = dir_ / "straight.avi";
  ASSERT_NO_FATAL_FAILURE(save(straightFile));
  // What a preview reads is the reference: period, exposure, window and the
  // film's length, with the film's frame numbers padded to that length.
  ASSERT_EQ(rig_.build(MODE_Preview), S_OK);
  ASSERT_EQ(rig_.run(), S_OK);
  plat::VideoFrame shown;
  ASSERT_TRUE(rig_.nextFrame(shown));
  EXPECT_EQ(transparentPixels(shown), 0u) << "the overlay keeps the frame opaque";
  ASSERT_TRUE(rig_.stop());
  const auto previewedFile = dir_ / "previewed.avi";
  ASSERT_NO_FATAL_FAILURE(save(previewedFile));
  rig_.camera()->SetOverlayEnabled(0);

  const ReadFilm straight = readFilm(straightFile);
  const ReadFilm previewed = readFilm(previewedFile);
  ASSERT_TRUE(straight.opened && previewed.opened) << straight.error << previewed.error;
  ASSERT_EQ(straight.pictures.size(), previewed.pictures.size());
  for (std::size_t i = 0; i < straight.pictures.size(); ++i) {
    const Block block = differingBlock(straight.pictures[i], previewed.pictures[i], straight.width, straight.height);
    EXPECT_TRUE(block.empty()) << "frame " << i << " differs in " << block.width() << "x" << block.height()
                               << " at " << block.left << "," << block.top;
  }
}

}  // namespace
}  // namespace kel::test
