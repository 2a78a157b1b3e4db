#include "site_generator.h"

#include <signal.h>

#include <cerrno>
#include <set>
#include <system_error>

#include "atomic_file.h"
#include "index_page.h"
#include "player_page.h"
#include "season_json.h"
#include "site_assets.h"

namespace site {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlayersFolder = "players";

// "p" and hexadecimal digits, ".html": a player page of this program.
bool isPlayerPageName(const std::string& name) {
  constexpr std::string_view kSuffix = ".html";
  if (name.size() < 1 + kSuffix.size() || name[0] != 'p' || !name.ends_with(kSuffix)) return false;
  for (std::size_t i = 1; i < name.size() - kSuffix.size(); ++i) {
    char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// A staged file of a run that is no longer running.
bool isAbandonedStagingFile(const std::string& name) {
  if (!isStagingName(name)) return false;
  long pid = std::strtol(name.c_str() + name.rfind('-') + 1, nullptr, 10);
  return pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

bool makeFolder(const fs::path& folder, std::string& error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    error = "could not create the folder " + folder.string() + ": " + (ec ? ec.message() : "not a folder");
    return false;
  }
  return true;
}

bool stageAll(const SiteModel& m, const SiteOutput& o, StagedFiles& files, std::string& error) {
  const fs::path& f = o.folder;
  if (!files.stage(f / "season.css", seasonStylesheet(), error) || !files.stage(f / "season.js", seasonScript(), error)) {
    return false;
  }
  for (std::size_t p = 0; p < m.data->players.size(); ++p) {
    if (!files.stage(f / m.page[p], playerPage(m, p, o.pages), error)) return false;
  }
  // The pages that link to player pages go in after them.
  return files.stage(f / kIndexPage, indexPage(m, o.pages), error) &&
         files.stage(f / kAllPlayersPage, allPlayersPage(m, o.pages), error) &&
         files.stage(f / "season.json", seasonJson(m, o.generated), error);
}

// Removes player pages the season no longer has and abandoned staged files.
bool removeLeftovers(const SiteModel& m, const SiteOutput& o, std::string& error) {
  std::set<std::string> current;
  for (const std::string& page : m.page) current.insert(fs::path(page).filename().string());
  bool ok = true;
  for (const fs::path& folder : {o.folder, o.folder / kPlayersFolder}) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
      std::string name = entry.path().filename().string();
      bool stale = folder != o.folder && isPlayerPageName(name) && current.count(name) == 0;
      if (!stale && !isAbandonedStagingFile(name)) continue;
      std::error_code removed;
      if (!fs::remove(entry.path(), removed) && removed) {
        error = "could not remove " + entry.path().string() + ": " + removed.message();
        ok = false;
      }
    }
    if (ec) {
      error = "could not list " + folder.string() + ": " + ec.message();
      ok = false;
    }
  }
  return ok;
}

}  // namespace

bool writeSite(const SiteModel& m, const SiteOutput& o, SiteCounts& counts, std::string& error) {
  if (!makeFolder(o.folder / kPlayersFolder, error)) return false;
  StagedFiles files;
  if (!stageAll(m, o, files, error)) return false;  // the destructor removes what was staged
  counts = SiteCounts{files.size(), files.unchanged()};
  if (!files.commit(error)) return false;
  return removeLeftovers(m, o, error);
}

}  // namespace site
