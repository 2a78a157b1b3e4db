#include "config_loader.h"

#include <algorithm>
#include <cstdio>

#include "config_line.h"
#include "loader_table.h"
#include "mode_presets.h"
#include "platform.h"

namespace cvarsmith {

namespace {

// Reads the file in pieces of at most kConfigLinePieceLength characters,
// each ending at (and including) a line feed where there is one.
class ConfigFileReader {
 public:
  explicit ConfigFileReader(std::FILE* file) : file_(file) {}

  bool next(std::string& line) {
    line.clear();
    int c = 0;
    while (line.size() < kConfigLinePieceLength && (c = std::fgetc(file_)) != EOF) {
      line.push_back(static_cast<char>(c));
      if (c == '\n') break;
    }
    return !line.empty();
  }

  void rewind() { std::rewind(file_); }

 private:
  std::FILE* file_;
};

bool isSetKeyword(std::string_view keyword) {
  return keyword == "set" || keyword == "seta" || keyword == "sets";
}

// The preset a mode_start value names: 0 FFA, 1 1v1, 2 or 3 TDM, 4 CTF, 5
// Clan Arena.
std::optional<ModePreset> presetForModeStart(int value) {
  switch (value) {
    case 0: return ModePreset::Ffa;
    case 1: return ModePreset::OneVsOne;
    case 2:
    case 3: return ModePreset::Tdm;
    case 4: return ModePreset::Ctf;
    case 5: return ModePreset::ClanArena;
    default: return std::nullopt;
  }
}

// First pass: every line that sets mode_start (keyword and name exactly in
// lower case) offers its preset. The words count even for a line the second
// pass would skip.
void offerModeStartPresets(ConfigFileReader& reader, ServerSettings& settings,
                           MessageBoxes& messages, SettingsStore& store) {
  for (std::string line; reader.next(line);) {
    ConfigLineWords words = splitConfigLine(line);
    if (!isSetKeyword(words.keyword) || words.name != "mode_start") continue;
    if (auto preset = presetForModeStart(configInteger(words.value))) {
      applyModePreset(settings, *preset, PresetCaller::Loader, messages, store);
    }
  }
}

void noteEnablingChange(std::vector<Page>* pages, Page page) {
  if (pages == nullptr) return;
  if (std::find(pages->begin(), pages->end(), page) == pages->end()) pages->push_back(page);
}

// Second pass, one line (its line feed removed): false when it goes to the
// problem listing.
bool applyConfigLine(ServerSettings& settings, std::string_view line,
                     std::vector<Page>& enablingChanged) {
  if (line.empty()) return true;
  ConfigLineWords words = splitConfigLine(line);
  if (!words.complete) return true;                    // one word, blank or unterminated quote
  if (words.keyword.rfind("//", 0) == 0) return true;  // a comment
  if (words.keyword == "map") {
    settings.other.startingMapEnabled = true;
    settings.other.startingMap = words.name;
    return true;
  }
  if (!isSetKeyword(words.keyword)) return false;
  return applyConfigVariable(settings, words.name, words.value, &enablingChanged);
}

void applyConfigLines(ConfigFileReader& reader, ServerSettings& settings, LoadReport& report) {
  int lineNumber = 0;
  for (std::string line; reader.next(line);) {
    ++lineNumber;
    if (line.back() == '\n') line.pop_back();
    if (!applyConfigLine(settings, line, report.enablingChanged)) {
      appendProblemLine(report.problems, lineNumber, line);
    }
  }
}

}  // namespace

void appendProblemLine(std::string& listing, int lineNumber, std::string_view line) {
  char number[32];
  std::snprintf(number, sizeof number, "%3d: ", lineNumber);
  listing += number;
  listing += line;
  listing += "\r\n";
}

bool applyConfigVariable(ServerSettings& settings, std::string_view name, std::string_view value,
                         std::vector<Page>* enablingChanged) {
  const LoaderEntry* entry = findLoaderEntry(name);
  if (entry == nullptr || !applyLoaderValue(settings, *entry, value)) return false;
  if (entry->refresh) noteEnablingChange(enablingChanged, loaderEntryPage(*entry));
  return true;
}

LoadReport loadConfigFile(ServerSettings& settings, const std::string& path,
                          MessageBoxes& messages, SettingsStore& store) {
  LoadReport report;
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) {
    messages.showMessage(kOpenReadFailedText, kOpenReadFailedCaption, MessageIcon::Exclamation);
    report.outcome = LoadOutcome::OpenFailed;
    return report;
  }
  ConfigFileReader reader(file);
  offerModeStartPresets(reader, settings, messages, store);
  reader.rewind();
  applyConfigLines(reader, settings, report);
  std::fclose(file);

  // The Files page's copies of the duplicated file names are the ones the
  // file sets; the other pages follow them.
  synchroniseDuplicatedFileNames(settings, Page::Files);
  report.outcome = LoadOutcome::Loaded;
  return report;
}

LoadReport loadConfig(ServerSettings& settings, Platform& platform) {
  FilePromptRequest request{"",
                            {{"Config File (*.cfg)", "*.cfg"}, {"All Files (*.*)", "*.*"}},
                            "cfg",
                            false};
  std::optional<ChosenFile> chosen = platform.files.promptOpenFile(request);
  if (!chosen) return LoadReport{};
  return loadConfigFile(settings, chosen->fullPath, platform.messages, platform.store);
}

}  // namespace cvarsmith
