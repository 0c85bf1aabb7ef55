// main.cpp — the game program: start-up, main loop, orderly exit.
#include "shell/startup.h"

int main(int argc, char **argv) { return RunGame(argc, argv); }
