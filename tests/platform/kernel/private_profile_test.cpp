#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/kernel/private_profile.h"
#include "platform/kernel/profile_file.h"
#include "platform/kernel/text_codec.h"
#include "tests/support/temp_env.h"

namespace {

class PrivateProfileTest : public ::testing::Test {
 protected:
  std::string write(const std::string& bytes) {
    auto file = dir_ / "WinKelOrvoShell.ini";
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

  std::string read(const char* section, const char* key, const char* def, DWORD size = 261) {
    std::string buffer(size, '\x7F');
    DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), size, file_.c_str());
    EXPECT_EQ(buffer[n], '\0');
    return buffer.substr(0, n);
  }

  kel::test::TempDir dir_;
  std::string file_;
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  file_ = (dir_ / "absent.ini").string();
  EXPECT_EQ(GetPrivateProfileIntA("STRETCH_SEC", "STRETCH", 1, file_.c_str()), 1u);
  EXPECT_EQ(read("AUTOSAVE_SEC", "PATH", "dflt"), "dflt");

  file_ = write("[AUTOSAVE_SEC]\r\nAUTOSAVE=1\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("STRETCH_SEC", "STRETCH", 1, file_.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileIntA("AUTOSAVE_SEC", "OTHER", 5, file_.c_str()), 5u);
  EXPECT_EQ(read("AUTOSAVE_SEC", "PATH", nullptr), "");
  EXPECT_EQ(read("AUTOSAVE_SEC", "PATH", "d  "), "d");
}

TEST_F(PrivateProfileTest, KeysAndSectionsIgnoreCaseAndBlanksAroundEquals) {
  file_ = write(
      "; settings\n"
      "[Autosave_Sec]\n"
      "  autosave   =   1   \n"
      "Path\t=\t C:\\films ; not a comment \n"
      "[STRETCH_SEC]\r\n"
      "STRETCH=0\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("AUTOSAVE_SEC", "AUTOSAVE", 0, file_.c_str()), 1u);
  EXPECT_EQ(read("autosave_sec", "PATH", ""), "C:\\films ; not a comment");
  EXPECT_EQ(GetPrivateProfileIntA("stretch_sec", "Stretch", 1, file_.c_str()), 0u);
}

TEST_F(PrivateProfileTest, LongValueIsCutToTheBuffer) {
  file_ = write(plat::utf8ToCp1251("[S]\r\nK=abcdefghij\r\nR=ЖЖЖЖ\r\n"));
  std::string buffer(5, 'x');
  DWORD n = GetPrivateProfileStringA("S", "K", "", buffer.data(), 5, file_.c_str());
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(std::string(buffer.c_str()), "abcd");
  // Cutting never leaves half a character: 5 bytes hold two Cyrillic letters.
  EXPECT_EQ(read("S", "R", "", 6), "ЖЖ");
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buffer.data(), 0, file_.c_str()), 0u);
}

TEST_F(PrivateProfileTest, Cp1251ValueComesBackAsUtf8) {
  file_ = write(plat::utf8ToCp1251("[AUTOSAVE_SEC]\r\nPATH=D:\\Фильмы\\Испытания\r\n"));
  EXPECT_EQ(read("AUTOSAVE_SEC", "PATH", ""), "D:\\Фильмы\\Испытания");
  // A Cyrillic key matches in the other case too.
  file_ = write(plat::utf8ToCp1251("[Раздел]\nКлюч=да\n"));
  EXPECT_EQ(read("РАЗДЕЛ", "ключ", ""), "да");
}

TEST_F(PrivateProfileTest, IntegerParsing) {
  file_ = write(
      "[N]\nplain=42\nneg=-1\nlead=  +7x\ntext=abc\nhex=0x1F\nempty=\nquoted=\"12\"\n"
      "big=4294967297\n");
  auto get = [&](const char* key) {
    return GetPrivateProfileIntA("N", key, 99, file_.c_str());
  };
  EXPECT_EQ(get("plain"), 42u);
  EXPECT_EQ(get("neg"), 0xFFFFFFFFu);
  EXPECT_EQ(get("lead"), 7u);
  EXPECT_EQ(get("text"), 0u);
  EXPECT_EQ(get("hex"), 31u);
  EXPECT_EQ(get("empty"), 99u);
  EXPECT_EQ(get("quoted"), 12u);
  EXPECT_EQ(get("big"), 1u);
}

TEST_F(PrivateProfileTest, FirstDuplicateWinsAndListsAreDoubleZeroTerminated) {
  file_ = write("[A]\nk=1\nk=2\nflag\n[B]\nx=1\n[a]\nk=3\n");
  EXPECT_EQ(read("A", "k", ""), "1");
  EXPECT_EQ(read("A", "flag", "d"), "");
  EXPECT_EQ(read("A", nullptr, ""), std::string("k\0k\0flag\0", 9));
  EXPECT_EQ(read(nullptr, nullptr, ""), std::string("A\0B\0a\0", 6));
  char small[5];
  DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", small, 5, file_.c_str());
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(std::string(small, 5), std::string("A\0B\0\0", 5));
}

TEST(ProfileFile, Utf8FileWithByteOrderMark) {
  auto profile = plat::ProfileFile::parse("\xEF\xBB\xBF[S]\nname = Камера\n");
  EXPECT_EQ(profile.value("s", "NAME").value_or(""), "Камера");
  EXPECT_FALSE(profile.value("S", "other").has_value());
  EXPECT_TRUE(plat::ProfileFile::parse("no section=1\n").sectionNames().empty());
}

}  // namespace
