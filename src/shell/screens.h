// screens.h — every screen state's behaviour in one table: how it is drawn,
// what moves and what its logic does each pass, what the keys and the
// gamepad do there, and which music belongs to it. The loop and the input
// handling look the state up here and never ask which state it is.
#pragma once

#include "shell/loop_state.h"

struct Game;

// Where a state belongs.
enum class ScreenGroup {
  Opening, // the studio logo and the title
  Menu,    // over the menu maze and its wandering monsters
  Level,   // over a level
};

// How a held stick moves a dialog's selection.
enum class StickMoves {
  Never,
  Repeating,  // when the shared repeat counter allows
  EveryFrame, // the two-entry dialogs, where a repeated move changes nothing
};

using ScreenAction = void (*)(Game &game);
using ScreenStep = void (*)(Game &game, int delta);

constexpr int kNoMusic = -1;

// A handler left empty means the state does nothing there.
struct Screen {
  ScreenGroup group = ScreenGroup::Opening;
  int music = kNoMusic;            // the track M stops and starts here
  ScreenAction draw = nullptr;     // the frame; never moves anything
  ScreenAction advance = nullptr;  // moves on what was drawn
  ScreenAction drawOver = nullptr; // drawn after the moves
  ScreenAction logic = nullptr;    // the state's logic for the pass
  ScreenAction confirm = nullptr;  // Return, keypad Enter, the pad's button
  ScreenAction back = nullptr;     // Esc
  ScreenStep move = nullptr;       // Up (-1) / Down (+1): a dialog's selection
  StickMoves stick = StickMoves::Never;
  ScreenStep change = nullptr;  // Left (-1) / Right (+1): the selected value
  ScreenAction erase = nullptr; // Delete
  bool walks = false;           // movement keys and the stick step the player,
                                // and the pad's button pauses
  bool effectsKey = true;       // N switches the sound effects
  bool spaceConfirms = false;
};

const Screen &ScreenOf(ScreenState state);
