// monsters.cpp — level and title monsters. The wandering itself arrives
// with the gameplay; these keep the loop's calls in place.
#include "game/gameplay.h"

void CreateTitleMonsters(Stage &stage) {
  stage.play.monsters.clear();
  stage.play.titleReleased = 0;
  stage.play.releaseCounter = 0;
}

void SetMonsterSpeeds(Stage &stage) {
  for (Monster &m : stage.play.monsters) {
    m.speed = stage.play.player.speed;
    m.offset = stage.play.player.speed;
  }
}

void DrawMonsters(const Stage &) {}
void AdvanceMonsters(Stage &) {}
void MonsterDecisions(Stage &) {}
void MonsterAnimation(Stage &) {}
void MonsterRelease(Stage &) {}
void TitleMonsterRelease(Stage &) {}
void CatchTest(Stage &) {}
