// entries.h — the writers of each family of entries.
#pragma once

#include "catalogue.h"

namespace art {

struct Aspect {
  const char *suffix; // "16x9"
  int width, height;
};
extern const Aspect kAspects[6];

void WriteTitle(Sink &sink, const Aspect &aspect);
void WriteStudio(Sink &sink, const Aspect &aspect);
void WriteLogo(Sink &sink);
void WritePlayer(Sink &sink);
void WriteMonster(Sink &sink, int kind);
void WriteItems(Sink &sink);  // item_dot, item_cherry
void WritePanel(Sink &sink);  // star, cherrybar, cherrybarscore, shadow
void WriteImpact(Sink &sink); // fx
void WriteCountdown(Sink &sink);
void WriteCaught(Sink &sink);
void WriteVictory(Sink &sink);
void WriteCongrats(Sink &sink);
void WriteFinished(Sink &sink);

} // namespace art
