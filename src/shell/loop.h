// loop.h — the main loop: one pass per frame at 60 frames per second
// through the fifteen screen states. A pass: window events, present, draw,
// move what was drawn, the state's logic, then the frame's input.
#pragma once

struct Game;

// The set-up before the first frame: cards, title monsters, scaling, map
// layout, frame rate, the window shown, the menu music.
void PrepareFirstFrame(Game &game);
// One pass. Returns false once the quit flag ends the loop (preferences
// and scores are saved).
bool RunFrame(Game &game);
// Runs passes until the game quits.
void RunLoop(Game &game);

// Parts of a pass. HandleWindowEvents takes the window's events: a close
// quits; minimised or switched away from, the music pauses (and a
// borderless window minimises itself); back, it resumes.
void HandleWindowEvents(Game &game);
// DrawState only draws (rendering stale cards first);
// MoveActors moves on the actors it drew; StateLogic runs the logic of the
// state the pass began in.
void DrawState(Game &game);
void MoveActors(Game &game);
// What is drawn after the moves: the pickup effects.
void DrawLate(Game &game);
void StateLogic(Game &game);
