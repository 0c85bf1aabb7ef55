// startup.h — the program from start to end: the start-up steps in their
// fixed order, the main loop, and the orderly exit.
#pragma once

#include <string>
#include <vector>

struct Game;

// Steps up to the main loop. Throws FatalExit through ShowFatalError.
void StartUp(Game &game, const std::vector<std::string> &args);
// The whole run; returns the process exit status (0 after an orderly
// exit, 1 after a fatal error, 2 for an unusable replay).
int RunGame(int argc, char **argv);
