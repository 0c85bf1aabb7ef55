// platform_input_test.cpp — keyboard snapshots with scripted keys, gamepad
// thresholds on a virtual controller and on the scripted pad, quit events.
#include "platform/core.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/scripted_input.h"
#include "platform_helpers.h"

#include <csignal>

using namespace plat_test;
using plat::Key;

namespace {

using InputTest = ScreenTest;

// A run started in the background inherits an ignored SIGINT, which SDL
// then leaves alone: the quit test needs the default.
const bool kSignalsDefault = [] {
  std::signal(SIGINT, SIG_DFL);
  return true;
}();

TEST_F(InputTest, AKeyHeldOverManyFramesIsReleasedOnce) {
  ASSERT_TRUE(plat::InitKeyboard());
  plat::KeyboardSnapshot(); // the real keyboard: nothing, headless
  for (Key k : {Key::Esc, Key::W, Key::KeypadEnter, Key::Delete, Key::Down})
    EXPECT_FALSE(plat::KeyHeld(k));
  plat::ScriptedInput(true);
  EXPECT_TRUE(plat::ScriptedInputActive());
  plat::InjectKey(Key::Return, true);
  for (int frame = 0; frame < 5; ++frame) {
    plat::KeyboardSnapshot();
    EXPECT_TRUE(plat::KeyHeld(Key::Return));
    EXPECT_TRUE(plat::RawKeyDown(Key::Return));
    EXPECT_FALSE(plat::KeyReleased(Key::Return));
    EXPECT_FALSE(plat::KeyHeld(Key::Esc));
  }
  plat::InjectKey(Key::Return, false);
  for (int frame = 0; frame < 3; ++frame) {
    plat::KeyboardSnapshot();
    EXPECT_FALSE(plat::KeyHeld(Key::Return));
    EXPECT_EQ(plat::KeyReleased(Key::Return), frame == 0);
  }
  // A press that comes and goes between two snapshots is never seen.
  plat::InjectKey(Key::F1, true);
  plat::InjectKey(Key::F1, false);
  plat::KeyboardSnapshot();
  EXPECT_FALSE(plat::KeyReleased(Key::F1));
}

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

TEST_F(InputTest, ScriptedPadReplacesTheRealOnes) {
  plat::ScriptedInput(true);
  EXPECT_EQ(plat::FindGamepads(), 0);
  plat::InjectPadConnected(true);
  ASSERT_EQ(plat::FindGamepads(), 1);
  const int cases[][2] = {{-499, 0}, {-500, -1},  {499, 0},
                          {500, 1},  {-1000, -1}, {1000, 1}};
  for (const auto &[raw, want] : cases) {
    plat::InjectPadAxis(2, raw, -raw);
    ASSERT_TRUE(plat::GamepadSnapshot(0));
    EXPECT_EQ(plat::GamepadAxisX(0, 2), want) << raw;
    EXPECT_EQ(plat::GamepadAxisY(0, 2), -want) << raw;
    EXPECT_EQ(plat::GamepadAxisX(0, 0), 0);
  }
  plat::InjectPadButton(3, true);
  EXPECT_FALSE(plat::GamepadButton(0, 3)); // not before the snapshot
  ASSERT_TRUE(plat::GamepadSnapshot(0));
  EXPECT_TRUE(plat::GamepadButton(0, 3));
  EXPECT_FALSE(plat::GamepadButton(1, 3));
  EXPECT_FALSE(plat::GamepadSnapshot(1));
  plat::InjectPadConnected(false);
  EXPECT_EQ(plat::FindGamepads(), 0);
  EXPECT_FALSE(plat::GamepadSnapshot(0));
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
