// platform_input_test.cpp — gamepad thresholds on a virtual controller and
// quit events. Scripted keys and the scripted pad are driven through the
// main loop's own tests (shell_loop_test.cpp).
#include "platform/core.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/scripted_input.h"
#include "platform_helpers.h"

#include <csignal>

using namespace plat_test;

namespace {

using InputTest = ScreenTest;

// A run started in the background inherits an ignored SIGINT, which SDL
// then leaves alone: the quit test needs the default.
const bool kSignalsDefault = [] {
  std::signal(SIGINT, SIG_DFL);
  return true;
}();

TEST_F(InputTest, VirtualControllerAxesUseTheHalfDeflectionThreshold) {
  plat::Shutdown(); // no pad system (as where it cannot start): no pads
  EXPECT_EQ(plat::FindGamepads(), 0);
  ASSERT_TRUE(plat::Init());
  EXPECT_EQ(plat::FindGamepads(), 0);
  ASSERT_TRUE(plat::AttachVirtualPad());
  ASSERT_EQ(plat::FindGamepads(), 1); // found when asked again
  // SDL's scale: -16352 is -499 on ours, -16384 is -500.
  const int cases[][2] = {{-16352, 0},  {-16384, -1}, {16351, 0}, {16384, 1},
                          {-40000, -1}, {40000, 1},   {0, 0}};
  for (const auto &[raw, want] : cases) {
    ASSERT_TRUE(plat::SetVirtualPadAxis(0, raw));
    ASSERT_TRUE(plat::SetVirtualPadAxis(3, raw));
    ASSERT_TRUE(plat::GamepadSnapshot(0));
    EXPECT_EQ(plat::GamepadAxisX(0, 0), want) << raw;
    EXPECT_EQ(plat::GamepadAxisY(0, 0), 0);
    EXPECT_EQ(plat::GamepadAxisY(0, 1), want) << raw;
  }
  // Buttons from 1; the d-pad doubles as stick 2.
  ASSERT_TRUE(plat::SetVirtualPadButton(1, true));
  ASSERT_TRUE(plat::SetVirtualPadButton(12, true)); // d-pad up
  ASSERT_TRUE(plat::SetVirtualPadButton(15, true)); // d-pad right
  ASSERT_TRUE(plat::GamepadSnapshot(0));
  EXPECT_TRUE(plat::GamepadButton(0, 1));
  EXPECT_FALSE(plat::GamepadButton(0, 2));
  EXPECT_FALSE(plat::GamepadButton(0, 0));
  EXPECT_EQ(plat::GamepadAxisY(0, 2), -1);
  EXPECT_EQ(plat::GamepadAxisX(0, 2), 1);
  EXPECT_FALSE(plat::GamepadSnapshot(1));
  plat::DetachVirtualPad(); // gone before the list is looked at again
  EXPECT_FALSE(plat::GamepadSnapshot(0));
  EXPECT_EQ(plat::FindGamepads(), 0);
}

TEST_F(InputTest, QuitRequestsComeBackAsCloseAndHeadlessScreensAreActive) {
  while (plat::PollWindowEvent() != plat::WindowEvent::None) {
  }
  plat::InjectQuit();
  plat::InjectQuit(); // the same request again
  EXPECT_EQ(plat::PollWindowEvent(), plat::WindowEvent::Close);
  EXPECT_EQ(plat::PollWindowEvent(), plat::WindowEvent::None);
  for (int signal : {SIGINT, SIGTERM}) {
    std::raise(signal);
    EXPECT_EQ(plat::PollWindowEvent(), plat::WindowEvent::Close) << signal;
  }
  EXPECT_TRUE(plat::HeadlessVideo());
  EXPECT_TRUE(plat::ScreenActive());
  plat::ShowWindow();
  plat::ActivateWindow();
  EXPECT_TRUE(plat::ScreenActive());
}

} // namespace
