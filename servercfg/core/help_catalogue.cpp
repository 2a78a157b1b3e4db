#include "help_catalogue.h"

#include <algorithm>
#include <cctype>

#include "help_catalogue_rows.h"

namespace cvarsmith {

const HelpEntry kGeneralHelp = {
    "",
    "Move the mouse over a variable for more information about the variable (and it's default "
    "setting).\n\nClick \"Generate .cfg\" to generate and save the server configuration file."};

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalIgnoringCase(text.substr(0, prefix.size()), prefix);
}

HelpEntry entryOf(const HelpRow& row, const ServerSettings& settings) {
  if (std::string_view(row.control) == kControlExecutablePath) {
    return {settings.commandLine.executablePath, row.help};
  }
  return {row.syntax, row.help};
}

// The variable as the syntax line spells it: "set password <string>" gives
// "password", "+set net_IP <IP Address>" "net_IP", "+exec <config file>"
// "exec", "map <string>" "map"; other lines name no variable.
std::string_view syntaxVariable(std::string_view syntax) {
  if (syntax.substr(0, 4) == "map ") return "map";
  for (std::string_view lead : {"set ", "+set ", "+"}) {
    if (syntax.substr(0, lead.size()) == lead) {
      syntax.remove_prefix(lead.size());
      return syntax.substr(0, syntax.find(' '));
    }
  }
  return {};
}

bool rowAnswersTo(const HelpRow& row, std::string_view name) {
  if (equalIgnoringCase(row.control, name)) return true;
  if (row.variable != nullptr && equalIgnoringCase(row.variable, name)) return true;
  if (row.caption != nullptr && equalIgnoringCase(row.caption, name)) return true;
  std::string_view spelled = syntaxVariable(row.syntax);
  if (spelled.empty()) return false;
  if (spelled.back() == '*') return startsWithIgnoringCase(name, spelled.substr(0, spelled.size() - 1));
  return equalIgnoringCase(spelled, name);
}

}  // namespace

HelpEntry lookupHelp(const ServerSettings& settings, Page currentTab, std::string_view control) {
  if (control.empty()) return kGeneralHelp;
  for (const HelpRow& row : helpRows()) {
    if (!row.page && equalIgnoringCase(row.control, control)) return entryOf(row, settings);
  }
  for (const HelpRow& row : helpRows()) {
    if (row.page == currentTab && equalIgnoringCase(row.control, control)) {
      return entryOf(row, settings);
    }
  }
  return kGeneralHelp;
}

std::vector<HelpEntry> explainName(const ServerSettings& settings, std::string_view name) {
  std::vector<HelpEntry> entries;
  if (name.empty()) return entries;
  for (const HelpRow& row : helpRows()) {
    if (!rowAnswersTo(row, name)) continue;
    HelpEntry entry = entryOf(row, settings);
    if (std::find(entries.begin(), entries.end(), entry) == entries.end()) {
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

}  // namespace cvarsmith
