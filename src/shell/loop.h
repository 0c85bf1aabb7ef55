// loop.h — the main loop: one pass per frame at 60 frames per second
// through the fifteen screen states, and the actions its keys lead to.
#pragma once

struct Game;

// The set-up before the first frame: cards, title monsters, scaling, map
// layout, frame rate, the window shown, the menu music.
void PrepareFirstFrame(Game &game);
// One pass: events, present, draw, logic, keyboard, gamepad. Returns false
// once the quit flag ends the loop (preferences and scores are saved).
bool RunFrame(Game &game);
// Runs passes until the game quits.
void RunLoop(Game &game);

// Drawing and logic of the current state (parts of a pass).
void DrawState(Game &game);
void StateLogic(Game &game);

// Input handling of one pass, after the snapshots were taken.
void HandleKeyboard(Game &game);
void HandleGamepad(Game &game);

// Actions shared by keys, gamepad and sequences.
void MoveSelection(Game &game, int delta); // +1 down, -1 up
void ChangeSetting(Game &game, int delta); // -1 left, +1 right
void Confirm(Game &game);
void Back(Game &game);
void ToggleMusic(Game &game);
void ReturnToMenu(Game &game);
void AbandonLevel(Game &game);
void StartFinale(Game &game);
void LeaveFinale(Game &game);
void TakeScreenshot(Game &game);
