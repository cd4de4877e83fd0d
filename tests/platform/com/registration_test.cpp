#include <fstream>

#include "platform/com/co_create.h"
#include "platform/com/registration.h"
#include "tests/platform/com/co_create_test_support.h"

namespace {

class RegistrationTest : public ServerTest {
 protected:
  std::string reason_;
};

TEST_F(RegistrationTest, RegisterWritesExactlyTheModulesKeysAndUnregisterRemovesThem) {
  ASSERT_EQ(registry_.setValue("CLSID\\{unrelated}\\InprocServer32", "", std::string("/x.so")), S_OK);
  plat::RegKey before;
  ASSERT_EQ(registry_.snapshot(before), S_OK);

  ASSERT_EQ(plat::registerModule(server_, false, reason_), S_OK) << reason_;
  plat::RegKey after;
  ASSERT_EQ(registry_.snapshot(after), S_OK);

  // Build what the module should have added, and compare whole trees.
  plat::RegKey expected = before;
  auto key = [&](const std::string& path) -> plat::RegKey& {
    return plat::createKey(expected, plat::splitKeyPath(path).value());
  };
  const std::string counter = "CLSID\\" + plat::guidToString(CLSID_TestCounter);
  const std::string source = "CLSID\\" + plat::guidToString(CLSID_TestSource);
  key(counter).values[""] = std::string("Test Counter");
  key(counter + "\\InprocServer32").values = {{"", server_}, {"ThreadingModel", std::string("Both")}};
  key(source).values[""] = std::string("Test Source «Фильтр»");
  key(source + "\\InprocServer32").values = {{"", server_}, {"ThreadingModel", std::string("Both")}};
  const std::string instance =
      "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" + plat::guidToString(CLSID_TestSource);
  key(instance).values = {{"FriendlyName", std::string("Test Source «Фильтр»")},
                          {"CLSID", plat::guidToString(CLSID_TestSource)},
                          {"Merit", std::uint32_t{0x200000}}};
  key(instance + "\\Pins\\0").values = {{"Name", std::string("Output")},
                                        {"Rendered", std::uint32_t{0}},
                                        {"Output", std::uint32_t{1}},
                                        {"ZeroInstances", std::uint32_t{0}},
                                        {"Many", std::uint32_t{0}},
                                        {"ConnectsToFilter", plat::guidToString(GUID_NULL)},
                                        {"ConnectsToPin", std::string()}};
  key(instance + "\\Pins\\0\\Types\\0").values = {
      {"MajorType", std::string("{73646976-0000-0010-8000-00AA00389B71}")},
      {"SubType", plat::guidToString(GUID_NULL)}};
  EXPECT_EQ(after, expected) << plat::serializeRegistry(after);

  // What was written is enough to create the classes.
  ComPtr<ITestCounter> counterObject;
  EXPECT_EQ(CoCreateInstance(CLSID_TestSource, nullptr, CLSCTX_ALL, IID_ITestCounter, counterObject.putVoid()), S_OK)
      << plat::lastCoCreateError();
  counterObject.reset();

  ASSERT_EQ(plat::registerModule(server_, true, reason_), S_OK) << reason_;
  ASSERT_EQ(registry_.snapshot(after), S_OK);
  EXPECT_EQ(after, before) << plat::serializeRegistry(after);
}

TEST_F(RegistrationTest, RegisteringTwiceChangesNothing) {
  ASSERT_EQ(plat::registerModule(server_, false, reason_), S_OK) << reason_;
  plat::RegKey once, twice;
  ASSERT_EQ(registry_.snapshot(once), S_OK);
  ASSERT_EQ(plat::registerModule(server_, false, reason_), S_OK) << reason_;
  ASSERT_EQ(registry_.snapshot(twice), S_OK);
  EXPECT_EQ(once, twice);
}

TEST_F(RegistrationTest, BadModulesAreRefusedWithAReason) {
  const std::string missing = (dir_ / "gone.ax").string();
  EXPECT_EQ(plat::registerModule(missing, false, reason_), CO_E_DLLNOTFOUND);
  EXPECT_NE(reason_.find(missing), std::string::npos);

  EXPECT_EQ(plat::registerModule(testModule(kTestNoEntryFile), true, reason_), CO_E_ERRORINDLL);
  EXPECT_NE(reason_.find("DllUnregisterServer"), std::string::npos) << reason_;
  EXPECT_FALSE(std::filesystem::exists(file_)) << "nothing was written";
}

TEST_F(RegistrationTest, RegistryFailureComesBackFromTheModule) {
  std::ofstream(file_) << "garbage line\n";
  EXPECT_EQ(plat::registerModule(server_, false, reason_), REGDB_E_READREGDB);
  EXPECT_NE(reason_.find(file_.string()), std::string::npos) << reason_;
  EXPECT_NE(reason_.find("DllRegisterServer"), std::string::npos) << reason_;
}

TEST(ModulePath, FoundFromAnAddressInside) {
  EXPECT_EQ(plat::modulePathOf(reinterpret_cast<const void*>(&CoCreateInstance)), plat::platformModulePath());
  int onTheStack = 0;
  EXPECT_EQ(plat::modulePathOf(&onTheStack), "");
}

}  // namespace
