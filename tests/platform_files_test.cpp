// platform_files_test.cpp — folders, file sizes, atomic writes, folder scans
// and ZIP archives read in memory.
#include "platform/files.h"
#include "platform/run_log.h"
#include "platform/zip.h"
#include "platform_helpers.h"
#include "support/env_guard.h"
#include "support/obstacles.h"
#include "support/watchdog.h"
#include "support/zip_builder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

using namespace plat_test;

namespace {

std::vector<uint8_t> Bytes(const std::string &s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

std::string Text(const std::vector<uint8_t> &b) {
  return std::string(b.begin(), b.end());
}

TEST(PlatformFolders, UserDataFolderFollowsXdgWithoutCreatingIt) {
  EnvGuard env;
  env.Set("HOME", "/tmp/wf-home-that-does-not-exist");
  env.Set("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(plat::UserDataFolder("Warrenfold"),
            "/tmp/wf-home-that-does-not-exist/.local/share/Warrenfold/");
  env.Set("XDG_DATA_HOME", ""); // empty counts as unset
  EXPECT_EQ(plat::UserDataFolder("Warrenfold"),
            "/tmp/wf-home-that-does-not-exist/.local/share/Warrenfold/");
  env.Set("XDG_DATA_HOME", "relative/path"); // not absolute: ignored
  EXPECT_EQ(plat::UserDataFolder("W"),
            "/tmp/wf-home-that-does-not-exist/.local/share/W/");
  env.Set("XDG_DATA_HOME", "/tmp/wf-data/");
  EXPECT_EQ(plat::UserDataFolder("Warrenfold"), "/tmp/wf-data/Warrenfold/");
  EXPECT_EQ(plat::FileSize("/tmp/wf-home-that-does-not-exist"), -1);
  EXPECT_EQ(plat::HomeFolder(), "/tmp/wf-home-that-does-not-exist/");
  env.Set("HOME", "");
  EXPECT_FALSE(plat::HomeFolder().empty()); // from the password database
}

TEST(PlatformFolders, ProgramPathAndFolder) {
  const std::string path = plat::ProgramPath();
  const std::string folder = plat::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(path.compare(0, folder.size(), folder), 0);
  EXPECT_GT(plat::FileSize(path), 0);
}

TEST(PlatformFiles, SizesCreateReadDelete) {
  TempDir tmp;
  const std::string dir = tmp.path;
  EXPECT_EQ(plat::FileSize(dir + "missing"), -1);
  EXPECT_EQ(plat::FileSize(dir), -2);
  EXPECT_EQ(plat::FileSize(""), -1);
  ASSERT_TRUE(plat::CreateFolder(dir + "a/b/c"));
  EXPECT_TRUE(plat::CreateFolder(dir + "a/b/c")); // already there
  EXPECT_EQ(plat::FileSize(dir + "a/b/c"), -2);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "f.txt", Bytes("hello")));
  EXPECT_EQ(plat::FileSize(dir + "f.txt"), 5);
  EXPECT_FALSE(plat::CreateFolder(dir + "f.txt/sub"));
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFile(dir + "f.txt", got));
  EXPECT_EQ(Text(got), "hello");
  EXPECT_FALSE(plat::ReadFile(dir + "a", got)); // a folder
  EXPECT_FALSE(plat::ReadFile(dir + "nothing", got));
  // A read-only file can be deleted.
  chmod((dir + "f.txt").c_str(), 0444);
  EXPECT_TRUE(plat::DeleteFile(dir + "f.txt"));
  EXPECT_EQ(plat::FileSize(dir + "f.txt"), -1);
  EXPECT_FALSE(plat::DeleteFile(dir + "f.txt"));
}

TEST(PlatformFiles, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "prefs", Bytes("old")));
  chmod((dir + "prefs").c_str(), 0600);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "prefs", Bytes("new contents")));
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFile(dir + "prefs", got));
  EXPECT_EQ(Text(got), "new contents");
  struct stat st;
  ASSERT_EQ(stat((dir + "prefs").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u); // permissions kept
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "no/such/folder/f", Bytes("x")));
  EXPECT_FALSE(plat::WriteFileAtomic("", Bytes("x")));
}

// Run in a child process of its own (a fresh copy of this program), since
// it gives up root to make the folder's permissions count.
void WriteIntoReadOnlyFolder(const std::string &dir) {
  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
    _exit(3);
  if (plat::WriteFileAtomic(dir + "scores", Bytes("new")))
    _exit(1);
  std::vector<uint8_t> got;
  if (!plat::ReadFile(dir + "scores", got) || Text(got) != "old")
    _exit(2);
  std::vector<plat::DirEntry> entries;
  if (!plat::ScanFolder(dir, "*", entries) || entries.size() != 1)
    _exit(4);
  _exit(0);
}

TEST(PlatformFilesDeathTest, AtomicWriteInAReadOnlyFolderKeepsTheOldFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The child runs this body again: it uses the parent's folder, which the
  // parent alone makes and removes.
  const bool child = !GTEST_FLAG_GET(internal_run_death_test).empty();
  const std::string dir = "/tmp/wf_platform_ro_" +
                          std::to_string(child ? getppid() : getpid()) + "/";
  if (!child) {
    ASSERT_TRUE(plat::CreateFolder(dir));
    ASSERT_TRUE(plat::WriteFileAtomic(dir + "scores", Bytes("old")));
    chmod((dir + "scores").c_str(), 0644);
    chmod(dir.c_str(), 0555);
  }
  EXPECT_EXIT(WriteIntoReadOnlyFolder(dir), ::testing::ExitedWithCode(0), "");
  chmod(dir.c_str(), 0755);
  plat::DeleteFile(dir + "scores");
  rmdir(dir.c_str());
}

size_t EntriesIn(const std::string &dir) {
  std::vector<plat::DirEntry> entries;
  EXPECT_TRUE(plat::ScanFolder(dir, "*", entries));
  return entries.size();
}

TEST(PlatformFiles, OnlyRegularFilesAreReadOrReplaced) {
  Watchdog watchdog;
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "prefs", Bytes("abc")));
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFileChecked(dir + "prefs", 3, got));
  EXPECT_EQ(Text(got), "abc");
  EXPECT_FALSE(plat::ReadFileChecked(dir + "prefs", 2, got));
  EXPECT_TRUE(got.empty());
  ASSERT_EQ(symlink("prefs", (dir + "link").c_str()), 0);
  ASSERT_TRUE(plat::ReadFileChecked(dir + "link", 3, got)); // followed
  EXPECT_EQ(Text(got), "abc");
  // Nothing else is read, nothing is waited on, nothing is replaced.
  for (const char *kind : kObstacles)
    ASSERT_TRUE(MakeObstacle(kind, dir + kind)) << kind;
  ASSERT_EQ(symlink("fifo", (dir + "to-fifo").c_str()), 0);
  ASSERT_EQ(symlink("missing", (dir + "dangling").c_str()), 0);
  for (const char *name :
       {"folder", "fifo", "zero", "to-fifo", "dangling", "missing"}) {
    got = Bytes("stale");
    EXPECT_FALSE(plat::ReadFileChecked(dir + name, 1 << 20, got)) << name;
    EXPECT_TRUE(got.empty()) << name;
    EXPECT_FALSE(plat::ReadFile(dir + name, got)) << name;
  }
  for (const char *name : {"folder", "fifo", "zero", "to-fifo"})
    EXPECT_FALSE(plat::WriteFileAtomic(dir + name, Bytes("x"))) << name;
  for (const char *kind : kObstacles)
    EXPECT_TRUE(StillObstacle(kind, dir + kind)) << kind;
  struct stat st;
  ASSERT_EQ(lstat((dir + "to-fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(EntriesIn(dir), 7u); // no temporary file left behind
}

TEST(PlatformFiles, AtomicWriteKeepsAReadOnlyFileEvenForRoot) {
  TempDir tmp;
  const std::string dir = tmp.path;
  // The mode bits decide: root could open these for writing.
  for (mode_t mode : {0444, 0400}) {
    ASSERT_TRUE(plat::WriteFileAtomic(dir + "scores", Bytes("old")));
    chmod((dir + "scores").c_str(), mode);
    EXPECT_FALSE(plat::WriteFileAtomic(dir + "scores", Bytes("new")));
    std::vector<uint8_t> got;
    ASSERT_TRUE(plat::ReadFile(dir + "scores", got));
    EXPECT_EQ(Text(got), "old");
    struct stat st;
    ASSERT_EQ(stat((dir + "scores").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(EntriesIn(dir), 1u); // no temporary file left behind
    chmod((dir + "scores").c_str(), 0644);
  }
  // One write bit, for anyone, is enough.
  chmod((dir + "scores").c_str(), 0464);
  EXPECT_TRUE(plat::WriteFileAtomic(dir + "scores", Bytes("new")));
}

TEST(PlatformFiles, AtomicWriteThroughALinkReplacesItsTarget) {
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_TRUE(plat::CreateFolder(dir + "real"));
  ASSERT_TRUE(plat::CreateFolder(dir + "play"));
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "real/scores", Bytes("old")));
  chmod((dir + "real/scores").c_str(), 0600);
  ASSERT_EQ(symlink("../real/scores", (dir + "play/scores").c_str()), 0);
  ASSERT_EQ(symlink("scores", (dir + "play/chain").c_str()), 0);
  ASSERT_EQ(symlink((dir + "real/fresh").c_str(), (dir + "play/new").c_str()),
            0);

  ASSERT_TRUE(plat::WriteFileAtomic(dir + "play/scores", Bytes("new")));
  struct stat st;
  ASSERT_EQ(lstat((dir + "play/scores").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)); // still the player's link
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFile(dir + "real/scores", got));
  EXPECT_EQ(Text(got), "new");
  ASSERT_EQ(stat((dir + "real/scores").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // A link to a link, and a link to a file not there yet.
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "play/chain", Bytes("again")));
  ASSERT_TRUE(plat::ReadFile(dir + "real/scores", got));
  EXPECT_EQ(Text(got), "again");
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "play/new", Bytes("fresh")));
  ASSERT_TRUE(plat::ReadFile(dir + "real/fresh", got));
  EXPECT_EQ(Text(got), "fresh");
  ASSERT_EQ(lstat((dir + "play/new").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(EntriesIn(dir + "play/"), 3u);
  EXPECT_EQ(EntriesIn(dir + "real/"), 2u);

  // A read-only target is kept; a loop of links writes nothing.
  chmod((dir + "real/scores").c_str(), 0444);
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "play/scores", Bytes("lost")));
  ASSERT_TRUE(plat::ReadFile(dir + "real/scores", got));
  EXPECT_EQ(Text(got), "again");
  ASSERT_EQ(symlink("loop2", (dir + "play/loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", (dir + "play/loop2").c_str()), 0);
  EXPECT_FALSE(plat::WriteFileAtomic(dir + "play/loop1", Bytes("x")));
  EXPECT_EQ(EntriesIn(dir + "play/"), 5u);
  EXPECT_EQ(EntriesIn(dir + "real/"), 2u);
}

// A link someone else planted where a player's file goes is not followed;
// new files honour the umask; a replaced one keeps its permissions but
// never its set-id bits.
TEST(PlatformFiles, AtomicWriteTrustsOnlyThePlayersLinksAndKeepsModesSafe) {
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "target", Bytes("theirs")));
  ASSERT_EQ(symlink("target", (dir + "planted").c_str()), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(lchown((dir + "planted").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(plat::WriteFileAtomic(dir + "planted", Bytes("mine")));
    std::vector<uint8_t> got;
    ASSERT_TRUE(plat::ReadFile(dir + "target", got));
    EXPECT_EQ(Text(got), "theirs");
  }
  const mode_t mask = umask(077);
  const bool fresh = plat::WriteFileAtomic(dir + "fresh", Bytes("x"));
  umask(mask);
  ASSERT_TRUE(fresh);
  chmod((dir + "target").c_str(), 06755);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "target", Bytes("new")));
  struct stat st;
  ASSERT_EQ(stat((dir + "fresh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(stat((dir + "target").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
}

// The log's name is predictable: a FIFO there is not waited on, a link
// there is not followed, an old log is overwritten.
TEST(PlatformRunLog, OnlyARegularFileBecomesTheLog) {
  Watchdog watchdog;
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_EQ(mkfifo((dir + "fifo.log").c_str(), 0644), 0);
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "target", Bytes("keep")));
  ASSERT_EQ(symlink("target", (dir + "link.log").c_str()), 0);
  RunLog log;
  EXPECT_FALSE(OpenLog(log, dir + "fifo.log", "Warrenfold"));
  EXPECT_FALSE(OpenLog(log, dir + "link.log", "Warrenfold"));
  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ReadFile(dir + "target", got));
  EXPECT_EQ(Text(got), "keep");
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "old.log", Bytes("an older run")));
  ASSERT_TRUE(OpenLog(log, dir + "old.log", "Warrenfold"));
  CloseLog(log);
  ASSERT_TRUE(plat::ReadFile(dir + "old.log", got));
  EXPECT_EQ(Text(got), "Warrenfold\r\n");
}

TEST(PlatformFiles, ScanFolderMatchesThePatternCaseSensitively) {
  TempDir tmp;
  const std::string dir = tmp.path;
  for (const char *name : {"English.language", "Deutsch.LANGUAGE", "notes.txt",
                           "language", ".language"})
    ASSERT_TRUE(plat::WriteFileAtomic(dir + name, Bytes("x")));
  ASSERT_TRUE(plat::CreateFolder(dir + "Folder.language"));
  ASSERT_TRUE(plat::CreateFolder(dir + "other"));
  std::vector<plat::DirEntry> entries;
  ASSERT_TRUE(plat::ScanFolder(dir, "*.language", entries));
  std::sort(entries.begin(), entries.end(),
            [](auto &a, auto &b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, ".language");
  EXPECT_EQ(entries[1].name, "English.language");
  EXPECT_FALSE(entries[1].folder);
  EXPECT_EQ(entries[2].name, "Folder.language");
  EXPECT_TRUE(entries[2].folder);
  EXPECT_FALSE(plat::ScanFolder(dir + "missing", "*", entries));
  EXPECT_TRUE(entries.empty());
}

std::vector<uint8_t>
MakeZip(const std::vector<std::pair<std::string, std::string>> &entries) {
  return Bytes(testzip::Build(entries));
}

struct ZipTest : PlatformTest {};

TEST_F(ZipTest, HostileNamesAreJustNames) {
  TempDir tmp;
  const std::string dir = tmp.path;
  ASSERT_TRUE(plat::CreateFolder(dir + "inner"));
  const std::string zip = dir + "inner/Warrenfold.languages";
  ASSERT_TRUE(plat::WriteFileAtomic(
      zip, MakeZip({{"../x", "evil"},
                    {"a/b", "nested"},
                    {"Fran\xc3\xa7"
                     "ais.language",
                     "bonjour"},
                    {"big.bin", std::string(5000, 'z')}})));
  std::vector<plat::ZipEntry> list;
  ASSERT_TRUE(plat::ZipList(zip, list));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].name, "../x");
  EXPECT_EQ(list[1].name, "a/b");
  EXPECT_EQ(list[2].name, "Fran\xc3\xa7"
                          "ais.language");
  EXPECT_TRUE(list[2].file);
  EXPECT_EQ(list[3].size, 5000);

  std::vector<uint8_t> got;
  ASSERT_TRUE(plat::ZipExtract(zip, "../x", 100, got));
  EXPECT_EQ(Text(got), "evil");
  ASSERT_TRUE(plat::ZipExtract(zip, "a/b", 100, got));
  EXPECT_EQ(Text(got), "nested");
  ASSERT_TRUE(plat::ZipExtract(zip,
                               "Fran\xc3\xa7"
                               "ais.language",
                               100, got));
  EXPECT_EQ(Text(got), "bonjour");
  // Nothing was written next to the archive or above it.
  EXPECT_EQ(plat::FileSize(dir + "x"), -1);
  EXPECT_EQ(plat::FileSize(dir + "inner/a"), -1);
  // Exact names only, and the size limit holds.
  EXPECT_FALSE(plat::ZipExtract(zip, "A/B", 100, got));
  EXPECT_FALSE(plat::ZipExtract(zip, "b", 100, got));
  EXPECT_FALSE(plat::ZipExtract(zip, "big.bin", 4999, got));
  EXPECT_TRUE(got.empty());
  EXPECT_TRUE(plat::ZipExtract(zip, "big.bin", 5000, got));
  EXPECT_EQ(got.size(), 5000u);
}

TEST_F(ZipTest, DamagedArchivesFailCleanly) {
  TempDir tmp;
  const std::string dir = tmp.path;
  std::vector<uint8_t> zip = MakeZip({{"one", "1111"}, {"two", "2222"}});
  std::vector<plat::ZipEntry> list;
  std::vector<uint8_t> got;
  EXPECT_FALSE(plat::ZipList(dir + "missing.zip", list));
  EXPECT_FALSE(plat::ZipExtract(dir + "missing.zip", "one", 100, got));
  ASSERT_TRUE(plat::WriteFileAtomic(dir + "junk.zip", Bytes("not a zip")));
  EXPECT_FALSE(plat::ZipList(dir + "junk.zip", list));
  // Every truncation and a flipped byte in every position: no crash, no
  // hang; whatever comes back is within the limit.
  for (size_t cut = 0; cut < zip.size(); cut += 3) {
    std::vector<uint8_t> part(zip.begin(), zip.begin() + long(cut));
    ASSERT_TRUE(plat::WriteFileAtomic(dir + "cut.zip", part));
    plat::ZipList(dir + "cut.zip", list);
    if (plat::ZipExtract(dir + "cut.zip", "two", 10, got)) {
      EXPECT_LE(got.size(), 10u);
    }
  }
  for (size_t at = 0; at < zip.size(); ++at) {
    std::vector<uint8_t> bad = zip;
    bad[at] ^= 0x5a;
    ASSERT_TRUE(plat::WriteFileAtomic(dir + "bad.zip", bad));
    plat::ZipList(dir + "bad.zip", list);
    if (plat::ZipExtract(dir + "bad.zip", "one", 10, got)) {
      EXPECT_LE(got.size(), 10u);
    }
  }
}

} // namespace
