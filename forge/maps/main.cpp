// main.cpp — forge_maps: builds the map archive from content/maps, refusing
// to write one whose mazes or tiles break a content rule.
#include "assemble.h"
#include "build.h"
#include "maps/maze_check.h"
#include "preview.h"
#include "source.h"
#include "tileset.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: forge_maps [--preview FOLDER] SRC_DIR OUT_ARCHIVE\n"
               "  Builds the map archive from the maze sources in SRC_DIR.\n"
               "  --preview FOLDER  also writes review pictures there\n");
  return 2;
}

// The 21 mazes the game names.
std::vector<std::string> RequiredIds() {
  std::vector<std::string> ids;
  for (const mapfile::LevelTableRow &rule : mapfile::LevelTable())
    ids.push_back(rule.id);
  ids.push_back("M0");
  return ids;
}

} // namespace

int main(int argc, char **argv) {
  std::string previewFolder;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc)
      previewFolder = argv[++i];
    else if (argv[i][0] == '-')
      return Usage();
    else
      args.push_back(argv[i]);
  }
  if (args.size() != 2)
    return Usage();
  const std::string &srcDir = args[0], &outPath = args[1];

  std::vector<std::string> errors;
  std::map<std::string, mapfile::MapEntry> maps;
  mapfile::Index index;
  std::map<std::string, std::vector<uint8_t>> pictures;
  for (const std::string &file : forge::ListMazeFiles(srcDir)) {
    forge::MazeSource src;
    std::string error;
    if (!forge::ReadMazeSource(file, src, error)) {
      errors.push_back(error);
      continue;
    }
    if (maps.count(src.id)) {
      errors.push_back("map " + src.id + ": defined twice (" + file + ")");
      continue;
    }
    maps[src.id] = forge::BuildMap(src, errors);
  }
  for (const std::string &id : RequiredIds())
    if (!maps.count(id))
      errors.push_back("map " + id + ": no source in " + srcDir);

  for (const auto &[id, map] : maps) {
    // The archive could only hold it cut down, its cells moved.
    if (!mapfile::MapFits(map))
      errors.push_back("map " + id + ": " + std::to_string(map.widthTiles) +
                       " x " + std::to_string(map.heightTiles) +
                       " cells, more than a map can hold (" +
                       std::to_string(mapfile::kMaxTiles) + " x " +
                       std::to_string(mapfile::kMaxTiles) + ")");
    std::vector<std::string> found;
    if (const mapfile::LevelTableRow *rule = mapfile::FindLevel(id))
      found = mapfile::CheckLevelMap(map, *rule);
    else if (id == "M0")
      found = mapfile::CheckMenuMap(map);
    errors.insert(errors.end(), found.begin(), found.end());
  }

  // Painting takes most of the time; a broken maze is reported without it
  // unless pictures were asked for.
  if (errors.empty() || !previewFolder.empty()) {
    const std::vector<forge::ForgedTile> tiles = forge::ForgeTiles();
    index = forge::BuildIndex(maps, tiles);
    pictures = forge::EncodeTiles(tiles);
    if (!previewFolder.empty() &&
        !forge::WritePreviews(previewFolder, maps, tiles))
      errors.push_back("cannot write the previews into " + previewFolder);
    const auto tileErrors = mapfile::CheckTiles(index, maps, pictures);
    errors.insert(errors.end(), tileErrors.begin(), tileErrors.end());
  }

  if (!errors.empty()) {
    for (const std::string &e : errors)
      std::fprintf(stderr, "forge_maps: %s\n", e.c_str());
    std::fprintf(stderr, "forge_maps: %zu problem(s); %s not written\n",
                 errors.size(), outPath.c_str());
    return 1;
  }

  pack::WriteOptions options;
  if (!pack::WriteArchive(outPath, forge::ArchiveEntries(index, maps, pictures),
                          options)) {
    std::fprintf(stderr, "forge_maps: cannot write %s\n", outPath.c_str());
    return 1;
  }
  return 0;
}
