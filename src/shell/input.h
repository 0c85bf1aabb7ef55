// input.h — what the frame's keys and gamepad do in each screen state.
// Both read only the pass's input frame (game.input).
#pragma once

struct Game;

void HandleKeyboard(Game &game);
void HandleGamepad(Game &game);
