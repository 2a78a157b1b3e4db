#include "config_loader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

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
    if (c == EOF && std::ferror(file_)) failed_ = true;
    return !line.empty();
  }

  void rewind() { std::rewind(file_); }  // clears the error indicator, not failed()

  // A read failed at some point (the file ended early for the reader).
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

// Only a regular file is read: a directory opens on some systems and then
// fails to read, and a device or a pipe may never end.
std::FILE* openRegularFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  return std::fopen(path.c_str(), "r");
}

LoadReport openFailed(MessageBoxes& messages) {
  messages.showMessage(kOpenReadFailedText, kOpenReadFailedCaption, MessageIcon::Exclamation);
  LoadReport report;
  report.outcome = LoadOutcome::OpenFailed;
  return report;
}

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
    if (!fitsInConfigLine(words.name)) return false;  // the map line could not be written back
    settings.other.startingMapEnabled = true;
    settings.other.startingMap = words.name;
    return true;
  }
  if (!isSetKeyword(words.keyword)) return false;
  return applyConfigVariable(settings, words.name, words.value, &enablingChanged) ==
         ValueOutcome::Applied;
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

ValueOutcome applyConfigVariable(ServerSettings& settings, std::string_view name,
                                 std::string_view value, std::vector<Page>* enablingChanged) {
  const LoaderEntry* entry = findLoaderEntry(name);
  if (entry == nullptr) return ValueOutcome::Refused;
  const ValueOutcome outcome = applyLoaderValue(settings, *entry, value);
  if (outcome == ValueOutcome::Refused) return outcome;
  settings.keptFromFile.setVariables.insert(entry->name);
  if (entry->refresh) noteEnablingChange(enablingChanged, loaderEntryPage(*entry));
  return outcome;
}

LoadReport loadConfigFile(ServerSettings& settings, const std::string& path,
                          MessageBoxes& messages, SettingsStore& store) {
  std::FILE* file = openRegularFile(path);
  if (file == nullptr) return openFailed(messages);

  // Loaded into a copy, so that a file that cannot be read to its end
  // leaves the settings as they were.
  ServerSettings loaded = settings;
  LoadReport report;
  ConfigFileReader reader(file);
  offerModeStartPresets(reader, loaded, messages, store);
  reader.rewind();
  applyConfigLines(reader, loaded, report);
  std::fclose(file);
  if (reader.failed()) return openFailed(messages);

  // The Files page's copies of the duplicated file names are the ones the
  // file sets; the other pages follow them.
  synchroniseDuplicatedFileNames(loaded, Page::Files);
  settings = std::move(loaded);
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
