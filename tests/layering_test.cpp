// layering_test.cpp — every include of the game's folders, the forge, the
// benchmarks and the fuzz targets follows the dependency table in the
// README: project headers only from the folders a row allows (whatever
// form the include takes), library headers only where the row allows them
// (the C++ standard library everywhere), the platform's and the content
// checker's private headers only where they belong, and a table without
// circles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = WARRENFOLD_SOURCE_DIR;

std::string ReadAll(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// One row of the README's table.
struct Row {
  std::set<std::string> folders;    // may include, itself among them
  bool anyLibrary = false;          // "any": every library header
  std::vector<std::string> headers; // else: allowed header name prefixes
  size_t rank = 0;                  // its place in the table
};
using Table = std::map<std::string, Row>;

std::vector<std::string> Quoted(const std::string &text) {
  std::vector<std::string> names;
  const std::regex name("`([^`]+)`");
  for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end;
       ++it)
    names.push_back((*it)[1]);
  return names;
}

// "| `folder` | `a`, `b` | library headers |"
Table ParseTable(const std::string &markdown) {
  Table table;
  const std::regex line(R"(^\| `(\w+)` \| ([^|]*) \| ([^|]*) \|\r?$)");
  std::istringstream lines(markdown);
  for (std::string text; std::getline(lines, text);) {
    std::smatch m;
    if (!std::regex_match(text, m, line))
      continue;
    Row &row = table[m[1]];
    row.rank = table.size();
    row.folders.insert(m[1]);
    for (const std::string &folder : Quoted(m[2]))
      row.folders.insert(folder);
    const std::string libraries = m[3];
    row.anyLibrary = libraries.find("any") != std::string::npos;
    row.headers = Quoted(libraries);
  }
  return table;
}

Table ReadmeTable() { return ParseTable(ReadAll(kRoot / "README.md")); }

// The table lists the lowest layer first: a row may name only rows above
// it (or folders without a row), so it has no circle. Each break as
// "a -> b".
std::vector<std::string> UpwardNames(const Table &table) {
  std::vector<std::string> found;
  for (const auto &[folder, row] : table)
    for (const std::string &to : row.folders) {
      const auto other = table.find(to);
      if (to != folder && other != table.end() &&
          other->second.rank >= row.rank)
        found.push_back(folder + " -> " + to);
    }
  return found;
}

// Headers that only some folders (or files) may include.
const std::map<std::string, std::set<std::string>> &PrivateHeaders() {
  static const std::map<std::string, std::set<std::string>> headers = {
      // The platform layer's own state and helpers.
      {"src/platform/internal.h", {"platform"}},
      // The content checker is for the forge and the tests, not the game.
      {"src/maps/maze_check.h", {"forge", "src/maps/maze_check.cpp"}},
  };
  return headers;
}

// Where a folder's files find the project's headers, besides their own
// folder: the include folders their targets are built with.
std::vector<fs::path> IncludeRoots(const std::string &folder) {
  if (folder == "forge")
    return {"src", "forge", "forge/art", "forge/audio"};
  if (folder == "fuzz" || folder == "bench")
    return {"src", folder, "tests"};
  return {"src"};
}

// The folder a repository path belongs to: src/<folder>/... by its
// second part, anything else by its first.
std::string FolderOf(const std::string &path) {
  const size_t slash = path.find('/');
  const std::string first = path.substr(0, slash);
  if (first != "src" || slash == std::string::npos)
    return first;
  return path.substr(slash + 1, path.find('/', slash + 1) - slash - 1);
}

struct Source {
  std::string path; // from the repository's root, e.g. "src/game/level.cpp"
  std::string text;
};

// The project file an include names, from the repository's root, or ""
// when it names none (a library or system header).
std::string Resolve(const std::string &from, const std::string &name,
                    bool quoted) {
  std::vector<fs::path> tries;
  if (quoted)
    tries.push_back(fs::path(from).parent_path() / name);
  for (const fs::path &root : IncludeRoots(FolderOf(from)))
    tries.push_back(root / name);
  for (const fs::path &path : tries) {
    const fs::path clean = path.lexically_normal();
    if (fs::is_regular_file(kRoot / clean))
      return clean.generic_string();
  }
  return "";
}

bool LibraryAllowed(const Row &row, const std::string &header) {
  // The C++ standard library's headers, the only ones without an
  // extension, are allowed everywhere.
  if (row.anyLibrary || header.find_first_of("./") == std::string::npos)
    return true;
  return std::any_of(
      row.headers.begin(), row.headers.end(),
      [&](const std::string &prefix) { return header.rfind(prefix, 0) == 0; });
}

// Every include that breaks a rule, as "file: what".
std::vector<std::string> Violations(const Table &table,
                                    const std::vector<Source> &sources) {
  std::vector<std::string> bad;
  const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (const Source &src : sources) {
    const std::string folder = FolderOf(src.path);
    const auto row = table.find(folder);
    if (row == table.end()) {
      bad.push_back(src.path + ": its folder has no row");
      continue;
    }
    const bool game = src.path.rfind("src/", 0) == 0;
    std::istringstream lines(src.text);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (!std::regex_search(line, m, include))
        continue;
      const bool quoted = m[1] == "\"";
      const std::string name = m[2];
      const std::string target = Resolve(src.path, name, quoted);
      if (target.empty()) {
        if (!LibraryAllowed(row->second, name))
          bad.push_back(src.path + ": library header <" + name + ">");
        continue;
      }
      const std::string to = FolderOf(target);
      if (row->second.folders.count(to) == 0)
        bad.push_back(src.path + ": includes " + to + "/ (" + name + ")");
      // The game names its own headers one way only: "folder/file.h".
      if (game && (!quoted || "src/" + name != target))
        bad.push_back(src.path + ": write \"" + target.substr(4) + "\", not " +
                      (quoted ? "\"" + name + "\"" : "<" + name + ">"));
      const auto only = PrivateHeaders().find(target);
      if (only != PrivateHeaders().end() && only->second.count(folder) == 0 &&
          only->second.count(src.path) == 0)
        bad.push_back(src.path + ": includes the private " + target);
    }
  }
  return bad;
}

// Every header and source file of src/, forge/, bench/ and fuzz/.
std::vector<Source> ProjectSources() {
  std::vector<Source> sources;
  for (const char *top : {"src", "forge", "bench", "fuzz"})
    for (const auto &entry : fs::recursive_directory_iterator(kRoot / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
        continue;
      sources.push_back({fs::relative(entry.path(), kRoot).generic_string(),
                         ReadAll(entry.path())});
    }
  std::sort(sources.begin(), sources.end(),
            [](const Source &a, const Source &b) { return a.path < b.path; });
  return sources;
}

TEST(Layering, TheReadmeTableHasNoCirclesAndKeepsLibrariesInThePlatform) {
  // A folder without a row fails IncludesFollowTheTable.
  const Table table = ReadmeTable();
  EXPECT_EQ(UpwardNames(table), std::vector<std::string>{});
  EXPECT_EQ(UpwardNames(ParseTable("| `a` | — | — |\n| `b` | `a` | — |\n"
                                   "| `c` | `d` | — |\n| `d` | `b` | — |\n")),
            std::vector<std::string>{"c -> d"});
  // Only the platform talks to the libraries in the game.
  for (const auto &[folder, row] : table)
    if (folder != "platform" && folder != "forge" && folder != "bench" &&
        folder != "fuzz") {
      EXPECT_FALSE(row.anyLibrary) << folder;
      EXPECT_TRUE(row.headers.empty()) << folder;
    }
}

TEST(Layering, IncludesFollowTheTable) {
  const std::vector<Source> sources = ProjectSources();
  ASSERT_GT(sources.size(), 200u); // the scan found the sources
  EXPECT_EQ(Violations(ReadmeTable(), sources), std::vector<std::string>{});
}

TEST(Layering, ABrokenIncludeIsFound) {
  const Table table = ReadmeTable();
  // File, include line, the violations found ("; "-joined after the
  // file's name). Allowed includes are the real sources' (the test above).
  const char *const rows[][3] = {
      // Up into the shell, in every form that compiles.
      {"src/game/x.cpp", "#include \"shell/game.h\"",
       "includes shell/ (shell/game.h)"},
      {"src/game/x.cpp", "#include <shell/game.h>",
       "includes shell/ (shell/game.h); write \"shell/game.h\", not "
       "<shell/game.h>"},
      {"src/game/x.cpp", "  #  include \"../shell/game.h\"",
       "includes shell/ (../shell/game.h); write \"shell/game.h\", not "
       "\"../shell/game.h\""},
      {"src/tools/x.cpp", "#include \"platform/core.h\"",
       "its folder has no row"},
      // A header of its own folder, allowed, but in the one form.
      {"src/game/x.cpp", "#include \"stage.h\"",
       "write \"game/stage.h\", not \"stage.h\""},
      // Library headers: none outside the platform, and in the tools' rows
      // only those the row names.
      {"src/settings/x.cpp", "#include <zlib.h>", "library header <zlib.h>"},
      {"bench/x.cpp", "#include <zlib.h>", "library header <zlib.h>"},
      // Private headers, by folder and by file.
      {"src/game/x.cpp", "#include \"platform/internal.h\"",
       "includes the private src/platform/internal.h"},
      {"src/game/x.cpp", "#include \"maps/maze_check.h\"",
       "includes the private src/maps/maze_check.h"},
      // The forge reads the formats, but never runs the game.
      {"forge/maps/x.cpp", "#include \"shell/game.h\"",
       "includes shell/ (shell/game.h)"}};
  for (const auto &[path, line, want] : rows) {
    std::string got;
    for (const std::string &v :
         Violations(table, {{path, std::string(line) + "\n"}})) {
      EXPECT_EQ(v.rfind(std::string(path) + ": ", 0), 0u) << v;
      got += (got.empty() ? "" : "; ") + v.substr(std::strlen(path) + 2);
    }
    EXPECT_EQ(got, want) << path << ": " << line;
  }
}

} // namespace
