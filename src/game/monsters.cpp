// monsters.cpp — level and title monsters. The wandering itself arrives
// with the gameplay; these keep the loop's calls in place.
#include "game/gameplay.h"
#include "shell/game.h"

void CreateTitleMonsters(Game &game) {
  game.play.monsters.clear();
  game.play.titleReleased = 0;
  game.play.releaseCounter = 0;
}

void SetMonsterSpeeds(Game &game) {
  for (Monster &m : game.play.monsters) {
    m.speed = game.play.player.speed;
    m.offset = game.play.player.speed;
  }
}

void MonsterStep(Game &) {}
void MonsterDecisions(Game &) {}
void MonsterAnimation(Game &) {}
void MonsterRelease(Game &) {}
void TitleMonsterRelease(Game &) {}
void CatchTest(Game &) {}
