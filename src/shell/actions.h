// actions.h — the actions that keys, the gamepad and the level's sequences
// lead to: moving selections, changing settings, confirming, going back,
// music on and off, entering and leaving levels and the finale.
#pragma once

struct Game;

void MoveSelection(Game &game, int delta); // +1 down, -1 up
void ChangeSetting(Game &game, int delta); // -1 left, +1 right
void Confirm(Game &game);
void Back(Game &game);
void ToggleMusic(Game &game);
void PauseGame(Game &game);
// Whether Esc or the pad's button may pause: only while the level plays.
bool CanPause(const Game &game);
// Deletes the progress of the highlighted level-select slot.
void ResetSlot(Game &game);

// Leaving and entering levels (transitions.cpp).
void StartLevel(Game &game, int levelIndex);
void ReturnToMenu(Game &game);
void AbandonLevel(Game &game);
void StartFinale(Game &game);
void LeaveFinale(Game &game);

// Saves the current frame as "Warrenfold DD-MM-YYYY HH-II-SS.bmp" in the
// save folder (screenshot.cpp).
void TakeScreenshot(Game &game);
