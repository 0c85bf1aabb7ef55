// platform_handles_test.cpp — the platform's library objects have one owner
// each (a copy would free them twice), and a failed library call leaves one
// line on standard error.
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/zip.h"
#include "platform_helpers.h"

#include <fstream>
#include <type_traits>

using namespace plat_test;

namespace {

template <typename... T>
constexpr bool kMoveOnly = ((!std::is_copy_constructible_v<T> &&
                             !std::is_copy_assignable_v<T> &&
                             std::is_move_constructible_v<T> &&
                             std::is_move_assignable_v<T>)&&...);

using namespace plat::detail;
static_assert(kMoveOnly<Prescaled, Sprite, Image, Font, Sound, Pad, DrawState,
                        TextState, DisplayState, InputState, PlatformState>);
// Pictures are plain pixel buffers: copies are independent.
static_assert(std::is_copy_constructible_v<plat::Picture>);

struct FailureReportTest : PlatformTest {};

TEST_F(FailureReportTest, OneLinePerFailureAndNoneForAMissingFile) {
  TempDir tmp;
  const std::string dir = tmp.Folder();
  std::vector<plat::ZipEntry> list;
  std::vector<uint8_t> got;

  // Missing is an ordinary answer: false, and nothing written.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(plat::ZipList(dir + "missing.zip", list));
  EXPECT_FALSE(plat::ZipExtract(dir + "missing.zip", "a", 10, got));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  // A path through a regular file cannot be opened: the library's reason,
  // which names this test's own folder, so no earlier test wrote it.
  std::ofstream(dir + "file") << "x";
  const std::string path = dir + "file/archive.zip";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(plat::ZipList(path, list));
  const std::string first = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(first.rfind("Warrenfold: archive_read_open_filename: ", 0) == 0 &&
              first.find(path) != std::string::npos &&
              first.find('\n') == first.size() - 1)
      << first;

  // The same failure again (as a call made every frame would): no repeat.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(plat::ZipList(path, list) ||
               plat::ZipExtract(path, "a", 10, got));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
