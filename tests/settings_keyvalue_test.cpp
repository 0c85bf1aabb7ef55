// settings_keyvalue_test.cpp — the key=value reader shared by preferences
// and language files.
#include <gtest/gtest.h>

#include "settings/keyvalue.h"

namespace {

TEST(KeyValue, GroupsKeysAndLineEnds) {
  // CR, LF and CR LF line ends, comments, blank lines and leading tabs.
  const kv::Document doc = kv::Parse(
      std::string("above = ignored\r; comment\n\n\t[One]\r\nkey = a\rKEY = b\n"
                  "[two]\n  other=\tx y  \r\n"));
  ASSERT_EQ(doc.groups.size(), 2u);
  const kv::Group *one = kv::FindGroup(doc, "ONE");
  ASSERT_NE(one, nullptr);
  // Case-insensitive keys; of two equal keys the first counts.
  EXPECT_EQ(kv::ReadText(one, "Key", "?"), "a");
  // A key is looked for only in its own group.
  EXPECT_EQ(kv::ReadText(one, "other", "?"), "?");
  EXPECT_EQ(kv::ReadText(kv::FindGroup(doc, "Two"), "OTHER", "?"), "x y");
  // Entries above the first group are not kept anywhere.
  for (const kv::Group &g : doc.groups)
    for (const auto &e : g.entries)
      EXPECT_NE(e.first, "above");
}

TEST(KeyValue, EncodingFollowsByteOrderMark) {
  // Without the mark every byte is one ISO 8859-1 character.
  const kv::Document latin = kv::Parse(std::string("[G]\nk=caf\xE9\n"));
  EXPECT_EQ(kv::ReadText(kv::FindGroup(latin, "G"), "k", ""), "caf\xC3\xA9");
  // The same UTF-8 bytes without the mark become two characters.
  const kv::Document twice = kv::Parse(std::string("[G]\nk=caf\xC3\xA9\n"));
  EXPECT_EQ(kv::ReadText(kv::FindGroup(twice, "G"), "k", ""),
            "caf\xC3\x83\xC2\xA9");
  const kv::Document utf8 =
      kv::Parse(std::string("\xEF\xBB\xBF[G]\nk=caf\xC3\xA9\n"));
  EXPECT_EQ(kv::ReadText(kv::FindGroup(utf8, "G"), "k", ""), "caf\xC3\xA9");
}

TEST(KeyValue, IntegersAreTheLongestLeadingNumber) {
  EXPECT_EQ(kv::ParseLeadingInt("42abc"), 42);
  EXPECT_EQ(kv::ParseLeadingInt("  -7 "), -7);
  EXPECT_EQ(kv::ParseLeadingInt(""), 0); // "yes": the preferences' test
  EXPECT_EQ(kv::ParseLeadingInt("+3"), 3);
  // Far too many digits saturate instead of overflowing.
  EXPECT_EQ(kv::ParseLeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(kv::ParseLeadingInt("-99999999999999999999"), -2147483647 - 1);
  const kv::Document doc = kv::Parse(std::string("[S]\nn = 5\n"));
  EXPECT_EQ(kv::ReadInt(kv::FindGroup(doc, "s"), "N", 9), 5);
  EXPECT_EQ(kv::ReadInt(kv::FindGroup(doc, "s"), "missing", 9), 9);
  EXPECT_EQ(kv::ReadInt(nullptr, "N", 9), 9);
}

TEST(KeyValue, OddLinesDoNotBreakTheReader) {
  const kv::Document doc = kv::Parse(std::string(
      "[Unclosed\nno equals sign\n=value without key\n[G]\nk==v\n\xFF\xFE"));
  const kv::Group *g = kv::FindGroup(doc, "G");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(kv::ReadText(g, "k", ""), "=v");
  EXPECT_NE(kv::FindGroup(doc, "Unclosed"), nullptr);
}

} // namespace
