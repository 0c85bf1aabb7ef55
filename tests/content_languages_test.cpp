// content_languages_test.cpp — the shipped language files and their archive.
#include "platform/zip.h"
#include "settings/keyvalue.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kFolder =
    std::string(WARRENFOLD_SOURCE_DIR) + "content/languages/";
const std::string kArchive =
    std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.languages";
const std::string kForge =
    std::string(WARRENFOLD_TOOLS_DIR) + "forge_languages";

// The words of a text, split at spaces.
std::vector<std::string> Words(const std::string &text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in),
          std::istream_iterator<std::string>()};
}

const std::vector<std::string> kShipped =
    Words("en_GB en_US de_DE fr_FR es_ES it_IT nl_NL pl_PL pt_BR ru_RU "
          "ja_JP zh_CN zh_TW ko_KR ar_SA he_IL hi_IN th_TH tr_TR uk_UA "
          "cs_CZ sv_SE el_GR vi_VN id_ID hu_HU ro_RO fi_FI da_DK nb_NO pt_PT");

const std::vector<std::string> kHeaderKeys =
    Words("tLangFileNAME tLangFileVERSION tLangFileDATE tLangFileAUTHOR "
          "tLangFileLANGID tLangFileSOFTWARE");

// Every text the game looks up. Lookup is case-sensitive, hence the capital
// T of the windowed mode.
const std::vector<std::string> kTextKeys = Words(
    "tMenuSTART tMenuSETTINGS tMenuCREDITS tMenuHELP tMenuQUIT "
    "tStartTITLE tStartNEW tStartLEVEL tStartTEXT tStartBACK "
    "tSettingsTITLE tSettingsLANGUAGE tSettingsMUSIC tSettingsON "
    "tSettingsOFF tSettingsSOUNDFX tSettingsSCREENMODE tSettingsFULLSCREEN "
    "TSettingsWINDOWED tSettingsBORDERLESS tSettingsRESOLUTION tSettingsOK "
    "tSettingsCANCEL tCreditsTITLE tCreditsCODEDESIGN tCreditsGFX "
    "tCreditsMUSIC tCreditsSNDFX tHelpTITLE tHelpCONTROL tHelpCONTROLTEXT "
    "tHelpAIM tHelpAIMTEXT tHelpHINTS tHelpHINT1 tHelpHINT2 tHelpHINT3 "
    "tHelpHINT4 tHelpOK tInGamePAUSED tInGameRESUME tInGameQUIT tQuitTITLE "
    "tQuitQUESTION tQuitYES tQuitNO tCaughtTITLE tCaughtRETRY tCaughtMENU "
    "tCompleteTITLE tCompleteNEXT tCompleteMENU tPanelLEVEL tErrorERROR "
    "tErrorSUBSYSTEM tErrorASSET tErrorSCREEN");

struct LanguageFile {
  std::string name; // file name, extension included
  std::string bytes;
  kv::Document doc;
};

// The names the archive must carry: language files and flags, sorted.
std::vector<std::string> SourceNames() {
  std::vector<std::string> names;
  for (const auto &e : std::filesystem::directory_iterator(kFolder)) {
    std::string n = e.path().filename().string();
    if (e.is_regular_file() &&
        (n.ends_with(".language") || n.ends_with(".flag")))
      names.push_back(n);
  }
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<LanguageFile> &Languages() {
  static const std::vector<LanguageFile> files = [] {
    std::vector<LanguageFile> out;
    for (const std::string &n : SourceNames()) {
      if (!n.ends_with(".language"))
        continue;
      LanguageFile f{n, ReadText(kFolder + n), {}};
      f.doc = kv::Parse(f.bytes);
      out.push_back(std::move(f));
    }
    return out;
  }();
  return files;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF),
// as the C library's converter reads it.
bool ValidUtf8(const std::string &s) {
  iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
  std::vector<char> out(4 * s.size() + 4);
  char *in = const_cast<char *>(s.data()), *to = out.data();
  size_t inLeft = s.size(), outLeft = out.size();
  const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != size_t(-1);
  iconv_close(cd);
  return ok && inLeft == 0;
}

bool IsHeader(const kv::Group &g) {
  return kv::EqualsNoCase(g.name, "LANGUAGE FILE");
}

TEST(LanguageFiles, Utf8WithByteOrderMarkAndCrLf) {
  for (const LanguageFile &f : Languages()) {
    SCOPED_TRACE(f.name);
    const std::string &b = f.bytes;
    ASSERT_GE(b.size(), 3u);
    EXPECT_EQ(b.compare(0, 3, "\xEF\xBB\xBF"), 0) << "no byte-order mark";
    EXPECT_TRUE(ValidUtf8(b));
    EXPECT_TRUE(b.ends_with("\r\n")) << "last line has no line end";
    // Every CR and every LF belongs to a CR LF.
    std::ptrdiff_t pairs = 0;
    for (size_t at = 0; (at = b.find("\r\n", at)) != b.npos; at += 2)
      ++pairs;
    EXPECT_EQ(std::count(b.begin(), b.end(), '\r'), pairs);
    EXPECT_EQ(std::count(b.begin(), b.end(), '\n'), pairs);
  }
}

TEST(LanguageFiles, EachShippedHeaderNamesTheFileTheGameAndAUniqueLanguage) {
  std::map<std::string, std::string> owner; // display name -> file
  std::set<std::string> present;
  for (const LanguageFile &f : Languages()) {
    SCOPED_TRACE(f.name);
    present.insert(f.name);
    ASSERT_FALSE(f.doc.groups.empty());
    const kv::Group *header = kv::FindGroup(f.doc, "LANGUAGE FILE");
    ASSERT_NE(header, nullptr);
    for (const std::string &key : kHeaderKeys)
      EXPECT_FALSE(kv::ReadText(header, key, "").empty()) << key;
    EXPECT_EQ(kv::ReadText(header, "tLangFileSOFTWARE", ""), "Warrenfold");
    EXPECT_EQ(kv::ReadText(header, "tLangFileAUTHOR", ""), "Duskmoth");
    EXPECT_EQ(kv::ReadText(header, "tLangFileVERSION", ""), "1.0");
    // A copied file whose identity was not updated would shadow another.
    std::string id = f.name.substr(0, f.name.size() - 9);
    std::replace(id.begin(), id.end(), '_', '-');
    EXPECT_EQ(kv::ReadText(header, "tLangFileLANGID", ""), id);
    const std::string name = kv::ReadText(header, "tLangFileNAME", "");
    auto [it, fresh] = owner.emplace(name, f.name);
    EXPECT_TRUE(fresh) << "\"" << name << "\" is " << it->second << "'s too";
  }
  for (const std::string &code : kShipped)
    EXPECT_TRUE(present.count(code + ".language")) << code;
}

TEST(LanguageFiles, EveryTextKeyOnceWithTextAndLevelsTheirMark) {
  const std::set<std::string> known(kTextKeys.begin(), kTextKeys.end());
  const std::set<std::string> headerKeys(kHeaderKeys.begin(),
                                         kHeaderKeys.end());
  for (const LanguageFile &f : Languages()) {
    SCOPED_TRACE(f.name);
    std::map<std::string, int> seen;
    std::map<std::string, std::string> texts;
    for (const kv::Group &g : f.doc.groups) {
      for (const auto &[key, value] : g.entries) {
        ++seen[key];
        texts[key] = value;
        // An unknown key is a typo (a small t on the windowed mode, say)
        // that would leave a text empty in the game.
        if (IsHeader(g))
          EXPECT_TRUE(headerKeys.count(key)) << "unknown header key " << key;
        else
          EXPECT_TRUE(known.count(key)) << "unknown key " << key;
        EXPECT_FALSE(value.empty()) << key;
        EXPECT_TRUE(value.empty() ||
                    (value.front() != ' ' && value.back() != ' ' &&
                     value.back() != '\t'))
            << key << " has blanks at an end";
      }
    }
    for (const std::string &key : kTextKeys)
      EXPECT_EQ(seen[key], 1) << key;
    // The level texts hold the mark the number replaces.
    for (const char *key : {"tPanelLEVEL", "tStartLEVEL"})
      EXPECT_NE(texts[key].find('#'), std::string::npos) << key;
  }
}

TEST(LanguageArchive, HoldsTheFolderByteForByte) {
  std::vector<plat::ZipEntry> entries;
  ASSERT_TRUE(plat::ZipList(kArchive, entries)) << kArchive;
  std::vector<std::string> names;
  for (const plat::ZipEntry &e : entries)
    names.push_back(e.name);
  const std::vector<std::string> expected = SourceNames();
  ASSERT_EQ(names, expected);
  for (const std::string &n : expected) {
    SCOPED_TRACE(n);
    const std::string want = ReadText(kFolder + n);
    std::vector<uint8_t> got;
    ASSERT_TRUE(plat::ZipExtract(kArchive, n, 1 << 20, got));
    EXPECT_EQ(std::string(got.begin(), got.end()), want);
  }
}

// Runs the forge; true when it exits with status 0.
bool Forge(const std::string &env, const std::string &from,
           const std::string &to) {
  const std::string cmd =
      env + " '" + kForge + "' '" + from + "' '" + to + "' 2>/dev/null";
  return std::system(cmd.c_str()) == 0;
}

// The same bytes every run whatever the time zone; without languages, a
// failure that writes nothing.
TEST(LanguageForge, SameBytesEveryRunAndNothingOnFailure) {
  if (!std::filesystem::exists(kForge))
    GTEST_SKIP() << "this build copies its archives and has no forge";
  TempDir dir;
  const std::string a = dir.File("a.zip"), b = dir.File("b.zip");
  ASSERT_TRUE(Forge("TZ=UTC0", kFolder, a));
  ASSERT_TRUE(Forge("TZ=Pacific/Auckland", kFolder, b));
  const std::string bytes = ReadText(a);
  EXPECT_EQ(ReadText(b), bytes);
  EXPECT_EQ(ReadText(kArchive), bytes) << "the build forged other bytes";
  EXPECT_FALSE(std::filesystem::exists(a + ".tmp"));
  std::filesystem::create_directory(dir.File("src"));
  WriteText(dir.File("src/readme.txt"), "not a language\n");
  const std::string out = dir.File("out.zip");
  EXPECT_FALSE(Forge("", dir.File("src"), out));
  EXPECT_FALSE(Forge("", dir.File("missing"), out));
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));
}

} // namespace
