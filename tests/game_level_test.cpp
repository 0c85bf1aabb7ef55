// game_level_test.cpp — level set-up and the countdown, frame by frame,
// without a screen, sounds or an archive: the stage is built from its
// parts and the sound service records what was asked.
#include <gtest/gtest.h>

#include <memory>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "game/levels.h"
#include "support/stage_parts.h"

namespace {

class Level : public ::testing::Test {
protected:
  std::unique_ptr<StageParts> p = std::make_unique<StageParts>();
  Stage &stage = p->stage;
};

TEST_F(Level, SetUpPutsThePlayerOnTheStartTile) {
  p->play.playActive = true;
  p->play.caughtFreeze = true;
  p->play.panelStale = 0;
  LevelSetup(stage, 6, true);
  EXPECT_EQ(p->play.current, 6);
  EXPECT_EQ(p->play.currentMap, "07");
  const LevelRecord &level = p->play.levels[6];
  EXPECT_EQ(p->play.player.tileX, level.startX);
  EXPECT_EQ(p->play.player.tileY, level.startY);
  EXPECT_EQ(p->play.player.direction, kStand);
  EXPECT_EQ(p->play.player.image, num::kPlayerDown);
  EXPECT_EQ(p->play.player.opacity, 0);
  EXPECT_EQ(p->play.remaining, level.pickupTotal);
  for (unsigned picture : {kPanelLevelLabel, kPanelPickups, kPanelCherries})
    EXPECT_TRUE(p->play.panelStale & picture) << picture; // drawn anew
  EXPECT_FALSE(p->play.caughtFreeze);
  // The caught sequence has not run: it keeps its first frame and delay.
  EXPECT_EQ(p->play.caughtIndex, 0);
  EXPECT_EQ(p->play.caughtDelay, 2);
  // Chosen from the menu: the menu track stops.
  EXPECT_EQ(p->sound.requests, (std::vector<SoundRequest>{
                                   {SoundAsk::StopMusic, num::kMenuMusic}}));
  // A level index outside the list starts the first level; a caught
  // sequence cut short starts again whole.
  p->play.caughtIndex = 5;
  p->play.caughtDelay = 0;
  p->play.caughtHold = 7;
  LevelSetup(stage, 20, false);
  EXPECT_EQ(p->play.currentMap, "01");
  EXPECT_EQ(p->play.caughtIndex, 0);
  EXPECT_EQ(p->play.caughtDelay, 1);
  EXPECT_EQ(p->play.caughtHold, 100);
  EXPECT_EQ(p->sound.requests.size(), 1u); // not from the menu: no stop
}

TEST_F(Level, CountdownRuns139FramesWithFiveBeeps) {
  LevelSetup(stage, 0, true);
  p->sound.requests.clear();
  int frames = 0;
  Outcome o = Outcome::None;
  std::vector<int> beepFrames;
  while (o == Outcome::None && frames < 1000) {
    o = CountdownFrame(stage);
    ++frames;
    if (CountRequests(p->sound, SoundAsk::Effect, num::kBeep) >
        static_cast<int>(beepFrames.size()))
      beepFrames.push_back(frames);
    if (frames == 85) {
      EXPECT_EQ(p->play.player.opacity, 255); // faded in by 3 a frame
    }
  }
  EXPECT_EQ(o, Outcome::CountdownOver);
  EXPECT_EQ(frames, 139);
  // Images 8, 14, 21, 27 and 34 beep as they appear, three frames each.
  EXPECT_EQ(beepFrames, (std::vector<int>{24, 42, 63, 81, 102}));
  for (const SoundRequest &r : p->sound.requests) {
    if (r.what == SoundAsk::Effect) {
      EXPECT_EQ(r.volume, 50);
    }
  }
  EXPECT_EQ(p->sound.requests.back(),
            (SoundRequest{SoundAsk::StartMusic, num::kLevelMusic}));
  EXPECT_TRUE(p->play.playActive);
  EXPECT_EQ(p->play.countdownIndex, 0); // ready for the next level
}

TEST_F(Level, CountdownIsSilentWithSoundAndMusicOff) {
  p->settings.soundFx = 0;
  p->settings.music = 0;
  LevelSetup(stage, 0, true);
  while (CountdownFrame(stage) == Outcome::None) {
  }
  EXPECT_TRUE(p->sound.requests.empty());
  // An edited value other than 0 counts as on, everywhere.
  p->settings.soundFx = 2;
  p->settings.music = 2;
  LevelSetup(stage, 0, true);
  while (CountdownFrame(stage) == Outcome::None) {
  }
  EXPECT_EQ(CountRequests(p->sound, SoundAsk::Effect, num::kBeep), 5);
  EXPECT_EQ(CountRequests(p->sound, SoundAsk::StartMusic, num::kLevelMusic), 1);
}

} // namespace
