// languages.cpp — language files, the text table and the language list.
#include "settings/languages.h"

#include "platform/files.h"
#include "platform/zip.h"
#include "settings/keyvalue.h"

namespace {

// Language files are small; anything larger is not one of ours, whether
// it lies in a folder or in the archive.
constexpr size_t kMaxLanguageFile = kv::kMaxFileSize;
const char *kExtension = ".language";

std::vector<uint16_t> Utf16Units(const std::string &s) {
  std::vector<uint16_t> units;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c >> 5) == 6) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c >> 4) == 14) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c >> 3) == 30) {
      cp = c & 0x07;
      extra = 3;
    } else {
      cp = 0xFFFD; // a stray byte counts as one replacement character
      extra = 0;
    }
    ++i;
    for (int k = 0; k < extra; ++k, ++i) {
      if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
        cp = 0xFFFD;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units.push_back(static_cast<uint16_t>(0xD800 + (cp >> 10)));
      units.push_back(static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<uint16_t>(cp));
    }
  }
  return units;
}

LanguageInfo InfoFromHeader(const kv::Document &doc, const std::string &file) {
  const kv::Group *h = kv::FindGroup(doc, "LANGUAGE FILE");
  LanguageInfo info;
  info.file = file;
  info.name = kv::ReadText(h, "tLangFileNAME", "");
  info.version = kv::ReadText(h, "tLangFileVERSION", "");
  info.date = kv::ReadText(h, "tLangFileDATE", "");
  info.author = kv::ReadText(h, "tLangFileAUTHOR", "");
  info.langId = kv::ReadText(h, "tLangFileLANGID", "");
  info.software = kv::ReadText(h, "tLangFileSOFTWARE", "");
  return info;
}

// Archive entries name languages only at the top level; a name that holds
// a folder part or a parent reference is never a language of ours.
bool PlainEntryName(const std::string &name) {
  return name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name != ".." && name != ".";
}

bool IsFolder(const std::string &source) {
  return plat::FileSize(source) == -2;
}

} // namespace

unsigned LanguageSlot(const std::string &utf8Name) {
  uint32_t h = 0;
  for (uint16_t unit : Utf16Units(utf8Name))
    h = h * 65599u + unit;
  return h % 512u;
}

void StoreLanguageInfo(LanguageTable &table, const LanguageInfo &info) {
  auto &slot = table.slots[LanguageSlot(info.name)];
  for (LanguageInfo &existing : slot) {
    if (existing.name == info.name) {
      existing = info;
      return;
    }
  }
  slot.insert(slot.begin(), info);
}

std::vector<const LanguageInfo *>
LanguageInfosInOrder(const LanguageTable &table) {
  std::vector<const LanguageInfo *> out;
  for (const auto &slot : table.slots)
    for (const LanguageInfo &info : slot)
      out.push_back(&info);
  return out;
}

const std::string &Text(Languages &lang, const std::string &key) {
  return lang.texts[key];
}

const std::string &Text(const Languages &lang, const std::string &key) {
  static const std::string empty;
  const auto it = lang.texts.find(key);
  return it == lang.texts.end() ? empty : it->second;
}

std::string LanguageSource(const std::string &gameDir) {
  return gameDir + "Warrenfold.languages";
}

void ScanLanguages(Languages &lang, const std::string &source) {
  if (IsFolder(source)) {
    std::vector<plat::DirEntry> entries;
    if (plat::ScanFolder(source, "*.language", entries)) {
      for (const plat::DirEntry &e : entries) {
        if (e.folder)
          continue;
        kv::Document doc;
        if (!kv::ParseFile(source + "/" + e.name, doc))
          continue;
        std::string file =
            e.name.substr(0, e.name.size() - std::string(kExtension).size());
        StoreLanguageInfo(lang.infos, InfoFromHeader(doc, file));
      }
    }
  } else if (plat::FileSize(source) > 0) {
    // One pass over the archive: walking it again for every entry would
    // make an archive of thousands of entries stall the start.
    std::vector<plat::ZipFile> files;
    plat::ZipReadMatching(
        source,
        [](const std::string &name) {
          const size_t dot = name.rfind('.');
          return PlainEntryName(name) && dot != std::string::npos &&
                 name.compare(dot, std::string::npos, kExtension) == 0;
        },
        kMaxLanguageFile, files);
    for (const plat::ZipFile &f : files) {
      kv::Document doc = kv::Parse(f.data.data(), f.data.size());
      StoreLanguageInfo(
          lang.infos, InfoFromHeader(doc, f.name.substr(0, f.name.rfind('.'))));
    }
  }
  lang.choices.clear();
  for (const LanguageInfo *info : LanguageInfosInOrder(lang.infos))
    lang.choices.emplace_back(info->file, info->name);
  lang.choice = lang.choices.empty() ? -1 : 0;
}

bool LoadLanguage(Languages &lang, const std::string &source,
                  const std::string &file) {
  kv::Document doc;
  const std::string name = file + kExtension;
  if (IsFolder(source)) {
    if (!PlainEntryName(name) || !kv::ParseFile(source + "/" + name, doc))
      return false;
  } else {
    std::vector<uint8_t> bytes;
    if (plat::FileSize(source) <= 0 || !PlainEntryName(name) ||
        !plat::ZipExtract(source, name, kMaxLanguageFile, bytes))
      return false;
    doc = kv::Parse(bytes.data(), bytes.size());
  }
  for (const kv::Group &g : doc.groups)
    for (const auto &[key, value] : g.entries) {
      // Texts lose their surrounding blanks like every text value.
      size_t b = value.find_first_not_of(" \t");
      size_t e = value.find_last_not_of(" \t");
      lang.texts[key] =
          b == std::string::npos ? std::string() : value.substr(b, e - b + 1);
    }
  return true;
}

void FindLanguage(Languages &lang, const std::string &file) {
  if (lang.choices.empty()) {
    lang.choice = -1;
    return;
  }
  for (size_t i = 0; i < lang.choices.size(); ++i) {
    if (lang.choices[i].first == file) {
      lang.choice = static_cast<int>(i);
      return;
    }
  }
  lang.choice = static_cast<int>(lang.choices.size()) - 1;
}

bool HasLanguageFile(const Languages &lang, const std::string &file) {
  for (const auto &choice : lang.choices)
    if (choice.first == file)
      return true;
  return false;
}

std::string FillPlaceholders(const std::string &text,
                             const std::string &value) {
  std::string out;
  // Appends stop one byte past the limit: enough to know the text is cut.
  for (size_t i = 0; i < text.size() && out.size() <= kMaxShownText; ++i) {
    if (text[i] == '#')
      out.append(value, 0, kMaxShownText + 1 - out.size());
    else
      out.push_back(text[i]);
  }
  if (out.size() > kMaxShownText) {
    // Cut at a character's start, never inside a UTF-8 sequence.
    size_t cut = kMaxShownText;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
      --cut;
    out.resize(cut);
  }
  return out;
}
