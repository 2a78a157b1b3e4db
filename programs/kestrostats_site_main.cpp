// kestrostats-site: the season site from the season database.
//
// Exit status: 0 the site was written; 1 wrong command line or a
// configuration that cannot be read; 3 the database could not be read
// (unreachable, login refused, a statement refused); 5 a file could not be
// written or removed. On 1 and 3 nothing is written; on 5 the previous site
// stays in place unless the failure came after the new one was (a stale page
// that could not be removed).
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "database_reader.h"
#include "run_status.h"
#include "site_config.h"
#include "site_generator.h"
#include "site_model.h"

namespace fs = std::filesystem;

namespace {

// The run's time: SOURCE_DATE_EPOCH when set (reproducible output), else now.
std::string runTime() {
  std::time_t now = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
  }
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// The relative path from the site's folder to the game pages' folder, ending
// in "/" unless empty.
std::string relativePages(const fs::path& out, const fs::path& pages) {
  fs::path from = fs::absolute(out).lexically_normal();
  fs::path to = fs::absolute(pages).lexically_normal();
  std::string relative = to.lexically_relative(from).generic_string();
  if (relative == ".") return "";
  if (!relative.empty() && relative.back() != '/') relative += '/';
  return relative;
}

// Reads the season from the database and writes the site.
Error writeSeasonSite(const site::CommandLine& line) {
  site::SiteSettings settings;
  if (Error refused = site::readSiteSettings(line.config, settings); refused.failed()) return refused;
  if (settings.login.port == 0) {
    if (Error refused = site::parsePort(std::getenv("MYSQL_TCP_PORT"), settings.login.port); refused.failed()) {
      return refused;
    }
  }
  std::string error;
  if (line.min_games) settings.min_games = *line.min_games;

  site::SeasonData data;
  site::SeasonDatabase database;
  if (!database.connect(settings.login, error) ||
      !database.readSeason(settings.server_name, settings.detect_clans, data, error)) {
    return failWith(Failure::kDatabase, error);
  }
  data.server = settings.server_name;
  // The players' last quotes are not shown at all (a league's wish).
  if (!settings.show_quotes) {
    for (site::PlayerRow& p : data.players) p.quote.clear();
  }

  fs::path pages_folder = line.pages.value_or(line.out.has_parent_path() ? line.out.parent_path() : fs::path("."));
  site::SiteRules rules{settings.min_games, settings.award_min_attempts, settings.detect_clans, settings.site_title};
  site::SiteModel model = site::buildModel(data, rules, [&](const std::string& name) {
    std::error_code ignored;
    return fs::is_regular_file(pages_folder / name, ignored);
  });
  site::SiteOutput output{line.out, relativePages(line.out, pages_folder), runTime()};
  site::SiteCounts counts;
  // The pages are written while the game records stream from the database:
  // a failure to read them is the database's, and nothing is put in place.
  if (!site::writeSite(model, output, database, counts, error)) {
    return failWith(database.readFailed() ? Failure::kDatabase : Failure::kWrite, error);
  }
  if (!database.finish(error)) return failWith(Failure::kDatabase, error);

  std::printf("Season site: %zu players (%zu on the leaderboard), %zu game pages, %lld recorded games; "
              "%zu files written, %zu unchanged -> %s\n",
              data.players.size(), model.qualified, model.games.size(),
              static_cast<long long>(database.recordedGames()), counts.written, counts.unchanged,
              (line.out / "index.html").c_str());
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  site::CommandLine line;
  std::string error;
  if (!site::parseCommandLine(argc, argv, line, error)) {
    std::fputs(site::usage(), stderr);
    printError(error);
    return exitStatusOf(Failure::kUsage);
  }
  if (line.help) {
    std::fputs(site::usage(), stdout);
    return 0;
  }
  const Error failure = writeSeasonSite(line);
  if (failure.failed()) printError(failure.message);
  return exitStatusOf(failure.failure);
}
