#include "site_generator.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <system_error>
#include <unordered_set>

#include "atomic_file.h"
#include "record_pages.h"
#include "games_json.h"
#include "index_page.h"
#include "json_writer.h"
#include "map_pages.h"
#include "player_history.h"
#include "player_page.h"
#include "season_json.h"
#include "site_assets.h"

namespace site {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlayersFolder = "players";
constexpr const char* kGamesFolder = "games";
constexpr const char* kMapsFolder = "maps";
constexpr const char* kGamesJson = "games.json";
// games.json goes to the file in pieces of about this size.
constexpr std::size_t kJsonPiece = 1 << 20;

bool isLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// `name` is <prefix><chars matching `ok`>[<-games-N>].html.
template <typename Ok>
bool matchesPage(std::string_view name, std::string_view prefix, Ok ok, bool numbered_suffix) {
  constexpr std::string_view kSuffix = ".html";
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return false;
  std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  if (numbered_suffix) {
    std::size_t dash = middle.find("-games-");
    if (dash != std::string_view::npos) {
      std::string_view number = middle.substr(dash + 7);
      if (number.empty() || !std::all_of(number.begin(), number.end(), isDigit)) return false;
      middle = middle.substr(0, dash);
    }
  }
  return std::all_of(middle.begin(), middle.end(), ok);
}

// A file this program writes into `folder` (the season folder's own
// sub-folder name, or "" for the season folder), which a later run removes
// when it no longer writes it.
bool isOwnPageName(const std::string& folder, const std::string& name) {
  if (folder == kPlayersFolder) return matchesPage(name, "p", isLowerHex, true);
  if (folder == kGamesFolder) return matchesPage(name, "", isDigit, false) && name.size() > 5;
  if (folder == kMapsFolder) return matchesPage(name, "m", isLowerHex, false);
  return matchesPage(name, "games-", isDigit, false) && name.size() > 11;
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

// The run's files: staged, and remembered by name so that the leftovers of
// earlier runs can be told apart.
class SiteFiles {
 public:
  explicit SiteFiles(const SiteOutput& o) : o_(o) {}

  bool stage(const std::string& name, std::string_view content, std::string& error) {
    written_.insert(name);
    return files_.stage(o_.folder / name, content, error);
  }
  StagedFiles& staged() { return files_; }
  void remember(const std::string& name) { written_.insert(name); }
  bool wrote(const std::string& name) const { return written_.count(name) != 0; }

 private:
  const SiteOutput& o_;
  StagedFiles files_;
  std::unordered_set<std::string> written_;
};

// A player's page and the further pages of the player's game list.
bool stagePlayer(const SiteModel& m, const SiteOutput& o, SiteFiles& files, std::size_t player,
                 const PlayerHistory& history, std::string& error) {
  if (!files.stage(m.page[player], playerPage(m, player, o.pages, history), error)) return false;
  if (history.games == nullptr) return true;
  const std::size_t pages = playerGamesPageCount(history.games->size());
  for (std::size_t page = 2; page <= pages; ++page) {
    if (!files.stage(playerGamesPageName(m, player, page), playerGamesPage(m, player, *history.games, page, o.pages),
                     error)) {
      return false;
    }
  }
  return true;
}

bool stagePlayers(const SiteModel& m, const SiteOutput& o, GameRecordSource& records, SiteFiles& files,
                  MapTable& maps, const std::vector<Rivals>& rivals, std::string& error) {
  std::vector<bool> done(m.data->players.size(), false);
  bool ok = records.forEachPlayersGames(
      [&](const std::string& raw_name, const std::vector<PlayerGame>& games, std::string& failure) {
        std::optional<std::size_t> p = playerIndex(m, raw_name);
        if (!p || done[*p]) return true;  // a row of no player of the season
        done[*p] = true;
        maps.addPlayer(*p, mapRecords(games), m.rules.min_games);
        return stagePlayer(m, o, files, *p, PlayerHistory{&games, &rivals[*p], true}, failure);
      },
      error);
  if (!ok) return false;
  for (std::size_t p = 0; p < done.size(); ++p) {
    if (done[p]) continue;
    if (!stagePlayer(m, o, files, p, PlayerHistory{nullptr, &rivals[p], records.hasRecords()}, error)) return false;
  }
  return true;
}

// games.json, the summary pages and the list pages, while the games stream in.
bool stageGames(const SiteModel& m, const SiteOutput& o, GameRecordSource& records, SiteFiles& files, MapTable& maps,
                LatestGames& latest, std::string& error) {
  latest.records = records.hasRecords();
  latest.recorded = records.recordedGames();
  latest.unrecorded = records.unrecordedGames();
  const std::size_t page_count =
      std::max<std::size_t>(1, (static_cast<std::size_t>(latest.recorded) + kGamesPerListPage - 1) / kGamesPerListPage);
  std::vector<GameBrief> page_games;
  std::size_t page = 1;
  std::size_t seen = 0;
  files.remember(kGamesJson);
  StreamedStage json_file(files.staged(), o.folder / kGamesJson);
  std::string json;
  JsonWriter j(json);
  beginGamesJson(j);
  bool ok = records.forEachGame(
      [&](const GameRecord& game, std::string& failure) {
        GameBrief brief = briefOf(m, game);
        maps.addGame(brief);
        if (latest.games.size() < kLatestGamesShown) latest.games.push_back(brief);
        if (!files.stage(summaryPageName(game.id), gameSummaryPage(m, game, o.pages), failure)) return false;
        page_games.push_back(std::move(brief));
        ++seen;
        if (page_games.size() == kGamesPerListPage && seen < static_cast<std::size_t>(latest.recorded)) {
          if (!files.stage(gamesListPageName(page), gamesListPage(m, page_games, page, page_count, latest.recorded,
                                                                  latest.unrecorded, o.pages),
                           failure)) {
            return false;
          }
          page_games.clear();
          ++page;
        }
        writeGameJson(j, game);
        if (json.size() < kJsonPiece) return true;
        bool written = json_file.write(json, failure);
        json.clear();
        return written;
      },
      error);
  if (!ok) return false;
  endGamesJson(j);
  json += '\n';
  return json_file.write(json, error) && json_file.finish(error) &&
         files.stage(gamesListPageName(page), gamesListPage(m, page_games, page, std::max(page, page_count),
                                                            latest.recorded, latest.unrecorded, o.pages),
                     error);
}

bool stageMaps(const SiteModel& m, const SiteOutput& o, const MapTable& maps, SiteFiles& files, std::string& error) {
  for (const auto& [name, stats] : maps.maps()) {
    if (stats.games == 0) continue;  // only players' rows name it: no game of it is recorded
    if (!files.stage(mapPageName(name), mapPage(m, stats, o.pages), error)) return false;
  }
  return files.stage("maps.html", mapsPage(m, maps, o.pages), error);
}

bool stageAll(const SiteModel& m, const SiteOutput& o, GameRecordSource& records, SiteFiles& files,
              std::string& error) {
  if (!files.stage("season.css", seasonStylesheet(), error) || !files.stage("season.js", seasonScript(), error)) {
    return false;
  }
  MapTable maps;
  LatestGames latest;
  std::vector<Rivals> rivals;
  // The games before the players: they make the maps' tables.
  if (!readRivals(m, records, rivals, error) || !stageGames(m, o, records, files, maps, latest, error)) return false;
  return stagePlayers(m, o, records, files, maps, rivals, error) && stageMaps(m, o, maps, files, error) &&
         files.stage(kIndexPage, indexPage(m, o.pages, latest), error) &&
         files.stage(kAllPlayersPage, allPlayersPage(m, o.pages), error) &&
         files.stage("season.json", seasonJson(m, o.generated), error);
}

// Removes pages of this program that the run did not write, and abandoned
// staged files.
bool removeLeftovers(const SiteOutput& o, const SiteFiles& files, std::string& error) {
  bool ok = true;
  for (const char* sub : {"", kPlayersFolder, kGamesFolder, kMapsFolder}) {
    const std::string folder_name = sub;
    const fs::path folder = folder_name.empty() ? o.folder : o.folder / folder_name;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
      std::string name = entry.path().filename().string();
      std::string relative = folder_name.empty() ? name : folder_name + "/" + name;
      bool stale = isOwnPageName(folder_name, name) && !files.wrote(relative);
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

bool writeSite(const SiteModel& m, const SiteOutput& o, GameRecordSource& records, SiteCounts& counts,
               std::string& error) {
  for (const char* sub : {kPlayersFolder, kGamesFolder, kMapsFolder}) {
    if (!makeFolder(o.folder / sub, error)) return false;
  }
  SiteFiles files(o);
  if (!stageAll(m, o, records, files, error)) return false;  // the destructor removes what was staged
  counts = SiteCounts{files.staged().size(), files.staged().unchanged()};
  if (!files.staged().commit(error)) return false;
  return removeLeftovers(o, files, error);
}

bool writeSite(const SiteModel& m, const SiteOutput& o, SiteCounts& counts, std::string& error) {
  NoGameRecords none;
  return writeSite(m, o, none, counts, error);
}

}  // namespace site
