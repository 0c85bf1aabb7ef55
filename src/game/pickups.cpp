// pickups.cpp — pickups and the sequences that end a level. The sequences
// arrive with the gameplay; these keep the loop's calls in place.
#include "game/gameplay.h"
#include "shell/game.h"

void EffectsFrame(Game &) {}
void CaughtFrame(Game &) {}
void CompletionTest(Game &) {}
void LevelCompleteFrame(Game &) {}
void FinaleFrame(Game &) {}

void FinaleReset(Game &game) {
  Play &play = game.play;
  play.congratsDelay = 1;
  play.congratsIndex = 0;
  play.finaleDimming = 3;
  play.finaleDelay = 1;
  play.finaleIndex = 0;
}

void DrawOverlays(Game &) {}
void DrawFinale(Game &) {}
