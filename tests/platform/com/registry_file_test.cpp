#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/com/registry_file.h"
#include "tests/platform/com/registry_test_env.h"

namespace {

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

TEST_F(RegistryTest, ValuesSurviveInTheFileAcrossInstances) {
  const std::string key = "CLSID\\{829C7176-54AC-499F-B495-A56B925A494C}\\InprocServer32";
  ASSERT_EQ(registry_.setValue(key, "", std::string("/opt/папка с пробелом/kelorvomt.ax")), S_OK);
  ASSERT_EQ(registry_.setValue(key, "ThreadingModel", std::string("Both")), S_OK);
  ASSERT_EQ(registry_.setValue(key, "Odd \"name\"", std::string("a\\b\nc=\"d\"")), S_OK);
  ASSERT_EQ(registry_.setValue(key, "Merit", std::uint32_t{0x200000}), S_OK);

  plat::ClassRegistry other(file_);
  std::string text;
  EXPECT_EQ(other.getString(key, "", text), S_OK);
  EXPECT_EQ(text, "/opt/папка с пробелом/kelorvomt.ax");
  EXPECT_EQ(other.getString(key, "odd \"NAME\"", text), S_OK);
  EXPECT_EQ(text, "a\\b\nc=\"d\"");
  std::uint32_t merit = 0;
  EXPECT_EQ(other.getDword(key, "Merit", merit), S_OK);
  EXPECT_EQ(merit, 0x200000u);
  EXPECT_EQ(other.getDword(key, "ThreadingModel", merit), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(other.keyExists("clsid\\{829c7176-54ac-499f-b495-a56b925a494c}"), S_OK);
}

TEST_F(RegistryTest, MissingFileKeyOrValueIsReportedNotCreated) {
  std::string text;
  EXPECT_EQ(registry_.keyExists("CLSID"), S_FALSE);
  EXPECT_EQ(registry_.getString("CLSID\\{x}", "", text), REGDB_E_KEYMISSING);
  EXPECT_NE(plat::lastRegistryError().find("CLSID\\{x}"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file_)) << "reading must not create the file";

  ASSERT_EQ(registry_.createKey("CLSID\\{x}"), S_OK);
  EXPECT_EQ(registry_.getString("CLSID\\{x}", "", text), REGDB_E_KEYMISSING);
  EXPECT_EQ(registry_.deleteValue("CLSID\\{x}", "nothing"), REGDB_E_KEYMISSING);
  EXPECT_EQ(registry_.setValue("", "n", std::string("v")), E_INVALIDARG);
  EXPECT_EQ(registry_.setValue("A\\\\B", "n", std::string("v")), E_INVALIDARG);
}

TEST_F(RegistryTest, SubkeysAndDeleteTree) {
  for (const char* k : {"CLSID\\{b}\\InprocServer32", "CLSID\\{a}", "CLSID\\{c}\\Sub\\Deep"})
    ASSERT_EQ(registry_.createKey(k), S_OK);
  std::vector<std::string> names;
  ASSERT_EQ(registry_.subkeys("CLSID", names), S_OK);
  EXPECT_EQ(names, (std::vector<std::string>{"{a}", "{b}", "{c}"}));

  EXPECT_EQ(registry_.deleteTree("CLSID\\{c}"), S_OK);
  EXPECT_EQ(registry_.keyExists("CLSID\\{c}\\Sub\\Deep"), S_FALSE);
  EXPECT_EQ(registry_.deleteTree("CLSID\\{c}"), S_FALSE);
  ASSERT_EQ(registry_.subkeys("CLSID", names), S_OK);
  EXPECT_EQ(names, (std::vector<std::string>{"{a}", "{b}"}));
}

TEST_F(RegistryTest, CorruptFileNamesFileAndLineAndIsNotOverwritten) {
  const std::string corrupt = "[CLSID\\{a}]\n@=\"ok\"\n\"broken=\"no end\n";
  writeFile(file_, corrupt);
  std::string text;
  EXPECT_EQ(registry_.getString("CLSID\\{a}", "", text), REGDB_E_READREGDB);
  const std::string& error = plat::lastRegistryError();
  EXPECT_NE(error.find(file_.string()), std::string::npos) << error;
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;

  EXPECT_EQ(registry_.setValue("CLSID\\{b}", "", std::string("x")), REGDB_E_READREGDB);
  EXPECT_EQ(readFile(file_), corrupt) << "a write must not replace what it could not read";
}

TEST_F(RegistryTest, FailingEditLeavesTheFileAlone) {
  ASSERT_EQ(registry_.setValue("K", "", std::string("before")), S_OK);
  const std::string before = readFile(file_);
  HRESULT hr = registry_.update([](plat::RegKey& tree, std::string& error) {
    tree.subkeys.clear();
    error = "refused";
    return E_ABORT;
  });
  EXPECT_EQ(hr, E_ABORT);
  EXPECT_EQ(plat::lastRegistryError(), "refused");
  EXPECT_EQ(readFile(file_), before);
}

TEST_F(RegistryTest, WritesLeaveNoTemporaryFilesBehind) {
  for (int i = 0; i < 5; ++i) ASSERT_EQ(registry_.setValue("K\\" + std::to_string(i), "", std::string("v")), S_OK);
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir_.path())) files.push_back(e.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"registry", "registry.lock"}));
}

// Children of separate processes write distinct keys at once; every write
// of every child must be in the file at the end, and the file must parse.
TEST_F(RegistryTest, ConcurrentWritersInOtherProcessesLoseNothing) {
  constexpr int kChildren = 4;
  constexpr int kWrites = 25;
  std::vector<pid_t> children;
  for (int c = 0; c < kChildren; ++c) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      plat::ClassRegistry mine(file_);
      int failures = 0;
      for (int i = 0; i < kWrites; ++i) {
        const std::string key = "Writers\\c" + std::to_string(c) + "\\k" + std::to_string(i);
        failures += FAILED(mine.setValue(key, "n", static_cast<std::uint32_t>(c * 1000 + i)));
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  plat::RegKey tree;
  ASSERT_EQ(registry_.snapshot(tree), S_OK) << plat::lastRegistryError();
  for (int c = 0; c < kChildren; ++c) {
    for (int i = 0; i < kWrites; ++i) {
      std::uint32_t v = 0;
      const std::string key = "Writers\\c" + std::to_string(c) + "\\k" + std::to_string(i);
      ASSERT_EQ(registry_.getDword(key, "n", v), S_OK) << key;
      EXPECT_EQ(v, static_cast<std::uint32_t>(c * 1000 + i));
    }
  }
}

TEST(RegistryPath, EnvironmentChoosesTheFile) {
  kel::test::ScopedEnv home("HOME", "/home/someone");
  {
    kel::test::ScopedEnv reg("KELORVO_REGISTRY", "/tmp/elsewhere/reg");
    EXPECT_EQ(plat::userRegistryPath(), "/tmp/elsewhere/reg");
  }
  kel::test::ScopedEnv reg("KELORVO_REGISTRY", "");
  {
    kel::test::ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(plat::userRegistryPath(), "/xdg/kelorvo/registry");
  }
  kel::test::ScopedEnv xdg("XDG_CONFIG_HOME", "");
  EXPECT_EQ(plat::userRegistryPath(), "/home/someone/.config/kelorvo/registry");
}

}  // namespace
