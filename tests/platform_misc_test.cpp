// platform_misc_test.cpp — dates, random numbers, the locale name, system
// facts and the frame clock's arithmetic.
#include "platform_helpers.h"

#include "platform/clock.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/frame_clock.h"
#include "platform/random.h"
#include "platform/system.h"
#include "support/env_guard.h"

#include <climits>
#include <ctime>
#include <set>
#include <tuple>

using namespace plat_test;

namespace {

TEST(PlatformDates, MasksGiveLocalFieldsWithLeadingZeros) {
  const time_t t = 1796482269; // 5 December 2026, 14:51:09 UTC
  // Time zone, time, mask, text. Anything but the six fields is copied;
  // +05:30 moves the day on.
  const std::tuple<const char *, time_t, const char *, const char *> cases[] = {
      {"UTC", t, "%dd-%mm-%yyyy %hh-%ii-%ss", "05-12-2026 14-51-09"},
      {"UTC", 0, "%yyyy%mm%dd %hh:%ii:%ss", "19700101 00:00:00"},
      {"UTC", t, "Shot %y %m% %%dd 100%", "Shot %y %m% %05 100%"},
      {"UTC", t, "", ""},
      {"Asia/Kolkata", t, "%dd %hh-%ii", "05 20-21"}};
  {
    EnvGuard env;
    for (const auto &[zone, time, mask, want] : cases) {
      env.Set("TZ", zone);
      tzset();
      EXPECT_EQ(plat::FormatDate(time, mask), want) << zone << " " << mask;
    }
  }
  tzset();
  EXPECT_GT(plat::Now(), time_t(1700000000));
}

// Golden values: a replay recorded today must wander the same way in every
// later build, so the generator's first draws for a seed never change.
TEST(PlatformRandom, GoldenDrawsAndInclusiveBounds) {
  auto draws = [](uint64_t seed, int n, auto draw) {
    plat::SeedRandom(seed);
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
      v.push_back(draw());
    return v;
  };
  EXPECT_EQ(draws(7, 12, [] { return plat::RandomRange(1, 1000); }),
            (std::vector<int>{995, 675, 639, 665, 665, 722, 717, 197, 409, 620,
                              304, 897}));
  EXPECT_EQ(draws(20261207, 8, [] { return plat::Random(3); }),
            (std::vector<int>{0, 1, 3, 0, 3, 2, 3, 2}));
  EXPECT_EQ(draws(0, 6, [] { return plat::RandomRange(INT_MIN, INT_MAX); }),
            (std::vector<int>{1266021044, -917093078, -919345440, -1506988756,
                              -1618727335, 1508625098}));
  // Bounds given either way round; every value in them comes.
  const std::vector<int> v =
      draws(7, 2000, [] { return plat::RandomRange(3, -2); });
  EXPECT_EQ(std::set<int>(v.begin(), v.end()),
            (std::set<int>{-2, -1, 0, 1, 2, 3}));
  EXPECT_EQ(plat::Random(0), 0);
  EXPECT_EQ(plat::RandomRange(5, 5), 5);
}

TEST(PlatformRandom, SeedComesFromTheEnvironmentAtInit) {
  EnvGuard env;
  env.Set("WARRENFOLD_SEED", "987654321");
  ASSERT_TRUE(plat::Init());
  EXPECT_EQ(plat::RandomSeedInUse(), 987654321u);
  int v = plat::Random(1000000);
  plat::Shutdown();
  ASSERT_TRUE(plat::Init());
  EXPECT_EQ(plat::Random(1000000), v);
  plat::Shutdown();
}

TEST(PlatformLocale, NameComesFromTheEnvironmentInOrder) {
  EnvGuard env;
  for (const char *n : {"LC_ALL", "LC_MESSAGES", "LANG"})
    env.Set(n, nullptr);
  EXPECT_EQ(plat::SystemLocaleName(), "en_GB");
  const std::string tooLong(400, 'x');
  // Each variable set in turn, kept for the next: (name, value, result).
  const char *const steps[][3] = {
      {"LANG", "de_DE.UTF-8", "de_DE"},
      {"LC_MESSAGES", "fr_FR@euro", "fr_FR"},
      {"LC_ALL", "", "fr_FR"}, // empty: the next one counts
      {"LC_ALL", "C", "en_GB"},
      {"LC_ALL", "POSIX", "en_GB"},
      {"LC_ALL", "C.UTF-8", "en_GB"},
      {"LC_ALL", "pt-BR", "pt_BR"},
      {"LC_ALL", tooLong.c_str(), nullptr}};
  for (const auto &[name, value, want] : steps) {
    SCOPED_TRACE(std::string(name) + "=" + value);
    env.Set(name, value);
    if (want)
      EXPECT_EQ(plat::SystemLocaleName(), want);
    else
      EXPECT_EQ(plat::SystemLocaleName().size(), 256u);
  }
}

TEST_F(PlatformTest, SystemInfoDescribesThisMachine) {
  const plat::SystemInfo info = plat::GetSystemInfo();
  EXPECT_FALSE(info.cpuName.empty());
  EXPECT_TRUE(1 <= info.availableCores &&
              info.availableCores <= info.totalCores && 0 < info.totalMemory &&
              info.freeMemory <= info.totalMemory)
      << info.availableCores << "/" << info.totalCores << " cores, "
      << info.freeMemory << "/" << info.totalMemory << " bytes";
  // The dummy driver has one display of 1024 x 768.
  int w = 0, h = 0;
  plat::DesktopSize(w, h);
  EXPECT_EQ(std::vector<int>(
                {info.displays, info.osNumber, w, h, plat::DesktopCount()}),
            std::vector<int>({1, 300, 1024, 768, 1}));
}

TEST_F(PlatformTest, MessageBoxWritesToStandardErrorHeadless) {
  testing::internal::CaptureStderr();
  plat::MessageBox("Warrenfold::Error", "Something went wrong");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Warrenfold::Error: Something went wrong\n");
}

TEST(PlatformFrameClock, DeadlinesAreExactMultiplesOfTheFrame) {
  plat::detail::FrameClock c;
  c.frequency = 1'000'000'000; // nanoseconds
  plat::detail::SetFrameClockRate(c, 60);
  const uint64_t start = 5'000'000'000ull;
  EXPECT_EQ(plat::detail::NextFrameDeadline(c, start), start); // at once
  uint64_t due = 0;
  for (int i = 1; i <= 60; ++i)
    due = plat::detail::NextFrameDeadline(c, start + i * 16'000'000ull);
  EXPECT_EQ(due, start + 1'000'000'000ull); // no drift after a second
  // A little late: the next deadline stays on the schedule.
  uint64_t next = plat::detail::NextFrameDeadline(c, due + 20'000'000ull);
  EXPECT_EQ(next, start + 1'000'000'000ull + 16'666'666ull);
  // Far behind: a new schedule starts now instead of a catch-up race.
  const uint64_t late = next + 200'000'000ull;
  EXPECT_EQ(plat::detail::NextFrameDeadline(c, late), late);
  EXPECT_EQ(plat::detail::NextFrameDeadline(c, late + 1000),
            late + 16'666'666ull);
  // A new rate restarts the schedule.
  plat::detail::SetFrameClockRate(c, 30);
  EXPECT_EQ(plat::detail::NextFrameDeadline(c, 7), 7u);
  EXPECT_EQ(plat::detail::NextFrameDeadline(c, 8), 7u + 33'333'333ull);
}

} // namespace
