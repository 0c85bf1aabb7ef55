// pickups.cpp — pickups and the sequences that end a level. The sequences
// arrive with the gameplay; these keep the loop's calls in place.
#include "game/gameplay.h"

void EffectsFrame(Stage &) {}
Outcome CaughtFrame(Stage &) { return Outcome::None; }
Outcome CompletionTest(Stage &) { return Outcome::None; }
void LevelCompleteFrame(Stage &) {}
Outcome FinaleFrame(Stage &) { return Outcome::None; }

void FinaleReset(Stage &stage) {
  Play &play = stage.play;
  play.congratsDelay = 1;
  play.congratsIndex = 0;
  play.finaleDimming = 3;
  play.finaleDelay = 1;
  play.finaleIndex = 0;
}

void DrawOverlays(const Stage &) {}
void DrawFinale(const Stage &) {}
