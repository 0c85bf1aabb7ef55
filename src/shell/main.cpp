// main.cpp — the game program: start-up, main loop, orderly exit.
int main() { return 0; }
