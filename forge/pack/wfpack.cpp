// wfpack.cpp — command-line tool to list, extract and create pack archives.
#include "assets/brieflz.h"
#include "assets/pack.h"
#include "assets/packwriter.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char *const kUsage =
    "usage: wfpack list ARCHIVE\n"
    "       wfpack extract ARCHIVE NAME OUTFILE\n"
    "       wfpack create [--version 1|2] [--store] [--block BYTES]\n"
    "                     [--level fast|normal|best] ARCHIVE NAME=FILE... "
    "@LISTFILE...\n";

int Fail(const std::string &message) {
  std::fprintf(stderr, "wfpack: %s\n", message.c_str());
  return 1;
}

bool ReadFile(const std::string &path, std::vector<uint8_t> &out) {
  std::ifstream f(path, std::ios::binary);
  if (!f)
    return false;
  out.assign(std::istreambuf_iterator<char>(f),
             std::istreambuf_iterator<char>());
  return !f.bad();
}

int List(const std::string &path) {
  pack::Archive a;
  if (!pack::Open(a, path))
    return Fail("cannot open pack archive " + path);
  for (const pack::EntryInfo &e : pack::Entries(a))
    std::printf("%s\t%llu\t%llu\n", e.name.c_str(),
                static_cast<unsigned long long>(e.fullSize),
                static_cast<unsigned long long>(e.storedSize));
  return 0;
}

int Extract(const std::string &path, const std::string &name,
            const std::string &outPath) {
  pack::Archive a;
  if (!pack::Open(a, path))
    return Fail("cannot open pack archive " + path);
  // A damaged size field must not make the tool allocate without bound.
  constexpr size_t kLimit = size_t{1} << 30;
  for (const pack::EntryInfo &e : pack::Entries(a)) {
    if (e.name == name && e.fullSize > kLimit)
      return Fail("entry \"" + name + "\" claims " +
                  std::to_string(e.fullSize) + " bytes, more than 1 GiB");
    if (e.name == name)
      break;
  }
  std::vector<uint8_t> data;
  if (pack::ExtractEntry(a, name, kLimit, data) < 0)
    return Fail("entry \"" + name + "\" is missing or damaged in " + path);
  std::FILE *f = std::fopen(outPath.c_str(), "wb");
  if (!f)
    return Fail("cannot write " + outPath);
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok ? 0 : Fail("cannot write " + outPath);
}

// Adds the entry of one NAME=FILE argument; relative files are taken from
// base.
bool AddEntry(const std::string &spec, const std::filesystem::path &base,
              std::vector<pack::WriteEntry> &entries, std::string &error) {
  const size_t eq = spec.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == spec.size()) {
    error = "expected NAME=FILE, got \"" + spec + "\"";
    return false;
  }
  std::filesystem::path file(spec.substr(eq + 1));
  if (file.is_relative())
    file = base / file;
  pack::WriteEntry e;
  e.name = spec.substr(0, eq);
  if (!ReadFile(file.string(), e.data)) {
    error = "cannot read " + file.string();
    return false;
  }
  entries.push_back(std::move(e));
  return true;
}

bool AddList(const std::string &listPath,
             std::vector<pack::WriteEntry> &entries, std::string &error) {
  std::ifstream f(listPath, std::ios::binary);
  if (!f) {
    error = "cannot read list file " + listPath;
    return false;
  }
  const std::filesystem::path base =
      std::filesystem::path(listPath).parent_path();
  std::string line;
  while (std::getline(f, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty())
      continue;
    if (!AddEntry(line, base, entries, error)) {
      error = listPath + ": " + error;
      return false;
    }
  }
  return true;
}

bool ParseCount(const std::string &text, uint64_t &value) {
  if (text.empty() || text.size() > 19)
    return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

int Create(const std::vector<std::string> &args) {
  pack::WriteOptions opt;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    const std::string &flag = args[i];
    if (flag == "--store") {
      opt.store = true;
      continue;
    }
    if (i + 1 >= args.size())
      return Fail(flag + " needs a value");
    const std::string &value = args[++i];
    uint64_t n = 0;
    if (flag == "--version") {
      if (value != "1" && value != "2")
        return Fail("--version must be 1 or 2");
      opt.version = value == "1" ? 1 : 2;
    } else if (flag == "--block") {
      if (!ParseCount(value, n) || n == 0 || n > pack::kMaxBlockSize)
        return Fail("--block must be a byte count from 1 to " +
                    std::to_string(pack::kMaxBlockSize));
      opt.blockSize = n;
    } else if (flag == "--level") {
      if (value == "fast")
        opt.level = brieflz::kLevelFast;
      else if (value == "normal")
        opt.level = brieflz::kLevelNormal;
      else if (value == "best")
        opt.level = brieflz::kLevelBest;
      else
        return Fail("--level must be fast, normal or best");
    } else {
      return Fail("unknown option " + flag);
    }
  }
  if (i >= args.size())
    return Fail("create needs an archive path");
  const std::string archive = args[i++];
  std::vector<pack::WriteEntry> entries;
  std::string error;
  for (; i < args.size(); ++i) {
    const bool ok = args[i].rfind('@', 0) == 0
                        ? AddList(args[i].substr(1), entries, error)
                        : AddEntry(args[i], {}, entries, error);
    if (!ok)
      return Fail(error);
  }
  for (const pack::WriteEntry &e : entries)
    if (opt.version == 2 && e.name.size() > 65535)
      return Fail("entry name longer than 65535 bytes: " +
                  e.name.substr(0, 40) + "...");
  if (!pack::WriteArchive(archive, entries, opt))
    return Fail("cannot write " + archive);
  return 0;
}

int Run(const std::vector<std::string> &args) {
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  const std::string &cmd = args[0];
  if (cmd == "list" && args.size() == 2)
    return List(args[1]);
  if (cmd == "extract" && args.size() == 4)
    return Extract(args[1], args[2], args[3]);
  if (cmd == "create")
    return Create({args.begin() + 1, args.end()});
  std::fputs(kUsage, stderr);
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  try {
    return Run({argv + 1, argv + argc});
  } catch (const std::exception &e) {
    return Fail(e.what());
  }
}
