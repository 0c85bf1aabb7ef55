// gameplay.h — what the main loop asks of the level and its actors: level
// set-up and countdown, the player, the monsters (level and title), the
// pickups, the end-of-level sequences and the in-game panel.
#pragma once

struct Game;

// Level start and the player.
void LevelSetup(Game &game, int levelIndex);
void CountdownFrame(Game &game);
void DrawCountdown(Game &game); // player fading in and the countdown frame
void StartStep(Game &game, int direction);
void PlayerStep(Game &game); // draws the player and advances its step
void PlayerAnimation(Game &game);

// Monsters.
void CreateTitleMonsters(Game &game);
void SetMonsterSpeeds(Game &game); // after the screen was laid out again
void MonsterStep(Game &game);      // draws every active monster, advances it
void MonsterDecisions(Game &game);
void MonsterAnimation(Game &game);
void MonsterRelease(Game &game);
void TitleMonsterRelease(Game &game);
void CatchTest(Game &game);

// Pickups and the sequences that end a level.
void EffectsFrame(Game &game);
void CaughtFrame(Game &game);
void CompletionTest(Game &game);
void LevelCompleteFrame(Game &game);
void FinaleFrame(Game &game);
void FinaleReset(Game &game);
void DrawOverlays(Game &game); // caught banner and impact, victory banner
void DrawFinale(Game &game);

// In-game panel.
void RenderLevelLabel(Game &game);
void RenderPickupCounter(Game &game);
void RenderCherryCounter(Game &game);
void DrawPanel(Game &game);
