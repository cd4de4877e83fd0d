#include <gtest/gtest.h>

#include "platform/com/registry_tree.h"

namespace {

using plat::RegKey;

RegKey& keyAt(RegKey& root, const char* path) { return plat::createKey(root, plat::splitKeyPath(path).value()); }

TEST(RegistryText, RoundTripKeepsEveryCharacterAndKind) {
  RegKey root;
  RegKey& cls = keyAt(root, "CLSID\\{829C7176-54AC-499F-B495-A56B925A494C}");
  cls.values[""] = std::string("KelOrvoSource Filter");
  RegKey& odd = keyAt(root, "Тест\\key [with] = signs; and \"quotes\"");
  odd.values["quote\" back\\slash"] = std::string("line1\nline2\r\ttab \\ \"q\" \x01\x1f\x7f end");
  odd.values["Русский"] = std::string("Классы не зарегестрированы: ёЁ");
  odd.values["=[]@;"] = std::string("");
  odd.values["Merit"] = std::uint32_t{0x00200000};
  odd.values["max"] = std::uint32_t{0xFFFFFFFF};
  keyAt(root, "Empty\\Leaf");  // a key without values must survive too

  const std::string text = plat::serializeRegistry(root);
  RegKey back;
  plat::RegParseError error;
  ASSERT_TRUE(plat::parseRegistry(text, back, error)) << error.line << ": " << error.message << "\n" << text;
  EXPECT_EQ(back, root) << text;
  // One entry per line: the escapes keep line breaks out of the values.
  EXPECT_EQ(text.find("line1\nline2"), std::string::npos);
}

TEST(RegistryText, AcceptsCrLfCommentsAndBlankLines) {
  RegKey tree;
  plat::RegParseError error;
  ASSERT_TRUE(plat::parseRegistry("; note\r\n\r\n[A\\B]\r\n@=\"x\"\r\n\"n\"=dword:0000002a\r\n", tree, error))
      << error.message;
  const RegKey* b = plat::findKey(tree, {"a", "b"});
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(std::get<std::string>(b->values.at("")), "x");
  EXPECT_EQ(std::get<std::uint32_t>(b->values.at("N")), 42u);
}

TEST(RegistryText, CorruptTextNamesTheLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"@=\"outside\"\n", 1},
      {"[A]\n@=\"unterminated\n", 2},
      {"[A]\n\n\"n\"=dword:12\n", 3},
      {"[A]\n\"n\"=dword:0000zz00\n", 2},
      {"[A]\n\"n\"=\"bad \\q escape\"\n", 2},
      {"[A]\n\"n\"=\"x\" trailing\n", 2},
      {"[A]\nname=\"unquoted name\"\n", 2},
      {"[A]\n\"n\" \"x\"\n", 2},
      {"[A\\\\B]\n", 1},
      {"[A\n", 1},
      {"[A]\n\"n\"=\"\\x4\"\n", 2},
  };
  for (const auto& c : cases) {
    RegKey tree;
    plat::RegParseError error;
    EXPECT_FALSE(plat::parseRegistry(c.text, tree, error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_FALSE(error.message.empty()) << c.text;
  }
}

TEST(RegistryTree, NamesCompareWithoutCase) {
  RegKey root;
  keyAt(root, "CLSID\\{abcdef00-0000-0000-0000-000000000000}").values["ThreadingModel"] = std::string("Both");
  const RegKey* key = plat::findKey(root, plat::splitKeyPath("clsid\\{ABCDEF00-0000-0000-0000-000000000000}").value());
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->values.count("threadingmodel"), 1u);
}

TEST(RegistryTree, RejectsBadPaths) {
  EXPECT_FALSE(plat::splitKeyPath(""));
  EXPECT_FALSE(plat::splitKeyPath("A\\\\B"));
  EXPECT_FALSE(plat::splitKeyPath("A\\"));
  EXPECT_FALSE(plat::splitKeyPath("A\nB"));
  EXPECT_EQ(plat::splitKeyPath("A\\B c\\D").value(), (std::vector<std::string>{"A", "B c", "D"}));
}

TEST(RegistryTree, DeleteAndPruneStopAtTopLevelAndAtKeysInUse) {
  RegKey root;
  keyAt(root, "CLSID\\{cat}\\Instance\\{one}").values["x"] = std::uint32_t{1};
  keyAt(root, "CLSID\\{cat}\\Instance\\{two}").values["x"] = std::uint32_t{2};
  const auto one = plat::splitKeyPath("CLSID\\{cat}\\Instance\\{one}").value();
  const auto two = plat::splitKeyPath("CLSID\\{cat}\\Instance\\{two}").value();

  ASSERT_TRUE(plat::deleteKey(root, one));
  plat::pruneEmptyParents(root, one);
  EXPECT_NE(plat::findKey(root, two), nullptr) << "a sibling is still there, so the parents stay";
  EXPECT_FALSE(plat::deleteKey(root, one));

  ASSERT_TRUE(plat::deleteKey(root, two));
  plat::pruneEmptyParents(root, two);
  EXPECT_EQ(plat::findKey(root, {"CLSID", "{cat}"}), nullptr);
  EXPECT_NE(plat::findKey(root, {"CLSID"}), nullptr) << "top-level keys stand for the fixed roots";
}

}  // namespace
