// The save graph: smart tee, optional compressor, AVI mux and file writer,
// the renderer on the tee's second output, and the output file.
#include <gtest/gtest.h>

#include "platform/avi/save_interfaces.h"
#include "platform/com/co_create.h"
#include "platform/kernel/text_codec.h"
#include "shell/graph/Graph.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

using Names = std::vector<std::string>;

class SaveGraph : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText(); }
  void TearDown() override { graph.Destroy(); }

  // The output pin of the smart tee that feeds `name`, by pin order.
  int teeOutputTo(const std::string& name) {
    ComPtr<IBaseFilter> tee;
    if (FAILED(graph.Graph()->FindFilterByName(u"SmartTee", tee.put()))) return -1;
    ComPtr<IEnumPins> pins;
    tee->EnumPins(pins.put());
    ComPtr<IPin> pin;
    int output = 0;
    while (pins->Next(1, pin.put(), nullptr) == S_OK) {
      PIN_DIRECTION dir{};
      pin->QueryDirection(&dir);
      if (dir != PINDIR_OUTPUT) continue;
      ComPtr<IPin> peer;
      if (SUCCEEDED(pin->ConnectedTo(peer.put()))) {
        PIN_INFO info{};
        peer->QueryPinInfo(&info);
        const std::string peerName = filterName(info.pFilter);
        info.pFilter->Release();
        if (peerName == name) return output;
      }
      ++output;
    }
    return -1;
  }

  ShellHost host{{{"KELLIB3_TIME_SCALE", std::string("1000")}}};
  CGraph graph;
};

TEST_F(SaveGraph, WithoutCompressionTheTeeFeedsTheMuxAndTheRendererSecond) {
  ASSERT_TRUE(graph.BuildSaveGraph(nullptr, "Без сжатия")) << graph.GetLastErrorText();
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "SmartTee", "AVIMux", "Renderer", "FileWriter"}));
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->SmartTee", "SmartTee->AVIMux", "SmartTee->Renderer"}));
  EXPECT_EQ(teeOutputTo("AVIMux"), 0);
  EXPECT_EQ(teeOutputTo("Renderer"), 1);
}

TEST_F(SaveGraph, ANamedCompressorSitsBetweenTeeAndMux) {
  ASSERT_FALSE(graph.Compressors().empty());
  const std::string codec = graph.Compressors().front().name;
  ASSERT_TRUE(graph.BuildSaveGraph(nullptr, codec)) << graph.GetLastErrorText();
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "SmartTee", codec, "AVIMux", "Renderer", "FileWriter"}));
  EXPECT_EQ(connections(graph.Graph()),
            (Names{"Camera->SmartTee", codec + "->AVIMux", "SmartTee->" + codec, "SmartTee->Renderer"}));
  EXPECT_EQ(teeOutputTo(codec), 0);

  // Names match exactly: another case is no compressor at all.
  std::string upper = codec;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper != codec) {
    ASSERT_TRUE(graph.BuildSaveGraph(nullptr, upper));
    EXPECT_EQ(filterNames(graph.Graph()).size(), 5u);
  }
}

TEST_F(SaveGraph, TheOutputFileConnectsTheWriterAndCanBeChanged) {
  TempDir dir;
  ASSERT_TRUE(graph.BuildSaveGraph(nullptr, "Без сжатия"));
  for (const char* name : {"first.avi", "second.avi"}) {
    const std::string path = (dir / name).string();
    ASSERT_TRUE(graph.SetOutputFile(path)) << graph.GetLastErrorText();
    EXPECT_EQ(connections(graph.Graph()),
              (Names{"AVIMux->FileWriter", "Camera->SmartTee", "SmartTee->AVIMux", "SmartTee->Renderer"}));
    ComPtr<IBaseFilter> writer;
    ASSERT_EQ(graph.Graph()->FindFilterByName(u"FileWriter", writer.put()), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer->QueryInterface(IID_IFileSinkFilter, sink.putVoid()), S_OK);
    LPOLESTR current = nullptr;
    ASSERT_EQ(sink->GetCurFile(&current, nullptr), S_OK);
    EXPECT_EQ(plat::utf16ToUtf8(current), path);
    CoTaskMemFree(current);
  }
}

}  // namespace
}  // namespace kel::test
