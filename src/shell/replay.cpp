// replay.cpp — reading, applying and recording input scripts.
#include "shell/replay.h"

#include <cstdlib>
#include <sstream>

#include "platform/files.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/scripted_input.h"
#include "shell/game.h"

namespace {

struct KeyName {
  const char *name;
  plat::Key key;
};

const KeyName kKeys[] = {
    {"Esc", plat::Key::Esc},       {"F1", plat::Key::F1},
    {"W", plat::Key::W},           {"A", plat::Key::A},
    {"S", plat::Key::S},           {"D", plat::Key::D},
    {"N", plat::Key::N},           {"M", plat::Key::M},
    {"Return", plat::Key::Return}, {"KeypadEnter", plat::Key::KeypadEnter},
    {"Space", plat::Key::Space},   {"Delete", plat::Key::Delete},
    {"Up", plat::Key::Up},         {"Down", plat::Key::Down},
    {"Left", plat::Key::Left},     {"Right", plat::Key::Right},
};

constexpr int kPadButtons = 15;

bool ParseNumber(const std::string &word, long long lo, long long hi,
                 long long &out) {
  if (word.empty())
    return false;
  size_t i = word[0] == '-' ? 1 : 0;
  if (i == word.size() || word.size() > 20)
    return false;
  for (size_t k = i; k < word.size(); ++k)
    if (word[k] < '0' || word[k] > '9')
      return false;
  errno = 0;
  out = std::strtoll(word.c_str(), nullptr, 10);
  return errno == 0 && out >= lo && out <= hi;
}

bool KeyFromName(const std::string &name, int &code) {
  for (const KeyName &k : kKeys)
    if (name == k.name) {
      code = static_cast<int>(k.key);
      return true;
    }
  return false;
}

void Emit(Game &game, const std::string &line) {
  if (!game.replay.record)
    return;
  std::fprintf(game.replay.record.get(), "%llu %s\n",
               static_cast<unsigned long long>(game.loop.pass), line.c_str());
}

} // namespace

std::string ReplayKeyName(int scanCode) {
  for (const KeyName &k : kKeys)
    if (static_cast<int>(k.key) == scanCode)
      return k.name;
  return "";
}

bool ParseReplay(const std::string &text, const std::string &fileName,
                 Replay &out, std::string &error) {
  out.events.clear();
  out.hasSeed = false;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  uint64_t lastPass = 0;
  bool sawEvent = false;
  auto fail = [&](const std::string &why) {
    error = fileName + ":" + std::to_string(lineNo) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (const size_t hash = line.find('#'); hash != std::string::npos)
      line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;)
      w.push_back(word);
    if (w.empty())
      continue;
    long long n = 0;
    if (w[0] == "seed") {
      if (sawEvent)
        return fail("\"seed\" must be the first event");
      if (w.size() != 2 || !ParseNumber(w[1], 0, INT64_MAX, n))
        return fail("expected \"seed N\"");
      out.hasSeed = true;
      out.seed = static_cast<uint64_t>(n);
      sawEvent = true;
      continue;
    }
    sawEvent = true;
    if (!ParseNumber(w[0], 0, INT64_MAX, n))
      return fail("expected a pass number");
    ReplayEvent e;
    e.pass = static_cast<uint64_t>(n);
    if (e.pass < lastPass)
      return fail("pass numbers must not go back");
    lastPass = e.pass;
    if (w.size() == 3 && (w[1] == "down" || w[1] == "up")) {
      if (!KeyFromName(w[2], e.key))
        return fail("unknown key \"" + w[2] + "\"");
      e.kind = w[1] == "down" ? ReplayKind::KeyDown : ReplayKind::KeyUp;
    } else if (w.size() == 2 && w[1] == "quit") {
      e.kind = ReplayKind::Quit;
    } else if (w.size() >= 3 && w[1] == "pad") {
      if (w.size() == 3 && w[2] == "connect") {
        e.kind = ReplayKind::PadConnect;
      } else if (w.size() == 3 && w[2] == "disconnect") {
        e.kind = ReplayKind::PadDisconnect;
      } else if (w.size() == 6 && w[2] == "axis") {
        long long s = 0, x = 0, y = 0;
        if (!ParseNumber(w[3], 0, 2, s) || !ParseNumber(w[4], -1000, 1000, x) ||
            !ParseNumber(w[5], -1000, 1000, y))
          return fail("expected \"pad axis STICK X Y\"");
        e.kind = ReplayKind::PadAxis;
        e.value = static_cast<int>(s);
        e.x = static_cast<int>(x);
        e.y = static_cast<int>(y);
      } else if (w.size() == 4 && (w[2] == "down" || w[2] == "up")) {
        long long b = 0;
        if (!ParseNumber(w[3], 1, kPadButtons, b))
          return fail("expected a button from 1 to " +
                      std::to_string(kPadButtons));
        e.kind = w[2] == "down" ? ReplayKind::PadDown : ReplayKind::PadUp;
        e.value = static_cast<int>(b);
      } else {
        return fail("unknown pad event");
      }
    } else {
      return fail("unknown event");
    }
    out.events.push_back(e);
  }
  return true;
}

bool SetUpReplay(Game &game) {
  Replay &r = game.replay;
  if (const char *path = std::getenv("WARRENFOLD_REPLAY"); path && *path) {
    std::vector<uint8_t> bytes;
    if (!plat::ReadFile(path, bytes)) {
      std::fprintf(stderr, "%s: cannot read the replay file\n", path);
      return false;
    }
    std::string error;
    if (!ParseReplay(std::string(bytes.begin(), bytes.end()), path, r, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return false;
    }
    r.active = true;
    r.next = 0;
    plat::ScriptedInput(true);
    if (r.hasSeed)
      plat::SeedRandom(r.seed);
  }
  if (const char *path = std::getenv("WARRENFOLD_RECORD"); path && *path) {
    r.record.reset(std::fopen(path, "wb"));
    if (!r.record) {
      std::fprintf(stderr, "%s: cannot create the recording\n", path);
      return false;
    }
    std::fprintf(r.record.get(), "# Warrenfold input recording\nseed %llu\n",
                 static_cast<unsigned long long>(plat::RandomSeedInUse()));
    r.keysDown.assign(256, 0);
    r.padButtons.assign(kPadButtons + 1, 0);
  }
  return true;
}

void ApplyReplayPass(Game &game) {
  Replay &r = game.replay;
  if (!r.active)
    return;
  while (r.next < r.events.size() && r.events[r.next].pass <= game.loop.pass) {
    const ReplayEvent &e = r.events[r.next++];
    switch (e.kind) {
    case ReplayKind::KeyDown:
    case ReplayKind::KeyUp:
      plat::InjectKey(static_cast<plat::Key>(e.key),
                      e.kind == ReplayKind::KeyDown);
      break;
    case ReplayKind::PadConnect:
    case ReplayKind::PadDisconnect:
      plat::InjectPadConnected(e.kind == ReplayKind::PadConnect);
      break;
    case ReplayKind::PadAxis:
      plat::InjectPadAxis(e.value, e.x, e.y);
      break;
    case ReplayKind::PadDown:
    case ReplayKind::PadUp:
      plat::InjectPadButton(e.value, e.kind == ReplayKind::PadDown);
      break;
    case ReplayKind::Quit:
      plat::InjectQuit();
      break;
    }
  }
}

void RecordKeyboard(Game &game) {
  Replay &r = game.replay;
  if (!r.record)
    return;
  for (const KeyName &k : kKeys) {
    const uint8_t down = plat::RawKeyDown(k.key) ? 1 : 0;
    uint8_t &was = r.keysDown[static_cast<int>(k.key)];
    if (down != was) {
      Emit(game, std::string(down ? "down " : "up ") + k.name);
      was = down;
    }
  }
}

void RecordGamepad(Game &game) {
  Replay &r = game.replay;
  if (!r.record)
    return;
  const bool connected = plat::FindGamepads() > 0;
  if (connected != r.padConnected) {
    Emit(game, connected ? "pad connect" : "pad disconnect");
    r.padConnected = connected;
  }
  const int pad = game.settings.gamepad;
  if (!connected || !plat::GamepadSnapshot(pad))
    return;
  for (int stick = 0; stick < 3; ++stick) {
    const int x = plat::GamepadAxisX(pad, stick) * 1000;
    const int y = plat::GamepadAxisY(pad, stick) * 1000;
    if (x != r.padAxes[stick][0] || y != r.padAxes[stick][1]) {
      Emit(game, "pad axis " + std::to_string(stick) + " " + std::to_string(x) +
                     " " + std::to_string(y));
      r.padAxes[stick][0] = x;
      r.padAxes[stick][1] = y;
    }
  }
  for (int b = 1; b <= kPadButtons; ++b) {
    const uint8_t down = plat::GamepadButton(pad, b) ? 1 : 0;
    if (down != r.padButtons[b]) {
      Emit(game,
           std::string(down ? "pad down " : "pad up ") + std::to_string(b));
      r.padButtons[b] = down;
    }
  }
}

void RecordQuit(Game &game) { Emit(game, "quit"); }

void CloseRecording(Game &game) { game.replay.record.reset(); }
