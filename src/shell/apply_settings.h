// apply_settings.h — carrying out a confirmed settings screen, reopening
// the screen when its mode or window size changed.
#pragma once

struct Game;

void ApplySettings(Game &game);
// The set-up that depends on the open screen: cards laid out and marked for
// rendering, speeds, sprites scaled to the tile size, map layout, frame
// rate, filter, the window shown. Runs before the first frame and after
// every reopening.
void SetUpScreen(Game &game);
// The maps and the screen's pictures, after the screen was opened again.
void ReloadScreenAssets(Game &game);
