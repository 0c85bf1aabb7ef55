// actions.h — what keys, the gamepad and the level's sequences lead to:
// the current screen's confirm, back and selection moves (screens.h),
// music on and off, the pause, entering and leaving levels and the finale.
#pragma once

struct Game;

// The current screen's handlers; nothing where it has none.
void MoveSelection(Game &game, int delta); // +1 down, -1 up
void Confirm(Game &game);
void Back(Game &game);

// The settings screen: Left (-1) and Right (+1) change the selected row's
// value (screens_settings.cpp); Settings on the main menu opens it.
void ChangeSetting(Game &game, int delta);
void OpenSettings(Game &game);

// M: the music of the current screen's group off, or on again.
void ToggleMusic(Game &game);
void PauseGame(Game &game);
// Whether Esc or the pad's button may pause: only while the level plays.
bool CanPause(const Game &game);

// Leaving and entering levels (transitions.cpp). fromMenu: chosen on the
// level-select screen, where the menu track still plays.
void StartLevel(Game &game, int levelIndex, bool fromMenu);
void ReturnToMenu(Game &game);
void AbandonLevel(Game &game);
void StartFinale(Game &game);
void LeaveFinale(Game &game);

// Saves the current frame as "Warrenfold DD-MM-YYYY HH-II-SS.bmp" in the
// save folder (screenshot.cpp).
void TakeScreenshot(Game &game);
