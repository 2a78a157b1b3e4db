#include "server_games.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace kstest {

namespace {

// The line without its leading blanks and time stamp ("  0:00 ", "19.6 ").
std::string eventOf(const std::string& line) {
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return "";
  const std::size_t stamp_end = line.find_first_not_of("0123456789:.", start);
  if (stamp_end == start || stamp_end == std::string::npos || line[stamp_end] != ' ') return line.substr(start);
  return line.substr(stamp_end + 1);
}

// The causes that have an obituary in the console form; true for those that
// name the victim only.
const std::map<std::string, bool> kCauses = {
    {"MOD_GAUNTLET", false},    {"MOD_MACHINEGUN", false}, {"MOD_SHOTGUN", false}, {"MOD_ROCKET", false},
    {"MOD_GRENADE", false},     {"MOD_PLASMA", false},     {"MOD_LIGHTNING", false}, {"MOD_RAILGUN", false},
    {"MOD_BFG", false},         {"MOD_TELEFRAG", false},   {"MOD_GRAPPLE", false}, {"MOD_NAILGUN", false},
    {"MOD_TRIGGER_HURT", true}, {"MOD_FALLING", true},     {"MOD_LAVA", true},     {"MOD_SUICIDE", true},
    {"MOD_SLIME", true},        {"MOD_WATER", true},       {"MOD_CRUSH", true},
};

// "Kill: <killer> <victim> <cause>: <killer name> killed <victim name> by MOD_..."
void countKill(const std::string& event, GameFigures& figures) {
  int killer = 0;
  int victim = 0;
  const std::size_t by = event.rfind(" by MOD_");
  if (std::sscanf(event.c_str(), "Kill: %d %d", &killer, &victim) != 2 || by == std::string::npos) return;
  for (const auto& [cause, victim_only] : kCauses) {
    if (event.compare(by + 4, cause.size(), cause) != 0) continue;
    ++(victim_only || killer == victim ? figures.suicides : figures.kills);
    return;
  }
}

int gamesWrittenAlone(const std::string& section) {
  TempDir dir;
  prepareServerLogRun(dir);
  dir.write("alone.log", section);
  EXPECT_EQ(runIn(dir, "./kestrostats-c alone.log").status, 0);
  return static_cast<int>(writtenGames(dir).size());
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const GameFigures& figures) {
  return out << figures.map << ", kills " << figures.kills << ", suicides " << figures.suicides;
}

std::vector<ServerGame> serverGames(const std::string& log) {
  std::vector<ServerGame> games;
  ServerGame game;
  bool open = false;
  bool osp = false;
  bool counting = false;  // in the game proper: not before an OSP game's start, not in a warm-up
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    const std::string event = eventOf(line);
    if (event.starts_with("InitGame:")) {  // a game still open was never ended
      open = true;
      osp = event.find("\\gamename\\osp\\") != std::string::npos ||
            event.find("\\gameversion\\OSP") != std::string::npos;
      counting = !osp;
      game = ServerGame{};
      std::smatch map;
      if (std::regex_search(event, map, std::regex("\\\\mapname\\\\([^\\\\]*)"))) game.figures.map = map[1];
      for (char& c : game.figures.map) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (!open) continue;
    game.lines += line + "\n";
    if (event.starts_with("Game_Start:")) counting = counting || osp;
    if (event.starts_with("Warmup:") && !osp) counting = false;
    if (event.starts_with("Kill: ") && counting) countKill(event, game.figures);
    if (event.starts_with("ShutdownGame:")) {
      if (counting) games.push_back(std::move(game));
      open = false;
    }
  }
  return games;
}

std::vector<GameFigures> writtenGames(const TempDir& dir) {
  std::map<int, GameFigures> games;
  const std::regex number("_(\\d+)_[A-Z]+_.*_game\\.json$");
  // Of the player fields: the weapon tables hold "deaths" too, but no "suicides".
  const std::regex player("\"deaths\":(\\d+),\"suicides\":(\\d+)");
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path() / "html")) {
    const std::string name = entry.path().filename().string();
    std::smatch m;
    if (!std::regex_search(name, m, number)) continue;
    const std::string json = dir.read("html/" + name);
    GameFigures& figures = games[std::stoi(m[1])];
    std::smatch map;
    if (std::regex_search(json, map, std::regex("\"map\":\"([^\"]*)\""))) figures.map = map[1];
    for (std::sregex_iterator it(json.begin(), json.end(), player), end; it != end; ++it) {
      figures.kills += std::stoi((*it)[1]);
      figures.suicides += std::stoi((*it)[2]);
    }
  }
  std::vector<GameFigures> ordered;
  for (auto& [game_number, figures] : games) ordered.push_back(std::move(figures));
  return ordered;
}

void prepareServerLogRun(const TempDir& dir) {
  dir.installProgram("kestrostats-c");
  dir.installProgram("ks-preparse");
  dir.write("c-default.cfg", "make_json_stats:\nyes\nmake_weapon_stats:\nno\n");
  fs::create_directories(dir.path() / "html");
}

void expectTheServersGames(const std::string& log, const std::vector<GameFigures>& written, const std::string& what) {
  const std::vector<ServerGame> server = serverGames(log);
  std::size_t next = 0;  // the first server game not yet matched
  for (const GameFigures& game : written) {
    std::size_t at = next;
    while (at < server.size() && !(server[at].figures == game)) ++at;
    if (at == server.size()) {
      ADD_FAILURE() << what << ": a game written (" << game << ") is none of the server's";
      return;
    }
    for (; next < at; ++next) {
      EXPECT_EQ(gamesWrittenAlone(server[next].lines), 0) << what << ": missing " << server[next].figures;
    }
    next = at + 1;
  }
  for (; next < server.size(); ++next) {
    EXPECT_EQ(gamesWrittenAlone(server[next].lines), 0) << what << ": missing " << server[next].figures;
  }
}

}  // namespace kstest
