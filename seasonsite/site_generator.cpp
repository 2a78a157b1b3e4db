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
#include "season_ratings.h"
#include "site_assets.h"

namespace site {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlayersFolder = "players";
constexpr const char* kGamesFolder = "games";
constexpr const char* kMapsFolder = "maps";
constexpr const char* kGamesJson = "games.json";
// What the last run wrote (file_index.h); a cache, not a page.
constexpr const char* kFileIndex = ".site-index";

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

  bool stage(const std::string& name, std::string_view content, std::string& error, std::uint64_t source = 0) {
    written_.insert(name);
    return files_.stage(o_.folder / name, content, error, source);
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
                  MapTable& maps, const std::vector<Rivals>& rivals, const SeasonRatings& ratings,
                  std::string& error) {
  std::vector<bool> done(m.data->players.size(), false);
  bool ok = records.forEachPlayersGames(
      [&](const std::string& raw_name, const std::vector<PlayerGame>& games, std::string& failure) {
        std::optional<std::size_t> p = playerIndex(m, raw_name);
        if (!p || done[*p]) return true;  // a row of no player of the season
        done[*p] = true;
        maps.addPlayer(*p, mapRecords(games), m.rules.min_games);
        return stagePlayer(m, o, files, *p, PlayerHistory{&games, &rivals[*p], true, &ratings}, failure);
      },
      error);
  if (!ok) return false;
  for (std::size_t p = 0; p < done.size(); ++p) {
    if (done[p]) continue;
    if (!stagePlayer(m, o, files, p, PlayerHistory{nullptr, &rivals[p], records.hasRecords()}, error)) return false;
  }
  return true;
}

// Raise whenever the markup of a game's summary page or its object in
// games.json changes: the site kept from an earlier version is then made
// anew instead of being taken as unchanged by its sources.
constexpr std::int64_t kRecordPagesRevision = 1;

// What every summary page is made from besides its game: the site's title,
// where the game pages are and which players have which page.
std::uint64_t summaryContext(const SiteModel& m, const std::string& pages) {
  SourceHash h;
  h.mix(kRecordPagesRevision);
  h.mix(m.rules.title);
  h.mix(pages);
  h.mix(m.data->server);
  for (std::size_t p = 0; p < m.data->players.size(); ++p) {
    h.mix(m.data->players[p].raw_name);
    h.mix(m.page[p]);
  }
  return h.value();
}

// The summary page's source: its game and the links to the game's pages
// while they are in the rotation. 0 when the record's source is unknown.
std::uint64_t summarySource(std::uint64_t context, const GameRecord& game, const GameBrief& brief) {
  if (game.source == 0) return 0;
  SourceHash h;
  h.mix(context);
  h.mix(game.source);
  h.mix(brief.main_page);
  h.mix(brief.weapon_page);
  return h.value();
}

// The source of a game's piece of games.json: its record, and whether a
// comma goes before it.
std::uint64_t jsonSource(const GameRecord& game, bool first) {
  if (game.source == 0) return 0;
  SourceHash h;
  h.mix(kRecordPagesRevision);
  h.mix(game.source);
  h.mix(static_cast<std::int64_t>(first));
  return h.value();
}

// games.json in pieces: the head, one piece per game and the end. A game
// whose record did not change since the last run is copied from the file in
// place instead of being written out again.
class GamesJsonFile {
 public:
  GamesJsonFile(StagedFiles& files, const fs::path& path) : file_(files, path), writer_(piece_) {}

  bool begin(std::string& error) {
    beginGamesJson(writer_);
    return flush(error, 0);
  }
  bool add(const GameRecord& game, std::string& error) {
    const bool first = games_++ == 0;
    const std::uint64_t source = jsonSource(game, first);
    bool reused = false;
    if (!file_.reuse(source, reused, error)) return false;
    if (reused) return true;
    if (!first) piece_ += ',';
    JsonWriter game_writer(piece_);  // one game on its own: commas are placed here
    writeGameJson(game_writer, game);
    return flush(error, source);
  }
  bool finish(std::string& error) {
    piece_ = "]}\n";
    return flush(error, 0) && file_.finish(error);
  }

 private:
  bool flush(std::string& error, std::uint64_t source) {
    bool written = file_.write(piece_, error, source);
    piece_.clear();
    return written;
  }

  StreamedStage file_;
  std::string piece_;
  JsonWriter writer_;  // for the head only
  std::size_t games_ = 0;
};

// games.json, the summary pages and the list pages, while the games stream in.
bool stageGames(const SiteModel& m, const SiteOutput& o, GameRecordSource& records, SiteFiles& files, MapTable& maps,
                LatestGames& latest, SeasonRatings& ratings, std::string& error) {
  latest.records = records.hasRecords();
  latest.recorded = records.recordedGames();
  latest.unrecorded = records.unrecordedGames();
  const std::size_t page_count =
      std::max<std::size_t>(1, (static_cast<std::size_t>(latest.recorded) + kGamesPerListPage - 1) / kGamesPerListPage);
  const std::uint64_t context = summaryContext(m, o.pages);
  std::vector<GameBrief> page_games;
  std::size_t page = 1;
  std::size_t seen = 0;
  files.remember(kGamesJson);
  GamesJsonFile json(files.staged(), o.folder / kGamesJson);
  if (!json.begin(error)) return false;
  bool ok = records.forEachGame(
      [&](const GameRecord& game, std::string& failure) {
        GameBrief brief = briefOf(m, game);
        maps.addGame(brief);
        ratings.addGame(game);
        if (latest.games.size() < kLatestGamesShown) latest.games.push_back(brief);
        const std::string summary = summaryPageName(game.id);
        const std::uint64_t source = summarySource(context, game, brief);
        files.remember(summary);
        if (!files.staged().keptFromSource(o.folder / summary, source) &&
            !files.stage(summary, gameSummaryPage(m, game, o.pages), failure, source)) {
          return false;
        }
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
        return json.add(game, failure);
      },
      error);
  if (!ok) return false;
  return json.finish(error) &&
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
  SeasonRatings ratings(m);
  // The games before the players: they make the maps' tables and ratings.
  if (!readRivals(m, records, rivals, error) || !stageGames(m, o, records, files, maps, latest, ratings, error)) {
    return false;
  }
  ratings.rate();
  const SeasonRatings* shown = records.hasRecords() ? &ratings : nullptr;
  return stagePlayers(m, o, records, files, maps, rivals, ratings, error) && stageMaps(m, o, maps, files, error) &&
         files.stage(kIndexPage, indexPage(m, o.pages, latest, shown), error) &&
         files.stage(kAllPlayersPage, allPlayersPage(m, o.pages, shown), error) &&
         files.stage("season.json", seasonJson(m, o.generated, shown), error);
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
  const FileIndex previous = FileIndex::load(o.folder / kFileIndex);
  files.staged().keepIndex(&previous);
  if (!stageAll(m, o, records, files, error)) return false;  // the destructor removes what was staged
  counts = SiteCounts{files.staged().size(), files.staged().unchanged()};
  if (!files.staged().commit(error)) return false;
  bool left_over_removed = removeLeftovers(o, files, error);
  std::string index_error;
  if (!writeFileAtomically(o.folder / kFileIndex, files.staged().index().text(), index_error)) {
    error = left_over_removed ? index_error : error + "; " + index_error;
    return false;
  }
  return left_over_removed;
}

bool writeSite(const SiteModel& m, const SiteOutput& o, SiteCounts& counts, std::string& error) {
  NoGameRecords none;
  return writeSite(m, o, none, counts, error);
}

}  // namespace site
