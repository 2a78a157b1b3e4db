#include "counting_rules.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "game.h"
#include "players.h"

namespace season {

bool loadCountingRules(const SeasonConfig& config, CountingRules& rules, std::string& error) {
  rules.count_bots = config.count_bots;
  rules.count_aborted_games = config.count_aborted_games;
  rules.ignored_names.clear();
  const std::string path(config.ignore_names.view());
  if (path.empty()) return true;
  struct stat info{};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return true;
    error = "could not read the ignore_names file " + path + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = "the ignore_names file " + path + " is no regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "could not read the ignore_names file " + path + ": " + std::strerror(errno);
    return false;
  }
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) rules.ignored_names.insert(line);
  }
  if (in.bad()) {
    error = "could not read the ignore_names file " + path + " to its end";
    return false;
  }
  return true;
}

bool endedByServer(const Game& game, bool from_server_log) {
  return from_server_log ? !game.facts.ended.empty() : game.facts.limit_hit;
}

int markLeftOut(Game& game, const CountingRules& rules) {
  int marked = 0;
  const std::vector<std::string>& bots = game.facts.bots;
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    const std::string raw(p.raw_name.view());
    const bool bot = !rules.count_bots && std::find(bots.begin(), bots.end(), raw) != bots.end();
    if (bot || rules.ignored_names.count(raw) > 0) {
      p.left_out = true;
      ++marked;
    }
  }
  return marked;
}

}  // namespace season
