// platform_files_test.cpp — folders, file sizes, atomic writes, folder scans,
// the run log and ZIP archives read in memory.
#include "platform/files.h"
#include "platform/run_log.h"
#include "platform/zip.h"
#include "platform_helpers.h"
#include "support/env_guard.h"
#include "support/obstacles.h"
#include "support/zip_builder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <set>

using namespace plat_test;

namespace {

// Every platform test ends within 45 s: a call that blocks (a FIFO waited
// on, a read that never ends) fails the program instead of stalling it.
struct Deadline : ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo &) override { alarm(45); }
  void OnTestEnd(const ::testing::TestInfo &) override { alarm(0); }
};
const bool kDeadlineSet = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new Deadline);
  return true;
}();

std::vector<uint8_t> Bytes(const std::string &s) {
  return {s.begin(), s.end()};
}

std::string Text(const std::vector<uint8_t> &b) { return {b.begin(), b.end()}; }

std::string Read(const std::string &path) {
  std::vector<uint8_t> got;
  EXPECT_TRUE(plat::ReadFile(path, got)) << path;
  return Text(got);
}

// The permission bits of what the path names, links followed.
mode_t Mode(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

bool IsLink(const std::string &path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

size_t EntriesIn(const std::string &dir) {
  std::vector<plat::DirEntry> entries;
  EXPECT_TRUE(plat::ScanFolder(dir, "*", entries));
  return entries.size();
}

TEST(PlatformFolders, UserDataHomeAndProgramFolders) {
  EnvGuard env;
  const std::string home = "/tmp/wf-home-that-does-not-exist";
  env.Set("HOME", home.c_str());
  // Unset, empty or relative: XDG_DATA_HOME does not count.
  for (const char *xdg : {static_cast<const char *>(nullptr), "", "rel/path"}) {
    env.Set("XDG_DATA_HOME", xdg);
    EXPECT_EQ(plat::UserDataFolder("W"), home + "/.local/share/W/");
  }
  env.Set("XDG_DATA_HOME", "/tmp/wf-data");
  EXPECT_EQ(plat::UserDataFolder("Warrenfold"), "/tmp/wf-data/Warrenfold/");
  EXPECT_EQ(plat::FileSize(home), -1); // not created
  EXPECT_EQ(plat::HomeFolder(), home + "/");
  env.Set("HOME", "");
  EXPECT_FALSE(plat::HomeFolder().empty()); // from the password database
  const std::string folder = plat::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(plat::ProgramPath().rfind(folder, 0), 0u);
  EXPECT_GT(plat::FileSize(plat::ProgramPath()), 0);
}

TEST(PlatformFiles, SizesCreateReadDelete) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  EXPECT_EQ(plat::FileSize(dir + "missing"), -1);
  EXPECT_EQ(plat::FileSize(""), -1);
  ASSERT_TRUE(plat::CreateFolder(dir + "a/b/c"));
  EXPECT_TRUE(plat::CreateFolder(dir + "a/b/c")); // already there
  EXPECT_EQ(plat::FileSize(dir + "a/b/c"), -2);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "f.txt", Bytes("hello")));
  EXPECT_EQ(plat::FileSize(dir + "f.txt"), 5);
  EXPECT_EQ(Read(dir + "f.txt"), "hello");
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "empty", {}));
  EXPECT_EQ(Read(dir + "empty"), "");
  EXPECT_FALSE(plat::CreateFolder(dir + "f.txt/sub"));
  chmod((dir + "f.txt").c_str(), 0444); // read-only, still deleted
  EXPECT_TRUE(plat::DeleteFile(dir + "f.txt"));
  EXPECT_EQ(plat::FileSize(dir + "f.txt"), -1);
  EXPECT_FALSE(plat::DeleteFile(dir + "f.txt"));
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "no/such/folder/f", Bytes("x")));
  EXPECT_FALSE(plat::WriteFileAtomic("", Bytes("x")));
}

// Nothing but a regular file is read, nothing is waited on, and nothing
// but a regular file the player may write is replaced: the mode bits
// decide, since root could open a read-only file for writing.
TEST(PlatformFiles, OnlyRegularFilesAreReadOrReplaced) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "prefs", Bytes("abc")));
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFileChecked(dir + "prefs", 3, got));
  EXPECT_EQ(Text(got), "abc");
  EXPECT_FALSE(plat::ReadFileChecked(dir + "prefs", 2, got));
  EXPECT_TRUE(got.empty());
  ASSERT_EQ(symlink("prefs", (dir + "link").c_str()), 0);
  ASSERT_TRUE(plat::ReadFileChecked(dir + "link", 3, got)); // followed
  EXPECT_EQ(Text(got), "abc");
  for (const char *kind : kObstacles)
    ASSERT_TRUE(MakeObstacle(kind, dir + kind)) << kind;
  ASSERT_EQ(symlink("fifo", (dir + "to-fifo").c_str()), 0);
  ASSERT_EQ(symlink("missing", (dir + "dangling").c_str()), 0);
  // The link to /dev/zero is read only with a limit and never written: a
  // broken check must fail this test, not fill memory or replace a device.
  for (const char *name :
       {"zero", "folder", "fifo", "to-fifo", "dangling", "missing"}) {
    got = Bytes("stale");
    EXPECT_FALSE(plat::ReadFileChecked(dir + name, 1 << 20, got)) << name;
    EXPECT_TRUE(got.empty()) << name;
    if (name[0] != 'z') {
      EXPECT_FALSE(plat::ReadFile(dir + name, got)) << name;
    }
  }
  for (const char *name : {"folder", "fifo", "to-fifo"})
    EXPECT_FALSE(plat::WriteFileAtomic(dir + name, Bytes("x"))) << name;
  for (const char *kind : kObstacles)
    EXPECT_TRUE(StillObstacle(kind, dir + kind)) << kind;
  EXPECT_TRUE(IsLink(dir + "to-fifo"));
  // One write bit, for anyone, is enough.
  for (mode_t mode : {0444, 0400, 0464}) {
    chmod((dir + "prefs").c_str(), mode);
    EXPECT_EQ(plat::WriteFileAtomic(dir + "prefs", Bytes("new")), mode == 0464);
    EXPECT_EQ(Read(dir + "prefs"), mode == 0464 ? "new" : "abc") << mode;
    EXPECT_EQ(Mode(dir + "prefs"), mode);
  }
  EXPECT_EQ(EntriesIn(dir), 7u); // no temporary file left behind
}

// A player's link stays a link and its target is replaced; a link someone
// else planted is not followed. A replaced file keeps its permissions but
// never its set-id bits; a new one honours the umask.
TEST(PlatformFiles, AtomicWriteTrustsOnlyThePlayersLinksAndKeepsModesSafe) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  ASSERT_TRUE(plat::CreateFolder(dir + "real"));
  ASSERT_TRUE(plat::CreateFolder(dir + "play"));
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "real/scores", Bytes("old")));
  chmod((dir + "real/scores").c_str(), 06755);
  ASSERT_EQ(symlink("../real/scores", (dir + "play/scores").c_str()), 0);
  ASSERT_EQ(symlink("scores", (dir + "play/chain").c_str()), 0);
  ASSERT_EQ(symlink((dir + "real/fresh").c_str(), (dir + "play/new").c_str()),
            0);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "play/scores", Bytes("new")));
  EXPECT_TRUE(IsLink(dir + "play/scores"));
  EXPECT_EQ(Read(dir + "real/scores"), "new");
  EXPECT_EQ(Mode(dir + "real/scores"), 0755u);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "play/chain", Bytes("again")));
  EXPECT_EQ(Read(dir + "real/scores"), "again");
  const mode_t mask = umask(077);
  const bool fresh = plat::WriteFileAtomic(dir + "play/new", Bytes("fresh"));
  umask(mask);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(Read(dir + "real/fresh"), "fresh");
  EXPECT_EQ(Mode(dir + "real/fresh"), 0600u);
  EXPECT_TRUE(IsLink(dir + "play/new"));
  // A read-only target is kept; a loop of links writes nothing.
  chmod((dir + "real/scores").c_str(), 0444);
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "play/scores", Bytes("lost")));
  EXPECT_EQ(Read(dir + "real/scores"), "again");
  ASSERT_EQ(symlink("loop2", (dir + "play/loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", (dir + "play/loop2").c_str()), 0);
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "play/loop1", Bytes("x")));
  if (geteuid() == 0) {
    ASSERT_EQ(lchown((dir + "play/chain").c_str(), 65534, 65534), 0);
    chmod((dir + "real/scores").c_str(), 0644);
    EXPECT_FALSE(plat::WriteFileAtomic(dir + "play/chain", Bytes("planted")));
    EXPECT_EQ(Read(dir + "real/scores"), "again");
  }
  EXPECT_EQ(EntriesIn(dir + "play/"), 5u);
  EXPECT_EQ(EntriesIn(dir + "real/"), 2u);
}

// The log's name is predictable: a FIFO there is not waited on, a link
// there is not followed, an old log is overwritten.
TEST(PlatformRunLog, OnlyARegularFileBecomesTheLog) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  ASSERT_EQ(mkfifo((dir + "fifo.log").c_str(), 0644), 0);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "target", Bytes("keep")));
  ASSERT_EQ(symlink("target", (dir + "link.log").c_str()), 0);
  RunLog log;
  EXPECT_FALSE(OpenLog(log, dir + "fifo.log", "Warrenfold"));
  EXPECT_FALSE(OpenLog(log, dir + "link.log", "Warrenfold"));
  EXPECT_EQ(Read(dir + "target"), "keep");
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "old.log", Bytes("an older run")));
  ASSERT_TRUE(OpenLog(log, dir + "old.log", "Warrenfold"));
  CloseLog(log);
  EXPECT_EQ(Read(dir + "old.log"), "Warrenfold\r\n");
}

TEST(PlatformFiles, ScanFolderMatchesThePatternCaseSensitively) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  for (const char *name : {"English.language", "Deutsch.LANGUAGE", "notes.txt",
                           "language", ".language"})
    ASSERT_TRUE(plat::WriteFileAtomic(dir + name, Bytes("x")));
  ASSERT_TRUE(plat::CreateFolder(dir + "Folder.language"));
  ASSERT_TRUE(plat::CreateFolder(dir + "other"));
  std::vector<plat::DirEntry> entries;
  ASSERT_TRUE(plat::ScanFolder(dir, "*.language", entries));
  std::set<std::pair<std::string, bool>> found;
  for (const plat::DirEntry &e : entries)
    found.insert({e.name, e.folder});
  EXPECT_EQ(found, (std::set<std::pair<std::string, bool>>{
                       {".language", false},
                       {"English.language", false},
                       {"Folder.language", true}}));
  EXPECT_FALSE(plat::ScanFolder(dir + "missing", "*", entries));
  EXPECT_TRUE(entries.empty());
}

struct ZipTest : PlatformTest {};

TEST_F(ZipTest, HostileNamesAreJustNames) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  ASSERT_TRUE(plat::CreateFolder(dir + "inner"));
  const std::string zip = dir + "inner/Warrenfold.languages";
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"../x", "evil"},
      {"a/b", "nested"},
      {"Fran\xc3\xa7"
       "ais.language",
       "bonjour"},
      {"big.bin", std::string(5000, 'z')}};
  ASSERT_TRUE(plat::WriteFileAtomic(zip, Bytes(testzip::Build(entries))));
  std::vector<plat::ZipEntry> list;
  ASSERT_TRUE(plat::ZipList(zip, list));
  ASSERT_EQ(list.size(), entries.size());
  std::vector<uint8_t> got;
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto &[name, data] = entries[i];
    EXPECT_EQ(list[i].name, name);
    EXPECT_TRUE(list[i].file);
    EXPECT_EQ(list[i].size, int64_t(data.size()));
    ASSERT_TRUE(plat::ZipExtract(zip, name, 5000, got)) << name;
    EXPECT_EQ(Text(got), data);
  }
  // Nothing was written next to the archive or above it.
  EXPECT_EQ(plat::FileSize(dir + "x"), -1);
  EXPECT_EQ(plat::FileSize(dir + "inner/a"), -1);
  // Exact names only, and the size limit holds.
  EXPECT_FALSE(plat::ZipExtract(zip, "A/B", 100, got));
  EXPECT_FALSE(plat::ZipExtract(zip, "b", 100, got));
  EXPECT_FALSE(plat::ZipExtract(zip, "big.bin", 4999, got));
  EXPECT_TRUE(got.empty());

  // Every wanted entry in one pass; one too large is left out, and nothing
  // past the first kMaxZipEntries entries is looked at.
  std::vector<plat::ZipFile> files;
  auto all = [](const std::string &name) { return name != "a/b"; };
  ASSERT_TRUE(plat::ZipReadMatching(zip, all, 4999, files));
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "../x");
  EXPECT_EQ(Text(files[1].data), "bonjour");
  for (size_t count : {plat::kMaxZipEntries, plat::kMaxZipEntries + 1}) {
    std::vector<std::pair<std::string, std::string>> many(count, {"a/b", ""});
    many.back() = {"last", "1"};
    ASSERT_TRUE(plat::WriteFileAtomic(zip, Bytes(testzip::Build(many))));
    ASSERT_TRUE(plat::ZipReadMatching(zip, all, 10, files));
    EXPECT_EQ(files.size(), count == plat::kMaxZipEntries ? 1u : 0u) << count;
  }
}

TEST_F(ZipTest, DamagedArchivesFailCleanly) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  const std::vector<uint8_t> zip =
      Bytes(testzip::Build({{"one", "1111"}, {"two", "2222"}}));
  std::vector<plat::ZipEntry> list;
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "junk.zip", Bytes("not a zip")));
  EXPECT_FALSE(plat::ZipList(dir + "junk.zip", list));
  // Cut anywhere, or a byte flipped anywhere: no crash, no hang; whatever
  // comes back is within the limit.
  for (size_t at = 0; at < zip.size(); ++at)
    for (bool cut : {false, true}) {
      std::vector<uint8_t> bad = zip;
      if (cut)
        bad.resize(at);
      else
        bad[at] ^= 0x5a;
      WriteText(dir + "bad.zip", Text(bad));
      plat::ZipList(dir + "bad.zip", list);
      for (const char *name : {"one", "two"})
        if (plat::ZipExtract(dir + "bad.zip", name, 10, got)) {
          EXPECT_LE(got.size(), 10u);
        }
    }
}

} // namespace
