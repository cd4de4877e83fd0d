// The video renderer's windowless control, its repaint requests and the
// newest-frame reading the shell's video window uses.
#include <cstring>
#include <memory>

#include "platform/dshow/errors.h"
#include "platform/graph/renderer_frames.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/platform/graph/graph_test_env.h"

namespace kel::test {
namespace {

class RendererTest : public GraphTest {
 protected:
  static ComPtr<IVMRWindowlessControl> windowlessOf(IBaseFilter* renderer) {
    ComPtr<IVMRWindowlessControl> windowless;
    EXPECT_EQ(ComPtr<IBaseFilter>(renderer).as(IID_IVMRWindowlessControl, windowless), S_OK);
    return windowless;
  }

  // Runs the graph until its stream ended, then stops it.
  void runToCompletion() {
    ASSERT_EQ(control_->Run(), S_OK);
    EXPECT_EQ(std::get<0>(nextEvent()), EC_COMPLETE);
    ASSERT_EQ(control_->Stop(), S_OK);
  }

  std::shared_ptr<plat::MessageQueue> queue_ = std::make_shared<plat::MessageQueue>();
  std::vector<UINT> messages_;
  plat::WindowRegistration window_{queue_, [this](const plat::Message& m) {
                                     messages_.push_back(m.message);
                                     return LRESULT{0};
                                   }};
};

TEST_F(RendererTest, WindowlessControlExistsOnlyInWindowlessMode) {
  auto renderer = makeRenderer(false);
  ComPtr<IVMRWindowlessControl> windowless;
  EXPECT_EQ(renderer.as(IID_IVMRWindowlessControl, windowless), E_NOINTERFACE);
  ComPtr<IVMRFilterConfig> config;
  ASSERT_EQ(renderer.as(IID_IVMRFilterConfig, config), S_OK);
  EXPECT_EQ(config->SetRenderingMode(3), E_INVALIDARG);
  EXPECT_EQ(config->SetRenderingMode(VMRMode_Renderless), E_NOTIMPL);
  ASSERT_EQ(config->SetRenderingMode(VMRMode_Windowless), S_OK);
  EXPECT_EQ(renderer.as(IID_IVMRWindowlessControl, windowless), S_OK);
  DWORD mode = 0;
  EXPECT_EQ(config->GetRenderingMode(&mode), S_OK);
  EXPECT_EQ(mode, VMRMode_Windowless);
}

TEST_F(RendererTest, TheRenderingModeIsFixedOnceConnected) {
  auto renderer = build(ToyConfig{});
  ComPtr<IVMRFilterConfig> config;
  ASSERT_EQ(renderer.as(IID_IVMRFilterConfig, config), S_OK);
  EXPECT_EQ(config->SetRenderingMode(VMRMode_Windowed), VFW_E_WRONG_STATE);
  EXPECT_EQ(config->SetNumberOfStreams(1), S_OK);
  EXPECT_EQ(config->SetNumberOfStreams(0), E_INVALIDARG);
  EXPECT_EQ(config->SetNumberOfStreams(4), E_NOTIMPL) << "mixing is not provided";
}

TEST_F(RendererTest, SizeAndImageComeFromTheConnection) {
  auto unconnected = makeRenderer();
  auto idle = windowlessOf(unconnected.get());
  LONG w = 0, h = 0;
  EXPECT_EQ(idle->GetNativeVideoSize(&w, &h, nullptr, nullptr), VFW_E_NOT_CONNECTED);
  BYTE* dib = nullptr;
  EXPECT_EQ(idle->GetCurrentImage(&dib), VFW_E_NOT_CONNECTED);

  auto renderer = build(ToyConfig{.width = 12, .height = 6});
  auto windowless = windowlessOf(renderer.get());
  LONG arw = 0, arh = 0;
  ASSERT_EQ(windowless->GetNativeVideoSize(&w, &h, &arw, &arh), S_OK);
  EXPECT_EQ(w, 12);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(arw * h, arh * w);
  EXPECT_EQ(windowless->GetCurrentImage(&dib), E_FAIL) << "connected, but no picture yet";
  EXPECT_EQ(dib, nullptr);
}

TEST_F(RendererTest, VideoPositionIsStoredAndChecked) {
  auto windowless = windowlessOf(build(ToyConfig{.width = 8, .height = 4}).get());
  RECT src{}, dst{};
  ASSERT_EQ(windowless->GetVideoPosition(&src, &dst), S_OK);
  EXPECT_EQ(src.right, 8) << "the whole picture until set";
  EXPECT_EQ(src.bottom, 4);

  RECT client{0, 0, 640, 480};
  ASSERT_EQ(windowless->SetVideoPosition(nullptr, &client), S_OK);
  RECT backwards{10, 0, 5, 4};
  EXPECT_EQ(windowless->SetVideoPosition(&backwards, nullptr), E_INVALIDARG);
  EXPECT_EQ(windowless->SetVideoPosition(nullptr, nullptr), E_POINTER);
  ASSERT_EQ(windowless->GetVideoPosition(&src, &dst), S_OK);
  EXPECT_EQ(dst.right, 640);
  EXPECT_EQ(dst.bottom, 480);
  EXPECT_EQ(src.right, 8) << "a null source keeps the old one";

  EXPECT_EQ(windowless->SetAspectRatioMode(7), E_INVALIDARG);
}

TEST_F(RendererTest, TheClippingWindowGetsOneRepaintRequestUntilItReads) {
  const ToyConfig config{.frames = 4};
  auto renderer = build(config);
  auto windowless = windowlessOf(renderer.get());
  EXPECT_EQ(windowless->RepaintVideo(window_.hwnd(), nullptr), VFW_E_WRONG_STATE) << "no clipping window yet";
  EXPECT_EQ(windowless->SetVideoClippingWindow(reinterpret_cast<HWND>(std::intptr_t{0x7777})), E_INVALIDARG);
  ASSERT_EQ(windowless->SetVideoClippingWindow(window_.hwnd()), S_OK);

  runToCompletion();
  queue_->pump();
  ASSERT_EQ(messages_, std::vector<UINT>{plat::kRendererRepaintMessage}) << "four frames, one request";

  plat::VideoFrame frame;
  ASSERT_TRUE(plat::readNewestFrame(windowless.get(), frame));
  EXPECT_EQ(frame.width, 8);
  EXPECT_EQ(frame.height, 4);
  EXPECT_EQ(frame.stride, 24);
  EXPECT_EQ(frame.bitCount, 24);
  EXPECT_TRUE(frame.bottomUp);
  EXPECT_EQ(frame.counter, 4u);
  EXPECT_EQ(frame.bytes, toyPicture(config, 3));

  runToCompletion();
  queue_->pump();
  EXPECT_EQ(messages_.size(), 2u) << "reading the frame re-armed the request";
  EXPECT_EQ(windowless->RepaintVideo(reinterpret_cast<HWND>(std::intptr_t{0x7777}), nullptr), E_INVALIDARG);
  EXPECT_EQ(windowless->RepaintVideo(window_.hwnd(), nullptr), S_OK);
}

TEST_F(RendererTest, ReadingTheSameFrameAgainCopiesNothing) {
  const ToyConfig config{.frames = 2};
  auto renderer = build(config);
  plat::VideoFrame frame;
  EXPECT_FALSE(plat::readNewestFrame(renderer.get(), frame)) << "nothing received yet";
  EXPECT_FALSE(plat::readNewestFrame(graph_.get(), frame)) << "not a renderer";
  runToCompletion();

  ASSERT_TRUE(plat::readNewestFrame(renderer.get(), frame));
  frame.bytes.clear();
  ASSERT_TRUE(plat::readNewestFrame(renderer.get(), frame));
  EXPECT_TRUE(frame.bytes.empty());

  runToCompletion();
  ASSERT_TRUE(plat::readNewestFrame(renderer.get(), frame));
  EXPECT_EQ(frame.counter, 4u) << "the count goes on across runs";
  EXPECT_EQ(frame.bytes, toyPicture(config, 1));
}

TEST_F(RendererTest, ATopDownPictureKeepsItsRowOrder) {
  const ToyConfig config{.subtype = MEDIASUBTYPE_RGB32, .topDown = true, .frames = 1};
  auto renderer = build(config);
  runToCompletion();
  plat::VideoFrame frame;
  ASSERT_TRUE(plat::readNewestFrame(renderer.get(), frame));
  EXPECT_FALSE(frame.bottomUp);

  BYTE* dib = nullptr;
  ASSERT_EQ(windowlessOf(renderer.get())->GetCurrentImage(&dib), S_OK);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, dib, sizeof header);
  EXPECT_EQ(header.biHeight, -4);
  EXPECT_EQ(header.biSizeImage, static_cast<DWORD>(toyImageSize(config)));
  EXPECT_EQ(std::memcmp(dib + sizeof header, toyPicture(config, 0).data(), header.biSizeImage), 0);
  CoTaskMemFree(dib);
}

TEST_F(RendererTest, DisconnectingDropsThePicture) {
  auto renderer = build(ToyConfig{.frames = 1});
  runToCompletion();
  ASSERT_EQ(graph_->RemoveFilter(renderer.get()), S_OK);
  plat::VideoFrame frame;
  EXPECT_FALSE(plat::readNewestFrame(renderer.get(), frame));
  LONG w = 0;
  EXPECT_EQ(windowlessOf(renderer.get())->GetNativeVideoSize(&w, nullptr, nullptr, nullptr), VFW_E_NOT_CONNECTED);
}

}  // namespace
}  // namespace kel::test
