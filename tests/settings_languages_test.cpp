// settings_languages_test.cpp — language sources, the language list's
// order, loading texts and the text lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/core.h"
#include "settings/languages.h"
#include "support/obstacles.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"
#include "support/zip_builder.h"

namespace {

std::string LanguageFile(const std::string &name, const std::string &body) {
  return "\xEF\xBB\xBF[LANGUAGE FILE]\r\ntLangFileNAME = " + name +
         "\r\ntLangFileVERSION = 1.0\r\n[MENU]\r\n" + body;
}

class Languages_ : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(plat::Init()); }
  void TearDown() override { plat::Shutdown(); }
};

TEST_F(Languages_, SlotOrderWithCollisions) {
  // "LangAa" and "LangIi" share slot 366: the one created last comes first.
  EXPECT_EQ(LanguageSlot("LangAa"), 366u);
  EXPECT_EQ(LanguageSlot("LangIi"), 366u);
  EXPECT_EQ(LanguageSlot("Deutsch"), 472u);
  EXPECT_EQ(
      LanguageSlot("\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9"),
      152u); // Russian, in UTF-16 units
  TempDir dir;
  const std::string zip = dir.File("Warrenfold.languages");
  WriteText(zip, testzip::Build({
                     {"a.language", LanguageFile("LangAa", "")},
                     {"de.language", LanguageFile("Deutsch", "")},
                     {"b.language", LanguageFile("LangIi", "")},
                     {"c.language", LanguageFile("LangAb", "")},
                     {"notes.txt", "not a language"},
                     {"x.LANGUAGE", LanguageFile("Upper", "")},
                 }));
  Languages lang;
  ScanLanguages(lang, zip);
  std::vector<std::string> files;
  for (const auto &c : lang.choices)
    files.push_back(c.first);
  EXPECT_EQ(files, (std::vector<std::string>{"b", "a", "c", "de"}));
  EXPECT_EQ(lang.choice, 0);
  // Of two files of the same language name, the later one counts.
  LanguageTable table;
  StoreLanguageInfo(table, {"Deutsch", "de_DE"});
  StoreLanguageInfo(table, {"Deutsch", "de_AT"});
  const auto all = LanguageInfosInOrder(table);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0]->file, "de_AT");
}

TEST_F(Languages_, FolderAndArchiveGiveTheSameResult) {
  TempDir dir;
  const std::string en = LanguageFile("English", "tMenuSTART = Start\r\n");
  const std::string de =
      LanguageFile("Deutsch", "tMenuSTART = Los\r\ntMenuSTART = Spielen\r\n");
  const std::string folder = dir.File("folder");
  std::filesystem::create_directory(folder);
  std::filesystem::create_directory(folder + "/sub.language"); // skipped
  WriteText(folder + "/en_GB.language", en);
  WriteText(folder + "/de_DE.language", de);
  const std::string zip = dir.File("archive");
  WriteText(zip,
            testzip::Build({{"en_GB.language", en}, {"de_DE.language", de}}));

  Languages a, b;
  ScanLanguages(a, folder);
  ScanLanguages(b, zip);
  EXPECT_EQ(a.choices, b.choices);
  ASSERT_EQ(a.choices.size(), 2u);
  ASSERT_TRUE(LoadLanguage(a, folder, "de_DE"));
  ASSERT_TRUE(LoadLanguage(b, zip, "de_DE"));
  // A key given twice: the later value counts. Header keys are texts too.
  EXPECT_EQ(Text(a, "tMenuSTART"), "Spielen");
  EXPECT_EQ(Text(b, "tMenuSTART"), "Spielen");
  EXPECT_EQ(Text(b, "tLangFileNAME"), "Deutsch");
  EXPECT_FALSE(LoadLanguage(a, folder, "fr_FR"));
  EXPECT_FALSE(LoadLanguage(b, zip, "fr_FR"));

  // Texts accumulate over loads: a key the next file lacks keeps its
  // text; keys are case-sensitive, lines above the header are no texts.
  WriteText(folder + "/part.language",
            "above = never\r\n" + LanguageFile("Part",
                                               "tMenuQUIT = Quit\r\n"
                                               "TMenuSTART = Upper\r\n"));
  ASSERT_TRUE(LoadLanguage(a, folder, "part"));
  EXPECT_EQ(Text(a, "tMenuSTART"), "Spielen");
  EXPECT_EQ(Text(a, "tMenuQUIT"), "Quit");
  EXPECT_EQ(Text(a, "TMenuSTART"), "Upper");
  EXPECT_EQ(Text(a, "above"), "");
  EXPECT_EQ(Text(a, "tNoSuchKey"), "");
}

TEST_F(Languages_, LanguageFilesThatCannotBeReadAreLeftOut) {
  Watchdog watchdog;
  TempDir dir;
  const std::string folder = dir.File("langs");
  std::filesystem::create_directory(folder);
  WriteText(folder + "/en_GB.language",
            LanguageFile("English", "tMenuSTART = Start\r\n"));
  for (const char *kind : kObstacles)
    ASSERT_TRUE(MakeObstacle(kind, folder + "/" + kind + ".language"));
  WriteText(folder + "/linked.txt",
            LanguageFile("Linked", "tMenuSTART = Go\r\n"));
  std::filesystem::create_symlink("linked.txt", folder + "/link.language");
  WriteText(folder + "/huge.language",
            LanguageFile("Huge", std::string(1 << 20, ';')));
  Languages lang;
  ScanLanguages(lang, folder);
  std::vector<std::string> files;
  for (const auto &[file, name] : lang.choices)
    files.push_back(file);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"en_GB", "link"}));
  for (const char *file : {"folder", "fifo", "zero", "huge"})
    EXPECT_FALSE(LoadLanguage(lang, folder, file)) << file;
  EXPECT_TRUE(lang.texts.empty());
  ASSERT_TRUE(LoadLanguage(lang, folder, "link"));
  EXPECT_EQ(Text(lang, "tMenuSTART"), "Go");
}

TEST_F(Languages_, EmptyOrBrokenSourcesGiveNoLanguagesToFind) {
  TempDir dir;
  Languages lang;
  WriteText(dir.File("empty"), "");
  ScanLanguages(lang, dir.File("empty"));
  EXPECT_TRUE(lang.choices.empty());
  WriteText(dir.File("junk"), "PK\x03\x04 this is not a zip");
  ScanLanguages(lang, dir.File("junk"));
  EXPECT_TRUE(lang.choices.empty());
  ScanLanguages(lang, dir.File("missing"));
  EXPECT_TRUE(lang.choices.empty());
  EXPECT_FALSE(LoadLanguage(lang, dir.File("empty"), "en_GB"));
  FindLanguage(lang, "en_GB");
  EXPECT_EQ(lang.choice, -1);
  // Found: the first match; not found: the last entry.
  lang.choices = {{"a", "A"}, {"b", "B"}, {"c", "C"}};
  FindLanguage(lang, "b");
  EXPECT_EQ(lang.choice, 1);
  FindLanguage(lang, "zz");
  EXPECT_EQ(lang.choice, 2);
  EXPECT_TRUE(HasLanguageFile(lang, "c"));
  EXPECT_FALSE(HasLanguageFile(lang, ""));
}

// An archive's entries name languages only at the top level, and never a
// path; one over the size limit is left out. An archive of thousands of
// entries is read in one pass, not once per entry: a modded archive must
// not stall the start.
TEST_F(Languages_, AnArchiveOfThousandsOfEntriesIsReadInOnePass) {
  Watchdog watchdog(20);
  std::vector<std::pair<std::string, std::string>> entries = {
      {"../evil.language", LanguageFile("Evil", "")},
      {"sub/dir.language", LanguageFile("Deep", "")},
      {"/abs.language", LanguageFile("Abs", "")},
      {"huge.language", LanguageFile("Huge", std::string(1 << 20, ';'))}};
  for (int i = 0; i < 6000; ++i)
    entries.push_back({"pad" + std::to_string(i) + ".txt", "x"});
  entries.push_back(
      {"ok.language", LanguageFile("Fine", "tMenuSTART = Go\r\n")});
  TempDir dir;
  const std::string zip = dir.File("Warrenfold.languages");
  WriteText(zip, testzip::Build(entries));
  Languages lang;
  ScanLanguages(lang, zip);
  ASSERT_EQ(lang.choices.size(), 1u);
  EXPECT_EQ(lang.choices[0].first, "ok");
  for (const char *file : {"../evil", "sub/dir", "huge"})
    EXPECT_FALSE(LoadLanguage(lang, zip, file)) << file;
  EXPECT_FALSE(
      std::filesystem::exists(dir.path.parent_path() / "evil.language"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() /
                                       "evil.language"));
  ASSERT_TRUE(LoadLanguage(lang, zip, "ok"));
  EXPECT_EQ(Text(lang, "tMenuSTART"), "Go");
}

} // namespace
