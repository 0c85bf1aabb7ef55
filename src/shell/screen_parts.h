// screen_parts.h — what the screens of screens_*.cpp share: their sounds,
// moving a dialog's selection, cards and the veil, and the menu's scene
// with its wandering monsters.
#pragma once

#include "shell/loop_state.h"
#include "ui/dialogs.h"

struct Game;

void Click(Game &game);        // a selection moved, a value changed
void ConfirmSound(Game &game); // an item chosen

// Moves a dialog's 1-based selection within [1, last]; a move that
// happened clicks and marks the card for rendering. No wrap.
void MoveIn(Game &game, int &index, int delta, int last, Card card);

// The quit question with "yes" selected, beside the menu or over a level.
void OpenQuitQuestion(Game &game, ScreenState state);

void DrawCard(int sprite, const CardPlace &place);
// The full-screen dimming at an intensity of 0 to 255, over what was drawn
// since plat::BeginBackdrop.
void DrawVeil(int intensity);

// Behind every menu screen: the menu maze, its monsters, the backdrop box,
// the logo and the main menu.
void DrawMenuScene(Game &game);
// Draws the menu maze into its cache a part at a time, on the screens
// before the menu, so that the first pass over the menu need not draw it
// whole.
void PrepareMenuScene(Game &game);
// The title monsters move on, always; each pass they choose their ways
// and are let out of their corner one by one.
void AdvanceTitleMonsters(Game &game);
void TitleMonstersLogic(Game &game);
