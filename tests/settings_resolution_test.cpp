// settings_resolution_test.cpp — a hand-edited window size outside the list:
// kept in the file, shown as the default entry, replaced only by a choice.
#include <gtest/gtest.h>

#include <memory>

#include "platform/scripted_input.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "ui/dialogs.h"

namespace {

class Resolution : public ::testing::Test {
protected:
  std::unique_ptr<Game> game = std::make_unique<Game>();

  void SetUp() override {
    plat::ScriptedInput(true);
    game->display.resolutions = ResolutionList();
    game->sound.recording = true;
    game->loop.drawing = false;
  }
  void TearDown() override { plat::ScriptedInput(false); }

  // The settings screen opened on the resolution row.
  PendingSettings &Open(int stored) {
    game->settings.gameScreen = ScreenMode::Window;
    game->settings.resolution = stored;
    game->loop.pending = MakePending(game->settings);
    game->loop.settingsRow = kRowResolution;
    return game->loop.pending;
  }
};

TEST_F(Resolution, StepsFromTheShownEntryWhenTheStoredOneIsOutsideTheList) {
  for (int stored : {42, -3, 10}) {
    PendingSettings &p = Open(stored);
    EXPECT_EQ(p.resolutionChoice, 1) << stored;
    EXPECT_EQ(p.resolution, stored); // unchanged until the player moves
    ChangeSetting(*game, +1);
    EXPECT_EQ(p.resolutionChoice, 2) << stored;
    EXPECT_EQ(p.resolution, 2) << stored; // the size shown, 1366x768

    Open(stored);
    ChangeSetting(*game, -1);
    ChangeSetting(*game, -1); // already at the first entry
    EXPECT_EQ(p.resolutionChoice, 0) << stored;
    EXPECT_EQ(p.resolution, 0) << stored;
  }
}

TEST_F(Resolution, StepsWithinTheListAsBefore) {
  PendingSettings &p = Open(9);
  ChangeSetting(*game, +1); // already at the last entry
  EXPECT_EQ(p.resolution, 9);
  ChangeSetting(*game, -1);
  EXPECT_EQ(p.resolutionChoice, 8);
  EXPECT_EQ(p.resolution, 8);
}

} // namespace
