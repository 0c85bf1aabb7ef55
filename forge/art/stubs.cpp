// stubs.cpp — temporary
#include "entries.h"
namespace art {
void WriteTitle(Sink &, const Aspect &) {}
void WriteStudio(Sink &, const Aspect &) {}
void WriteLogo(Sink &) {}
} // namespace art
