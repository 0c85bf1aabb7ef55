// monsters.cpp — level and title monsters: creation, release from the
// house, stepping, the choice of a way at every tile, animation, the doors
// and the catch.
#include <array>

#include "assets/numbers.h"
#include "game/actors.h"
#include "game/gameplay.h"
#include "maps/maze.h"
#include "platform/random.h"

namespace {

constexpr const char *kMenuMap = "M0";
constexpr int kTitleReleaseInterval = 50;

int MonsterImage(int kind, int direction) {
  switch (direction) {
  case kLeft:
    return num::MonsterLeft(kind);
  case kRight:
    return num::MonsterRight(kind);
  case kUp:
    return num::MonsterUp(kind);
  default:
    return num::MonsterDown(kind);
  }
}

const std::string &MonsterMap(const Stage &stage) {
  static const std::string menu = kMenuMap;
  return stage.play.titleMonsters ? menu : stage.play.currentMap;
}

// Level monsters move, choose and animate only while play runs.
bool LevelRunning(const Play &play) {
  return play.playActive && !play.caughtFreeze;
}

Monster NewMonster(const Stage &stage, int tileX, int tileY, int direction) {
  Monster m;
  m.tileX = tileX;
  m.tileY = tileY;
  m.direction = static_cast<int8_t>(direction);
  m.offset = stage.play.player.speed;
  m.speed = stage.play.player.speed;
  m.active = 0;
  m.stepsSinceRelease = 0;
  m.opacity = 255;
  m.kind = plat::RandomRange(1, 6);
  m.image = MonsterImage(m.kind, direction);
  m.frameX = 0;
  m.frameDelay = 0;
  return m;
}

void SetDoor(Stage &stage, const maze::HouseDoor &door, int value) {
  SetTile(stage.maps, stage.play.currentMap, maze::kWallLayer, door.x, door.y,
          value);
}

bool Sideways(int direction) {
  return direction == kLeft || direction == kRight;
}

// The door a released monster leaves through is opened: the one it faces.
void OpenDoor(Stage &stage, const Monster &m, int houseType) {
  const maze::House house = maze::HouseOf(houseType);
  const maze::HouseDoor &door =
      m.direction == house.doors[1].exit ? house.doors[1] : house.doors[0];
  SetDoor(stage, door, door.open);
}

// After the leaving monster's second step, the doors close: both, when it
// left along the house's doors.
void CloseDoors(Stage &stage, const Monster &m, int houseType) {
  const maze::House house = maze::HouseOf(houseType);
  if (Sideways(m.direction) != Sideways(house.doors[0].exit))
    return;
  SetDoor(stage, house.doors[1], house.doors[1].closed);
  SetDoor(stage, house.doors[0], house.doors[0].closed);
}

Monster *FirstWaiting(Play &play) {
  for (Monster &m : play.monsters)
    if (m.active == 0)
      return &m;
  return nullptr;
}

void ScreenPosition(const Stage &stage, const Monster &m, int &x, int &y) {
  const int t = actors::TileSize(stage);
  x = actors::ScreenX(stage.mapView.offsetX, m.tileX, t, m.direction, m.offset);
  y = actors::ScreenY(stage.mapView.offsetY, m.tileY, t, m.direction, m.offset);
}

} // namespace

void CreateLevelMonsters(Stage &stage) {
  Play &play = stage.play;
  play.monsters.clear();
  play.titleMonsters = false;
  if (play.current < 0 || play.current >= static_cast<int>(play.levels.size()))
    return;
  const LevelRecord &level = play.levels[play.current];
  for (int i = 0; i < level.monsterCount; ++i) {
    const maze::WaitingTile tile =
        maze::WaitingTileOf(level.houseType, plat::Random(1) == 0);
    play.monsters.push_back(NewMonster(stage, tile.x, tile.y, tile.facing));
  }
}

void CreateTitleMonsters(Stage &stage) {
  Play &play = stage.play;
  play.monsters.clear();
  play.titleMonsters = true;
  for (int i = 0; i < kTitleMonsterCount; ++i) {
    const int direction = maze::kMenuFirstSteps[plat::Random(1)];
    play.monsters.push_back(
        NewMonster(stage, maze::kMenuStartX, maze::kMenuStartY, direction));
  }
  play.titleReleased = 0;
  play.releaseCounter = 0;
}

void SetMonsterSpeeds(Stage &stage) {
  for (Monster &m : stage.play.monsters) {
    m.speed = stage.play.player.speed;
    m.offset = stage.play.player.speed;
  }
}

void DrawMonsters(const Stage &stage) {
  for (const Monster &m : stage.play.monsters) {
    if (m.active != 1)
      continue;
    int x = 0, y = 0;
    ScreenPosition(stage, m, x, y);
    actors::DrawStripFrame(m.image, m.frameX, x, y, m.opacity);
  }
}

void AdvanceMonsters(Stage &stage, bool playing) {
  Play &play = stage.play;
  const bool moving = play.titleMonsters || (playing && LevelRunning(play));
  const double tile = static_cast<double>(actors::TileSize(stage));
  const int houseType =
      play.current >= 0 && play.current < static_cast<int>(play.levels.size())
          ? play.levels[play.current].houseType
          : 1;
  for (Monster &m : play.monsters) {
    if (m.active != 1)
      continue;
    // Where it was drawn this frame: the catch test looks there.
    ScreenPosition(stage, m, m.screenX, m.screenY);
    if (!moving)
      continue;
    if (m.offset != tile) {
      m.offset += m.speed;
      continue;
    }
    m.tileX += maze::Dx(m.direction);
    m.tileY += maze::Dy(m.direction);
    m.offset = m.speed;
    if (play.titleMonsters || m.stepsSinceRelease >= 2)
      continue;
    if (++m.stepsSinceRelease == 2) {
      CloseDoors(stage, m, houseType);
      m.stepsSinceRelease = 3;
    }
  }
}

void MonsterDecisions(Stage &stage) {
  Play &play = stage.play;
  if (!play.titleMonsters && !LevelRunning(play))
    return;
  const std::string &map = MonsterMap(stage);
  for (Monster &m : play.monsters) {
    if (m.active != 1 || m.offset != m.speed)
      continue;
    // The free ways among those a monster tests after a step.
    std::array<int, 3> candidates{};
    int n = 0;
    for (int d : maze::Choices(m.direction))
      if (IsTileEmpty(stage.maps, map, maze::kWallLayer, m.tileX + maze::Dx(d),
                      m.tileY + maze::Dy(d)) != 0)
        candidates[n++] = d;
    // A dead end leaves only the way back.
    const int chosen = n == 0 ? maze::Opposite(m.direction)
                              : candidates[plat::RandomRange(1, n) - 1];
    m.direction = static_cast<int8_t>(chosen);
    m.image = MonsterImage(m.kind, chosen);
  }
}

void MonsterAnimation(Stage &stage) {
  Play &play = stage.play;
  if (!play.titleMonsters && !LevelRunning(play))
    return;
  for (Monster &m : play.monsters) {
    if (m.active != 1)
      continue;
    if (m.frameDelay == 0) {
      m.frameX = actors::NextFrame(m.frameX);
      m.frameDelay = 4;
    } else {
      --m.frameDelay;
    }
  }
}

void MonsterRelease(Stage &stage) {
  Play &play = stage.play;
  if (play.titleMonsters || play.caughtFreeze || play.current < 0 ||
      play.current >= static_cast<int>(play.levels.size()))
    return;
  LevelRecord &level = play.levels[play.current];
  if (level.releasedCount == level.monsterCount)
    return;
  ++play.releaseCounter;
  Monster *m = FirstWaiting(play);
  if (play.releaseCounter != level.releaseInterval || m == nullptr)
    return;
  m->active = 1;
  ++level.releasedCount;
  play.releaseCounter = 0;
  OpenDoor(stage, *m, level.houseType);
}

void TitleMonsterRelease(Stage &stage) {
  Play &play = stage.play;
  if (!play.titleMonsters || play.titleReleased >= kTitleMonsterCount)
    return;
  ++play.releaseCounter;
  Monster *m = FirstWaiting(play);
  if (play.releaseCounter != kTitleReleaseInterval || m == nullptr)
    return;
  m->active = 1;
  ++play.titleReleased;
  play.releaseCounter = 0;
}

void CatchTest(Stage &stage) {
  Play &play = stage.play;
  if (play.caughtFreeze || play.titleMonsters)
    return;
  const Player &p = play.player;
  for (const Monster &m : play.monsters) {
    if (m.active != 1)
      continue;
    if (!actors::Collide(stage, p.image, p.screenX, p.screenY, m.image,
                         m.screenX, m.screenY))
      continue;
    play.caughtFreeze = true;
    const ScreenGeometry &g = stage.display.geometry;
    const int t = g.tileSize;
    play.impactX = g.playOriginX + p.tileX * t - t / 2;
    play.impactY = g.playOriginY + p.tileY * t - t / 2;
    if (MusicOn(stage.settings))
      StopMusic(stage.sound, num::kLevelMusic);
    if (EffectsOn(stage.settings))
      PlayEffect(stage.sound, num::kLaugh);
    return;
  }
}
