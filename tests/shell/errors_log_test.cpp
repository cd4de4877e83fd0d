// COMERR error texts, the log line layout, and the log view's messages.
#include <gtest/gtest.h>

#include <regex>

#include "platform/com/bstr_holder.h"
#include "platform/com/hresult_message.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/ComErr.h"
#include "shell/app/LogStore.h"
#include "shell/app/LogView.h"
#include "shell/graph/Graph.h"

namespace kel::test {
namespace {

// A scalar property whose every call fails; its description is `text`, or
// the description itself fails when `text` is null.
class FailingScalar final : public IScalarProperty {
 public:
  explicit FailingScalar(const char16_t* text) : text_(text) {}
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT IsValid(LONG) override { return E_FAIL; }
  HRESULT GetUnits(SAFEARRAY**, LONG*) override { return E_FAIL; }
  HRESULT SetRelativeValue(LONG, UINT) override { return E_FAIL; }
  HRESULT GetValue(LONG*, UINT) override { return E_FAIL; }
  HRESULT GetMinValue(LONG*, UINT) override { return E_FAIL; }
  HRESULT GetMaxValue(LONG*, UINT) override { return E_FAIL; }
  HRESULT SetValueByUnitName(LONG, BSTR) override { return E_FAIL; }
  HRESULT SetValue(LONG, UINT) override { return E_INVALIDARG; }
  HRESULT GetName(BSTR*) override { return E_FAIL; }
  HRESULT GetUnitName(LONG, BSTR*) override { return E_FAIL; }
  HRESULT GetUnitId(BSTR, LONG*) override { return E_FAIL; }
  HRESULT GetErrorDescription(BSTR* out) override {
    if (!text_) return E_FAIL;
    *out = plat::Bstr(text_).detach();
    return S_OK;
  }

 private:
  const char16_t* text_;
};

template <class Call>
std::string raisedText(Call&& call) {
  try {
    call();
  } catch (const COMERR::CErrorBase& e) {
    return e.text();
  }
  return "(nothing raised)";
}

TEST(ComErr, HresultsAndPropertiesGiveTheirTexts) {
  EXPECT_EQ(COMERR::Check(S_FALSE), S_FALSE);
  EXPECT_EQ(raisedText([] { COMERR::Check(E_FAIL); }), "Код ошибки:-2147467259\n" + plat::hresultMessage(E_FAIL));

  FailingScalar described(u"Значение вне диапазона");
  EXPECT_EQ(raisedText([&] { COMERR::Check(&described, described.SetValue(1, 0)); }), "Значение вне диапазона");
  FailingScalar mute(nullptr);
  EXPECT_EQ(raisedText([&] { COMERR::Check(&mute, mute.GetValue(nullptr, 0)); }),
            "Неизвестная ошибка. Код ошибки: -2147467259");
}

TEST(ComErr, TextsStayWithin1024BytesAndWholeCharacters) {
  std::string longText;
  for (int i = 0; i < 600; ++i) longText += "ж";  // two bytes each
  const std::string cut = COMERR::limitText("x" + longText);
  EXPECT_LE(cut.size(), 1023u);
  EXPECT_GE(cut.size(), 1022u);
  EXPECT_EQ(cut.size() % 2, 1u) << "no half character at the end";
  EXPECT_EQ(COMERR::limitText("short"), "short");
}

class Log : public ::testing::Test {
 protected:
  void SetUp() override { LogStore::instance().Clear(); }
  void TearDown() override {
    LogStore::instance().SetLogWindow(nullptr);
    LogStore::instance().Clear();
  }
  static const std::regex& stamp() {
    static const std::regex r(R"(\d\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d\d \d\d:\d\d:\d\d - )");
    return r;
  }
};

TEST_F(Log, AFailedRestartLeavesOneLineWithTheGraphUnitsTail) {
  CGraph graph;  // never created: it cannot be stopped
  EXPECT_FALSE(graph.Restart());
  const auto lines = LogStore::instance().Lines();
  ASSERT_EQ(lines.size(), 1u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[0], m,
                               std::regex("Error: (.*)Can't stop graph\\\\Graph; Line: 386 ")))
      << lines[0];
  EXPECT_TRUE(std::regex_match(m[1].str(), stamp())) << m[1];
}

TEST_F(Log, TheLocationTailStartsAtTheLastBackslashAndWritesCanBeDisabled) {
  LogStore& log = LogStore::instance();
  log.Write(true, " File: D:\\work\\.\\Setting; Line: 7 ", "Warn ", "%d frames of %s", 3, "film");
  log.Write(false, " File: .\\Setting; Line: 8 ", "Error: ", "%s", "hidden");
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 5), "Warn ");
  EXPECT_TRUE(lines[0].ends_with(" - 3 frames of film\\Setting; Line: 7 ")) << lines[0];
}

TEST_F(Log, FilterTextsAreWrittenWithinTheErrorLevelAndTheirBlocksAlwaysFreed) {
  const std::size_t before = plat::globalBlocksInUse();
  EXPECT_FALSE(LogView::OnLogText(1, reinterpret_cast<LPARAM>(plat::globalCopyText("dropped"))));
  EXPECT_EQ(plat::globalBlocksInUse(), before);
  EXPECT_TRUE(LogView::OnLogText(0, reinterpret_cast<LPARAM>(plat::globalCopyText("Тайм-аут кадра"))));
  EXPECT_EQ(plat::globalBlocksInUse(), before);
  EXPECT_FALSE(LogView::OnLogText(0, 0));
  const auto lines = LogStore::instance().Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("Тайм-аут кадра\\LogView; Line: 152 "), std::string::npos) << lines[0];
}

TEST_F(Log, WritesScrollTheWindowAndClearEmptiesTheLines) {
  auto queue = std::make_shared<plat::MessageQueue>();
  std::vector<WPARAM> scrolls;
  plat::WindowRegistration window(queue, [&](const plat::Message& m) {
    if (m.message == WM_VSCROLL) scrolls.push_back(m.wParam);
    return LRESULT{0};
  });
  std::vector<std::string> seen;
  LogStore& log = LogStore::instance();
  auto previous = log.SetObserver([&](const std::string* line) { seen.push_back(line ? *line : "<clear>"); });
  log.SetLogWindow(window.hwnd());
  LogError(".\\DialogWndRecoder", 146, "CreateEvent: ERROR_INVALID_FUNCTION");
  queue->pump();
  EXPECT_EQ(scrolls, (std::vector<WPARAM>{SB_BOTTOM, SB_LINEDOWN}));
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
  LogError(".\\Setting", 1, "again");
  EXPECT_EQ(log.Lines().size(), 1u) << "new lines start again at the top";
  log.SetObserver(previous);
  log.SetLogWindow(nullptr);
  queue->pump();
  EXPECT_EQ(scrolls.size(), 4u);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1], "<clear>");
  EXPECT_TRUE(seen[0].ends_with("CreateEvent: ERROR_INVALID_FUNCTION\\DialogWndRecoder; Line: 146 ")) << seen[0];
}

}  // namespace
}  // namespace kel::test
