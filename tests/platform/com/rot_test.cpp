#include <gtest/gtest.h>

#include "platform/com/co_create.h"
#include "platform/com/cunknown.h"
#include "platform/com/running_object_table.h"

namespace {

// Counts its own destruction so tests see when the table lets go.
class Tracked final : public CUnknown, public IUnknown {
 public:
  explicit Tracked(bool* destroyed) : CUnknown("Tracked", nullptr), destroyed_(destroyed) {}
  ~Tracked() override { *destroyed_ = true; }
  DECLARE_IUNKNOWN

 private:
  bool* destroyed_;
};

ComPtr<IUnknown> makeTracked(bool* destroyed) {
  return ComPtr<IUnknown>((new Tracked(destroyed))->GetNonDelegatingUnknown());
}

ComPtr<IMoniker> item(const char16_t* name) {
  ComPtr<IMoniker> moniker;
  EXPECT_EQ(CreateItemMoniker(u"!", name, moniker.put()), S_OK);
  return moniker;
}

std::u16string displayName(IMoniker* moniker) {
  LPOLESTR name = nullptr;
  EXPECT_EQ(moniker->GetDisplayName(nullptr, nullptr, &name), S_OK);
  std::u16string text = name ? name : u"";
  CoTaskMemFree(name);
  return text;
}

class RotTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetRunningObjectTable(0, rot_.put()), S_OK); }
  ComPtr<IRunningObjectTable> rot_;
};

TEST_F(RotTest, RegisterFindAndRevoke) {
  bool destroyed = false;
  ComPtr<IUnknown> graph = makeTracked(&destroyed);
  ComPtr<IMoniker> name = item(u"FilterGraph 0000abcd pid 00001234");
  EXPECT_EQ(displayName(name.get()), u"!FilterGraph 0000abcd pid 00001234");

  DWORD cookie = 0;
  ASSERT_EQ(rot_->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph.get(), name.get(), &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  EXPECT_EQ(plat::runningObjectNames(), std::vector<std::u16string>{u"!FilterGraph 0000abcd pid 00001234"});
  EXPECT_EQ(plat::findRunningObject(u"!FilterGraph 0000abcd pid 00001234").get(), graph.get());

  // A second moniker with the same name finds the same object.
  ComPtr<IMoniker> again = item(u"FilterGraph 0000abcd pid 00001234");
  EXPECT_EQ(rot_->IsRunning(again.get()), S_OK);
  ComPtr<IUnknown> found;
  ASSERT_EQ(rot_->GetObject(again.get(), found.put()), S_OK);
  EXPECT_EQ(found.get(), graph.get());
  found.reset();
  ASSERT_EQ(again->BindToObject(nullptr, nullptr, IID_IUnknown, found.putVoid()), S_OK);
  EXPECT_EQ(found.get(), graph.get());
  found.reset();

  graph.reset();
  EXPECT_FALSE(destroyed) << "the table keeps the object alive";
  ASSERT_EQ(rot_->Revoke(cookie), S_OK);
  EXPECT_TRUE(destroyed);
  EXPECT_TRUE(plat::runningObjectNames().empty());
  EXPECT_EQ(rot_->IsRunning(again.get()), S_FALSE);
  EXPECT_EQ(rot_->GetObject(again.get(), found.put()), MK_E_UNAVAILABLE);
  EXPECT_EQ(again->BindToObject(nullptr, nullptr, IID_IUnknown, found.putVoid()), MK_E_NOOBJECT);
  EXPECT_EQ(rot_->Revoke(cookie), E_INVALIDARG);
}

TEST_F(RotTest, DuplicateNamesGetTheirOwnCookies) {
  bool d1 = false, d2 = false;
  ComPtr<IUnknown> first = makeTracked(&d1), second = makeTracked(&d2);
  ComPtr<IMoniker> name = item(u"same");
  DWORD c1 = 0, c2 = 0;
  ASSERT_EQ(rot_->Register(0, first.get(), name.get(), &c1), S_OK);
  ASSERT_EQ(rot_->Register(0, second.get(), name.get(), &c2), MK_S_MONIKERALREADYREGISTERED);
  EXPECT_NE(c1, c2);
  ASSERT_EQ(rot_->Revoke(c1), S_OK);
  EXPECT_EQ(plat::findRunningObject(u"!same").get(), second.get());
  ASSERT_EQ(rot_->Revoke(c2), S_OK);
  EXPECT_EQ(plat::findRunningObject(u"!same").get(), nullptr);
}

TEST_F(RotTest, BadArguments) {
  bool destroyed = false;
  ComPtr<IUnknown> object = makeTracked(&destroyed);
  ComPtr<IMoniker> name = item(u"x");
  DWORD cookie = 7;
  EXPECT_EQ(rot_->Register(0, nullptr, name.get(), &cookie), E_INVALIDARG);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(rot_->Register(0, object.get(), nullptr, &cookie), E_INVALIDARG);
  EXPECT_EQ(rot_->Register(0, object.get(), name.get(), nullptr), E_POINTER);
  EXPECT_EQ(CreateItemMoniker(u"!", u"x", nullptr), E_POINTER);
  EXPECT_EQ(GetRunningObjectTable(0, nullptr), E_POINTER);
  void* storage = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(name->BindToStorage(nullptr, nullptr, IID_IUnknown, &storage), MK_E_NOSTORAGE);
  EXPECT_EQ(storage, nullptr);
  EXPECT_TRUE(plat::runningObjectNames().empty());
}

}  // namespace
