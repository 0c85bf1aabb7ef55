// stubs.cpp — temporary
#include "entries.h"
namespace art {
void WriteTitle(Sink &, const Aspect &) {}
void WriteStudio(Sink &, const Aspect &) {}
void WriteLogo(Sink &) {}
void WriteImpact(Sink &) {}
void WriteCountdown(Sink &) {}
void WriteCaught(Sink &) {}
void WriteVictory(Sink &) {}
void WriteCongrats(Sink &) {}
void WriteFinished(Sink &) {}
} // namespace art
