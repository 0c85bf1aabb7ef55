// catalogue.cpp — the list of jobs in the order of the game's catalogue.
#include "catalogue.h"

#include "entries.h"
#include "png_writer.h"

namespace art {

const Aspect kAspects[6] = {
    {"3x2", 1920, 1280},  {"4x3", 1920, 1440},   {"5x4", 1920, 1536},
    {"16x9", 1920, 1080}, {"16x10", 1920, 1200}, {"17x9", 2040, 1080},
};

void Save(Sink &sink, const std::string &name, const Image &img) {
  WritePng(sink.dir + "/" + name, img);
  sink.names.push_back(name);
}

size_t LimitFor(const std::string &name) {
  bool large = name.rfind("title_", 0) == 0 || name.rfind("qirn_", 0) == 0;
  return large ? kLargeLimit : kEntryLimit;
}

std::vector<Job> Catalogue() {
  std::vector<Job> jobs;
  for (const Aspect &a : kAspects)
    jobs.push_back({std::string("title_") + a.suffix, 10,
                    [&a](Sink &s) { WriteTitle(s, a); }});
  for (const Aspect &a : kAspects)
    jobs.push_back({std::string("qirn_") + a.suffix, 6,
                    [&a](Sink &s) { WriteStudio(s, a); }});
  jobs.push_back({"logo", 3, WriteLogo});
  jobs.push_back({"player", 1, WritePlayer});
  jobs.push_back({"items", 1, WriteItems});
  jobs.push_back({"panel", 1, WritePanel});
  for (int k = 1; k <= 6; ++k)
    jobs.push_back({"monster_" + std::to_string(k), 1,
                    [k](Sink &s) { WriteMonster(s, k); }});
  jobs.push_back({"fx", 2, WriteImpact});
  jobs.push_back({"countdown", 8, WriteCountdown});
  jobs.push_back({"gameover", 8, WriteCaught});
  jobs.push_back({"victory", 12, WriteVictory});
  jobs.push_back({"congrats", 6, WriteCongrats});
  jobs.push_back({"gamefinished", 8, WriteFinished});
  return jobs;
}

} // namespace art
