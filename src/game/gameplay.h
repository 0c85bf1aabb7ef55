// gameplay.h — what the main loop asks of the level and its actors: level
// set-up and countdown, the player, the monsters (level and title), the
// pickups, the end-of-level sequences and the in-game panel.
//
// Logic and drawing are separate calls: drawing never moves an actor, so a
// frame can be run with drawing switched off.
#pragma once

#include "game/stage.h"

// Level start and the player. fromMenu: the level was chosen on the
// level-select screen (the menu track is still playing).
void LevelSetup(Stage &stage, int levelIndex, bool fromMenu);
Outcome CountdownFrame(Stage &stage);
void DrawCountdown(const Stage &stage); // player fading in, countdown frame
void StartStep(Stage &stage, int direction);
void DrawPlayer(const Stage &stage);
void AdvancePlayer(Stage &stage); // moves the current step on
void PlayerAnimation(Stage &stage);

// Monsters.
void CreateTitleMonsters(Stage &stage);
void SetMonsterSpeeds(Stage &stage); // after the screen was laid out again
void DrawMonsters(const Stage &stage);
void AdvanceMonsters(Stage &stage); // moves every active monster on
void MonsterDecisions(Stage &stage);
void MonsterAnimation(Stage &stage);
void MonsterRelease(Stage &stage);
void TitleMonsterRelease(Stage &stage);
void CatchTest(Stage &stage);

// Pickups and the sequences that end a level; each reports how the frame
// ended.
void EffectsFrame(Stage &stage);
Outcome CaughtFrame(Stage &stage);
Outcome CompletionTest(Stage &stage);
void LevelCompleteFrame(Stage &stage);
Outcome FinaleFrame(Stage &stage);
void FinaleReset(Stage &stage);
void DrawOverlays(const Stage &stage); // caught banner, impact, victory
void DrawFinale(const Stage &stage);

// In-game panel: renders the pictures whose values changed, then shows the
// band.
void DrawPanel(Stage &stage);
