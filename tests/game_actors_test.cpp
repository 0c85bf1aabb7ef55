// game_actors_test.cpp — the player's steps, the monsters' releases, doors,
// choices and catch, pickups and the sequences that end a level, frame by
// frame on small hand-built mazes, without a screen or sounds.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "maps/maze.h"
#include "platform/random.h"
#include "support/maze_builder.h"
#include "support/stage_parts.h"

namespace {

std::unique_ptr<StageParts> Parts(int width = 1920, int height = 1080) {
  return std::make_unique<StageParts>(width, height);
}

// Level `index` on an open maze of its own, play running.
void StartOnOpenMaze(StageParts &p, int index, bool dots = false) {
  AddMaze(p.maps, p.play.levels[index].mapName, OpenLevel(dots));
  LevelSetup(p.stage, index, false);
  p.play.playActive = true;
  p.sound.requests.clear();
}

// Frames from a started step until the player stands again.
int StepFrames(StageParts &p) {
  int frames = 0;
  while (p.play.player.direction != kStand && frames < 100) {
    AdvancePlayer(p.stage);
    ++frames;
  }
  return frames;
}

TEST(Player, FirstStepTakes17FramesThen16AtEveryTileSize) {
  for (auto [w, h] : {std::pair{1920, 1080}, {1280, 720}, {3840, 2160}}) {
    auto p = Parts(w, h);
    StartOnOpenMaze(*p, 0);
    const int x = p->play.player.tileX;
    StartStep(p->stage, kRight);
    EXPECT_EQ(p->play.player.frameX, 96);
    EXPECT_EQ(StepFrames(*p), 17) << w;
    StartStep(p->stage, kRight);
    EXPECT_EQ(StepFrames(*p), 16) << w;
    StartStep(p->stage, kLeft);
    EXPECT_EQ(StepFrames(*p), 16) << w;
    EXPECT_EQ(p->play.player.tileX, x + 1);
    EXPECT_EQ(p->play.player.frameX, 0);
  }
}

TEST(Player, StepsStopAtWallsAndNeverTurnMidStep) {
  auto p = Parts();
  std::vector<std::string> rows = OpenLevel();
  const LevelRecord &level = p->play.levels[0];
  rows[level.startY][level.startX - 1] = '#'; // a wall on the left
  AddMaze(p->maps, "01", rows);
  LevelSetup(p->stage, 0, false);
  p->play.playActive = true;
  // Left and Up held together: left is tried first, but it is a wall.
  StartStep(p->stage, kLeft);
  EXPECT_EQ(p->play.player.direction, kStand);
  StartStep(p->stage, kUp);
  EXPECT_EQ(p->play.player.direction, kUp);
  EXPECT_EQ(p->play.player.image, num::kPlayerUp);
  // Another key during the step does nothing.
  AdvancePlayer(p->stage);
  StartStep(p->stage, kRight);
  EXPECT_EQ(p->play.player.direction, kUp);
  EXPECT_EQ(StepFrames(*p) + 1, 17);
  EXPECT_EQ(p->play.player.tileY, level.startY - 1);
  // No steps before play runs or while caught.
  p->play.playActive = false;
  StartStep(p->stage, kDown);
  EXPECT_EQ(p->play.player.direction, kStand);
  p->play.playActive = true;
  p->play.caughtFreeze = true;
  StartStep(p->stage, kDown);
  EXPECT_EQ(p->play.player.direction, kStand);
}

TEST(Player, StepUnderWayFreezesWhenCaught) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  StartStep(p->stage, kDown);
  AdvancePlayer(p->stage);
  AdvancePlayer(p->stage);
  p->play.caughtFreeze = true;
  const double offset = p->play.player.offset;
  for (int i = 0; i < 30; ++i)
    AdvancePlayer(p->stage);
  EXPECT_EQ(p->play.player.offset, offset);
  EXPECT_EQ(p->play.player.direction, kDown);
}

TEST(Player, AnimationEveryFifthFrameWhileWalking) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  StartStep(p->stage, kRight);
  std::vector<int> frames;
  for (int i = 0; i < 16; ++i) {
    PlayerAnimation(p->stage);
    frames.push_back(p->play.player.frameX);
  }
  // Delay 4 from the set-up: the first change comes on the fifth frame.
  EXPECT_EQ(frames, (std::vector<int>{96, 96, 96, 96, 192, 192, 192, 192, 192,
                                      288, 288, 288, 288, 288, 0, 0}));
}

TEST(Pickups, DotCherryAndEmptyTiles) {
  auto p = Parts();
  std::vector<std::string> rows = OpenLevel();
  const LevelRecord &level = p->play.levels[0];
  rows[level.startY][level.startX + 1] = '.';
  rows[level.startY][level.startX + 2] = 'c';
  AddMaze(p->maps, "01", rows);
  LevelSetup(p->stage, 0, false);
  p->play.playActive = true;
  p->play.panelStale = 0;
  StartStep(p->stage, kRight);
  StepFrames(*p);
  EXPECT_EQ(p->play.remaining, level.pickupTotal - 1);
  EXPECT_EQ(p->play.collected, 1);
  EXPECT_EQ(p->play.cherries, 0);
  EXPECT_EQ(p->play.panelStale, static_cast<unsigned>(kPanelPickups));
  ASSERT_EQ(p->play.effects.size(), 1u);
  EXPECT_EQ(p->play.effects[0].image, num::kItemDot);
  const ScreenGeometry &g = p->display.geometry;
  EXPECT_EQ(p->play.effects[0].x, g.playOriginX + (level.startX + 1) * 48);
  EXPECT_EQ(
      GetTile(p->maps, "01", maze::kItemLayer, level.startX + 1, level.startY),
      0);
  EXPECT_EQ(p->sound.requests,
            (std::vector<SoundRequest>{{SoundAsk::Effect, num::kCoin, 25}}));

  p->play.panelStale = 0;
  StartStep(p->stage, kRight);
  StepFrames(*p);
  EXPECT_EQ(p->play.collected, 2);
  EXPECT_EQ(p->play.cherries, 1); // a cherry counts both ways
  EXPECT_EQ(p->play.panelStale,
            static_cast<unsigned>(kPanelPickups | kPanelCherries));
  EXPECT_EQ(p->play.effects.back().image, num::kItemCherry);

  StartStep(p->stage, kRight); // nothing lies there
  StepFrames(*p);
  EXPECT_EQ(p->play.collected, 2);
  EXPECT_EQ(p->sound.requests.size(), 2u);
}

TEST(Pickups, EffectsDriftAndFadeIn16Frames) {
  auto p = Parts();
  p->play.effects.push_back({100, 200, 255, num::kItemDot});
  int frames = 0;
  while (!p->play.effects.empty()) {
    const PickupEffect e = p->play.effects[0];
    EffectsFrame(p->stage);
    ++frames;
    if (!p->play.effects.empty()) {
      EXPECT_EQ(p->play.effects[0].x, e.x + 2);
      EXPECT_EQ(p->play.effects[0].y, e.y - 2);
    }
  }
  EXPECT_EQ(frames, 16);
}

TEST(Monsters, ReleasedAtTheLevelsInterval) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0); // interval 150, 5 monsters
  ASSERT_EQ(p->play.monsters.size(), 5u);
  std::vector<int> releases;
  for (int frame = 1; frame <= 1200; ++frame) {
    const int before = p->play.levels[0].releasedCount;
    MonsterRelease(p->stage);
    if (p->play.levels[0].releasedCount != before)
      releases.push_back(frame);
  }
  EXPECT_EQ(releases, (std::vector<int>{150, 300, 450, 600, 750}));
  // The caught player stops the releases.
  StartOnOpenMaze(*p, 0);
  p->play.caughtFreeze = true;
  for (int i = 0; i < 400; ++i)
    MonsterRelease(p->stage);
  EXPECT_EQ(p->play.levels[0].releasedCount, 0);
}

// The first monster's way out: its door opens on release and both doors
// of its axis close after its second step.
void CheckDoors(int levelIndex) {
  auto p = Parts();
  StartOnOpenMaze(*p, levelIndex);
  const int house = p->play.levels[levelIndex].houseType;
  Monster &m = p->play.monsters[0];
  p->play.releaseCounter = p->play.levels[levelIndex].releaseInterval - 1;
  MonsterRelease(p->stage);
  ASSERT_EQ(m.active, 1);
  // Both doors of the house's axis. On release the monster's door holds
  // its open value; two steps later both doors hold their closed values.
  auto expectDoors = [&](bool released) {
    for (const maze::HouseDoor &door : maze::HouseOf(house).doors)
      if (!released || door.exit == m.direction) {
        EXPECT_EQ(GetTile(p->maps, p->play.currentMap, maze::kWallLayer, door.x,
                          door.y),
                  released ? door.open : door.closed)
            << door.x << "," << door.y;
      }
  };
  expectDoors(true);
  const int startX = m.tileX, startY = m.tileY, dir = m.direction;
  for (int i = 0; i < 16; ++i)
    AdvanceMonsters(p->stage, true);
  EXPECT_EQ(m.stepsSinceRelease, 1);
  for (int i = 0; i < 16; ++i)
    AdvanceMonsters(p->stage, true);
  EXPECT_EQ(m.stepsSinceRelease, 3);
  EXPECT_EQ(m.tileX, startX + 2 * (dir == kRight) - 2 * (dir == kLeft));
  EXPECT_EQ(m.tileY, startY + 2 * (dir == kDown) - 2 * (dir == kUp));
  expectDoors(false);
}

TEST(Monsters, DoorsOpenOnReleaseAndCloseAfterTwoSteps) {
  for (uint64_t seed : {1u, 2u, 3u, 4u}) {
    plat::SeedRandom(seed);
    CheckDoors(0); // house type 1
    CheckDoors(1); // house type 2
  }
}

TEST(Monsters, StandStillUnlessPlaying) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  Monster &m = p->play.monsters[0];
  m.active = 1;
  const double offset = m.offset;
  AdvanceMonsters(p->stage, false); // paused
  p->play.caughtFreeze = true;
  AdvanceMonsters(p->stage, true);
  p->play.caughtFreeze = false;
  p->play.playActive = false;
  AdvanceMonsters(p->stage, true);
  EXPECT_EQ(m.offset, offset);
  p->play.playActive = true;
  AdvanceMonsters(p->stage, true);
  EXPECT_EQ(m.offset, offset + m.speed);
}

// A title monster at (x, y) that has just finished a step in `direction`,
// on a menu maze of the given rows; returns how often each way was taken.
std::map<int, int> Choices(const std::vector<std::string> &rows, int x, int y,
                           int direction, int trials) {
  auto p = Parts();
  AddMaze(p->maps, "M0", rows);
  std::map<int, int> taken;
  plat::SeedRandom(99);
  for (int i = 0; i < trials; ++i) {
    CreateTitleMonsters(p->stage);
    p->play.monsters.resize(1);
    Monster &m = p->play.monsters[0];
    m.active = 1;
    m.tileX = x;
    m.tileY = y;
    m.direction = static_cast<int8_t>(direction);
    MonsterDecisions(p->stage);
    ++taken[m.direction];
  }
  return taken;
}

TEST(Monsters, ChoicesAtCorridorJunctionCrossroadsAndDeadEnd) {
  const std::vector<std::string> rows = {
      "#########", //
      "#   #####", // corridor (1..3, 1), a dead end at (3, 1)
      "#### ####", //
      "#       #", // crossroads at (4, 3), T-junction at (6, 3)
      "#### #  #", //
      "#########", //
  };
  // A corridor: one way, straight on.
  EXPECT_EQ(Choices(rows, 2, 1, kRight, 50),
            (std::map<int, int>{{kRight, 50}}));
  // A dead end: back the way it came.
  EXPECT_EQ(Choices(rows, 3, 1, kRight, 50), (std::map<int, int>{{kLeft, 50}}));
  // A T-junction going right: up is a wall, right and down are free.
  const auto t = Choices(rows, 6, 3, kRight, 3000);
  EXPECT_EQ(t.size(), 2u); // right and down, each about half
  EXPECT_NEAR(t.at(kRight), 1500, 120);
  EXPECT_NEAR(t.at(kDown), 1500, 120);
  // A crossroads going up: left, right and up, each about a third; never
  // the way back.
  const auto c = Choices(rows, 4, 3, kUp, 3000);
  EXPECT_EQ(c.count(kDown), 0u);
  EXPECT_NEAR(c.at(kLeft), 1000, 100);
  EXPECT_NEAR(c.at(kRight), 1000, 100);
  EXPECT_NEAR(c.at(kUp), 1000, 100);
}

TEST(Monsters, TitleMonstersComeOutEvery50Frames) {
  auto p = Parts();
  CreateTitleMonsters(p->stage);
  ASSERT_EQ(p->play.monsters.size(), 50u);
  for (const Monster &m : p->play.monsters) {
    EXPECT_EQ(m.tileX, 1);
    EXPECT_EQ(m.tileY, 1);
    EXPECT_TRUE(m.direction == kUp || m.direction == kRight);
    EXPECT_GE(m.kind, 1);
    EXPECT_LE(m.kind, 6);
  }
  int released = 0;
  for (int frame = 1; frame <= 50 * 50 + 200; ++frame) {
    TitleMonsterRelease(p->stage);
    if (p->play.titleReleased != released) {
      ++released;
      EXPECT_EQ(frame, released * 50);
    }
  }
  EXPECT_EQ(released, 50);
}

TEST(Monsters, CatchOnFirstOverlapOnlyAndNeverWhileWaiting) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  Player &pl = p->play.player;
  pl.screenX = 500;
  pl.screenY = 300;
  for (Monster &m : p->play.monsters) {
    m.screenX = 500;
    m.screenY = 300;
  }
  CatchTest(p->stage); // all still in the house
  EXPECT_FALSE(p->play.caughtFreeze);
  p->play.monsters[3].active = 1;
  p->play.monsters[4].active = 1;
  p->play.monsters[4].screenX = 700; // apart
  CatchTest(p->stage);
  EXPECT_TRUE(p->play.caughtFreeze);
  const ScreenGeometry &g = p->display.geometry;
  EXPECT_EQ(p->play.impactX, g.playOriginX + pl.tileX * 48 - 24);
  EXPECT_EQ(p->play.impactY, g.playOriginY + pl.tileY * 48 - 24);
  EXPECT_EQ(p->sound.requests,
            (std::vector<SoundRequest>{{SoundAsk::StopMusic, num::kLevelMusic},
                                       {SoundAsk::Effect, num::kLaugh}}));
  CatchTest(p->stage); // frozen: no second catch
  EXPECT_EQ(p->sound.requests.size(), 2u);
}

TEST(Sequences, VictoryAndCaughtLengths) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  auto run = [&](auto frame, Outcome want) {
    int frames = 0;
    while (frames < 1000) {
      ++frames;
      if (frame() == want)
        break;
    }
    return frames;
  };
  p->play.collected = p->play.levels[0].pickupTotal;
  // The very first advance waits one frame more; then 2 frames a picture,
  // the hold, and the frame that opens the dialog.
  EXPECT_EQ(run([&] { return CompletionTest(p->stage); }, Outcome::LevelWon),
            67 + 60 + 1);
  EXPECT_FALSE(p->play.playActive);
  EXPECT_EQ(p->sound.requests,
            (std::vector<SoundRequest>{
                {SoundAsk::StopMusic, num::kLevelMusic},
                {SoundAsk::Effect, num::kSting}})); // on the first frame only
  EXPECT_EQ(run([&] { return CompletionTest(p->stage); }, Outcome::LevelWon),
            66 + 60 + 1);

  p->play.caughtFreeze = true;
  EXPECT_EQ(run([&] { return CaughtFrame(p->stage); }, Outcome::Caught),
            67 + 100 + 1);
  EXPECT_EQ(p->play.impactClip, 1344); // the last impact frame stays
  EXPECT_EQ(run([&] { return CaughtFrame(p->stage); }, Outcome::Caught),
            66 + 100 + 1);
}

TEST(Sequences, MonstersFadeAndTheFinaleDims) {
  auto p = Parts();
  StartOnOpenMaze(*p, 0);
  for (int i = 0; i < 85; ++i)
    LevelCompleteFrame(p->stage);
  for (const Monster &m : p->play.monsters)
    EXPECT_EQ(m.opacity, 0);
  FinaleReset(p->stage);
  int frames = 0;
  while (p->play.congratsIndex < 28) {
    FinaleFrame(p->stage);
    ++frames;
  }
  EXPECT_EQ(frames, 56);
  EXPECT_EQ(p->play.finaleDimming, 3 + 28 * 9);
  while (p->play.finaleIndex < 40) {
    FinaleFrame(p->stage);
    ++frames;
  }
  EXPECT_EQ(frames, 56 + 80);
  EXPECT_EQ(p->play.finaleDimming, 255);
}

// A fixed seed's wandering over a level, pinned: a change in the order of
// the random draws cannot pass unnoticed.
TEST(Monsters, GoldenWanderingOfASeed) {
  auto p = Parts();
  std::vector<std::string> rows = OpenLevel();
  for (int x = 4; x < 39; x += 6)
    for (int y = 3; y < 22; ++y)
      if (y % 7 != 0 && !(x >= 18 && x <= 24 && y >= 9 && y <= 15))
        rows[y][x] = '#';
  AddMaze(p->maps, "20", rows);
  plat::SeedRandom(2026);
  LevelSetup(p->stage, 19, false);
  p->play.playActive = true;
  for (int frame = 0; frame < 3000; ++frame) {
    AdvanceMonsters(p->stage, true);
    MonsterDecisions(p->stage);
    MonsterAnimation(p->stage);
    MonsterRelease(p->stage);
  }
  std::ostringstream out;
  for (const Monster &m : p->play.monsters)
    out << m.kind << ":" << m.tileX << "," << m.tileY << "," << int(m.direction)
        << " ";
  EXPECT_EQ(out.str(),
            "5:9,5,1 1:15,7,1 5:27,4,4 6:20,15,4 4:23,11,3 1:11,19,4 3:36,5,2 "
            "2:21,6,4 2:20,14,3 2:19,17,2 3:9,8,3 5:26,11,2 3:20,16,1 ");
}

} // namespace
