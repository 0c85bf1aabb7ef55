// gameplay.h — what the main loop asks of the level and its actors: level
// set-up and countdown, the player, the monsters (level and title), the
// pickups, the end-of-level sequences and the in-game panel.
//
// Logic and drawing are separate calls: drawing never moves an actor, so a
// frame can be run with drawing switched off. Where an actor is drawn and
// then moved within one pass, the loop calls Draw… and then Advance….
#pragma once

#include "game/stage.h"

// Level start and the player. fromMenu: the level was chosen on the
// level-select screen (the menu track is still playing).
void LevelSetup(Stage &stage, int levelIndex, bool fromMenu);
Outcome CountdownFrame(Stage &stage);
void DrawCountdown(const Stage &stage); // player fading in, countdown frame
// A held direction: starts a step when the way is free.
void StartStep(Stage &stage, int direction);
void DrawPlayer(const Stage &stage);
// Each frame of the level states from Playing on: the step goes on (and
// its pickup is taken when it ends).
void AdvancePlayer(Stage &stage);
void PlayerAnimation(Stage &stage);

// Monsters. The list holds the level's monsters or the 50 title monsters.
void CreateLevelMonsters(Stage &stage);
void CreateTitleMonsters(Stage &stage);
void SetMonsterSpeeds(Stage &stage); // after the screen was laid out again
void DrawMonsters(const Stage &stage);
// Moves the active monsters on: always behind the menus; in a level only
// while playing (playing: the screen state is Playing).
void AdvanceMonsters(Stage &stage, bool playing);
void MonsterDecisions(Stage &stage);
void MonsterAnimation(Stage &stage);
void MonsterRelease(Stage &stage);
void TitleMonsterRelease(Stage &stage);
void CatchTest(Stage &stage);

// Pickups and the sequences that end a level; each reports how the frame
// ended.
void TakePickup(Stage &stage);
void DrawEffects(const Stage &stage);
void EffectsFrame(Stage &stage);
Outcome CaughtFrame(Stage &stage);
Outcome CompletionTest(Stage &stage);
void LevelCompleteFrame(Stage &stage);
void FinaleFrame(Stage &stage);
void FinaleReset(Stage &stage);
// Every level sequence (countdown, victory, caught, impact) back at its
// first frame, also one that was cut short.
void RewindSequences(Play &play);
// The caught banner and impact, and the victory banner, when the loop's
// state shows them.
void DrawOverlays(const Stage &stage, bool caughtShown, bool victoryShown);
void DrawFinale(const Stage &stage);

// In-game panel: renders the pictures whose values changed, then shows the
// band.
void DrawPanel(Stage &stage);
