// replay.h — scripted input for tests and benchmarks: a replay file feeds
// the keyboard, the gamepad and the window's close; a recording writes a
// run's input in the same format so that it replays identically.
//
// Format: UTF-8 text, one event per line, "#" starts a comment. F is the
// main-loop pass (from 0), seen by that pass's input:
//   seed N                      (first event only)
//   F down KEY | F up KEY       (Esc F1 W A S D N M Return KeypadEnter
//                                Space Delete Up Down Left Right)
//   F pad connect | F pad disconnect
//   F pad axis STICK X Y        (STICK 0..2, X and Y -1000..1000)
//   F pad down B | F pad up B   (B from 1)
//   F quit
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/run_log.h"

struct Game;

enum class ReplayKind {
  KeyDown,
  KeyUp,
  PadConnect,
  PadDisconnect,
  PadAxis,
  PadDown,
  PadUp,
  Quit
};

struct ReplayEvent {
  uint64_t pass = 0;
  ReplayKind kind = ReplayKind::Quit;
  int key = 0;   // scan code for key events
  int value = 0; // stick or button
  int x = 0, y = 0;
};

struct Replay {
  bool active = false;
  bool hasSeed = false;
  uint64_t seed = 0;
  std::vector<ReplayEvent> events; // in file order, passes non-decreasing
  size_t next = 0;

  std::unique_ptr<std::FILE, FileCloser> record; // when asked for
  std::vector<uint8_t> keysDown; // last recorded state, by scan code
  bool padConnected = false;
  int padAxes[3][2] = {};
  std::vector<uint8_t> padButtons;
};

// Parses a replay. On a malformed line returns false with "FILE:LINE: why"
// in error.
bool ParseReplay(const std::string &text, const std::string &fileName,
                 Replay &out, std::string &error);
// The name a scan code has in replay files, or "" for other codes.
std::string ReplayKeyName(int scanCode);

// Reads WARRENFOLD_REPLAY and WARRENFOLD_RECORD. False (with the error
// already written to standard error) when the replay cannot be used.
bool SetUpReplay(Game &game);
// Feeds this pass's events to the platform's scripted input.
void ApplyReplayPass(Game &game);
// Writes what changed in this pass's input to the recording.
void RecordKeyboard(Game &game);
void RecordGamepad(Game &game);
void RecordQuit(Game &game);
void CloseRecording(Game &game);
