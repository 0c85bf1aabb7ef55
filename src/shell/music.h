// music.h — the three music tracks, each looping on the channel the loop
// remembers.
#pragma once

struct Game;

// Starts the track looping on a channel of its own and keeps the channel.
void StartMusic(Game &game, int track);
void StopMusic(Game &game, int track);
// Pauses each music track that is playing / resumes each that is paused.
void PauseMusic(Game &game);
void ResumeMusic(Game &game);
// Plays a sound effect when sound effects are on.
void PlayEffect(Game &game, int sound, int volume = -1);
