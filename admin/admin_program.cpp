#include "admin_program.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "admin_reader.h"
#include "admin_sql.h"
#include "clan_stats.h"
#include "database_session.h"
#include "file_ops.h"
#include "player_sql.h"
#include "run_lock.h"
#include "run_status.h"
#include "season_config.h"
#include "shell_command.h"
#include "site_config.h"

namespace admin {

namespace {

constexpr const char* kScript = "db_sql_admin.txt";
constexpr const char* kClientErrors = "db_sql_admin_errors.txt";

const char* const kUsage =
    "usage: kestrostats-admin [-c CONFIG] [--no-site] ACTION [ARGUMENTS]\n"
    "  list-games                 one line per recorded game: ID, played, log, map, type\n"
    "  show-game ID               the game's record\n"
    "  delete-game ID [--recount] takes the game out of the totals and the records;\n"
    "                             --recount: reading its log again counts it again\n"
    "  merge-players FROM INTO    FROM's games and totals count for INTO from now on\n"
    "  unmerge-player FROM        undoes a merge while FROM has played no game since\n"
    "  hide-player NAME           the site shows \"hidden player\" for NAME\n"
    "  unhide-player NAME\n"
    "  aliases                    the merged names\n"
    "  log                        every action taken, with when and by whom\n"
    "Names are raw names, colour codes included, as show-game prints them.\n";

struct Command {
  std::string config = "s-default.cfg";
  bool site = true;
  bool recount = false;
  std::string action;
  std::vector<std::string> arguments;
};

bool parseCommand(int argc, const char* const* argv, Command& command, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-c" || arg == "--config") && i + 1 < argc) {
      command.config = argv[++i];
    } else if (arg == "--no-site") {
      command.site = false;
    } else if (arg == "--recount") {
      command.recount = true;
    } else if (command.action.empty() && !arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (command.action.empty()) {
      command.action = arg;
    } else {
      command.arguments.push_back(arg);
    }
  }
  if (command.action == "unmerge") command.action = "unmerge-player";
  if (command.action.empty()) {
    error = "no action given";
    return false;
  }
  return true;
}

// How many arguments each action takes.
int argumentsOf(const std::string& action) {
  if (action == "list-games" || action == "aliases" || action == "log") return 0;
  if (action == "merge-players") return 2;
  if (action == "show-game" || action == "delete-game" || action == "unmerge-player" || action == "hide-player" ||
      action == "unhide-player") {
    return 1;
  }
  return -1;
}

bool changesDatabase(const std::string& action) {
  return action == "delete-game" || action == "merge-players" || action == "unmerge-player" ||
         action == "hide-player" || action == "unhide-player";
}

// A game ID: 1 to 10 digits.
bool parseId(const std::string& text, long long& id) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  id = std::strtoll(text.c_str(), nullptr, 10);
  return id > 0;
}

// A text from the database or a user, safe on a terminal: control bytes
// (an escape sequence could rewrite the screen) show as "?".
std::string printable(const Cell& cell, const char* none = "-") {
  if (!cell) return none;
  std::string out = *cell;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  }
  return out;
}

std::string systemUser() {
  if (const char* sudo = std::getenv("SUDO_USER"); sudo != nullptr && *sudo != '\0') return sudo;
  if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr) return pw->pw_name;
  return std::to_string(::geteuid());
}

// The program's state for one action.
struct Admin {
  const Command& command;
  season::SeasonConfig config;
  site::SiteSettings site;
  AdminReader reader;
  std::string error;
};

Error readConfiguration(Admin& a) {
  a.config.path.assign(a.command.config);
  if (season::loadConfig(a.config) != ConfigRead::kRead) {
    return failWith(Failure::kUsage, "could not read the configuration file \"" + a.command.config + "\"");
  }
  if (Error refused = site::readSiteSettings(a.command.config, a.site); refused.failed()) return refused;
  if (!season::isPlainDatabaseName(a.config.db_name)) {
    return failWith(Failure::kUsage, "db_name: may hold only letters, digits, \"_\" and \"$\"");
  }
  if (a.site.login.port == 0) return site::parsePort(std::getenv("MYSQL_TCP_PORT"), a.site.login.port);
  return {};
}

// Runs a script through the mysql client (in the season database unless
// the script chooses it), again when another client's lock made the server
// give it up. The rows its locking SELECTs print are not shown.
Error runScript(Admin& a, const std::string& statements, bool in_database = true) {
  const std::string script =
      in_database ? "USE " + std::string(a.config.db_name.view()) + ";\n" + statements : statements;
  if (!season::replaceFile(kScript, script)) return failWith(Failure::kWrite, std::string("could not write ") + kScript);
  std::string client_errors;
  const std::string client = "mysql " + season::mysqlLogin(a.config) + " < " + kScript + " > /dev/null";
  const int status = season::runTransactionScript(a.config, client, kClientErrors, client_errors);
  std::remove(kScript);
  std::remove(kClientErrors);
  if (status != 0) {
    return failWith(Failure::kDatabase, "the database did not take the change, nothing was changed (mysql exit status " +
                                          std::to_string(status) + "): " + client_errors);
  }
  return {};
}

// The tables the actions use, for a database no season run has brought up
// to date yet.
Error prepareTables(Admin& a) { return runScript(a, season::schemaScript(a.config), false); }

Error listGames(Admin& a) {
  Rows rows;
  if (!a.reader.query("SELECT id, played, log, map, type, server FROM games ORDER BY listed, id", rows, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  std::printf("%-8s  %-19s  %-28s  %-16s  %-4s  %s\n", "ID", "played", "log", "map", "type", "server");
  for (const std::vector<Cell>& r : rows) {
    std::printf("%-8s  %-19s  %-28s  %-16s  %-4s  %s\n", printable(r[0]).c_str(), printable(r[1], "unknown").c_str(),
                printable(r[2]).c_str(), printable(r[3]).c_str(), printable(r[4]).c_str(), printable(r[5]).c_str());
  }
  long long unrecorded = 0;
  a.reader.number("SELECT (SELECT COUNT(*) FROM countedgames WHERE deleted=0) - (SELECT COUNT(*) FROM games)",
                  unrecorded, a.error);
  std::printf("%zu recorded games.\n", rows.size());
  if (unrecorded > 0) {
    std::printf("%lld games counted before the records were kept are not listed: they cannot be deleted.\n",
                unrecorded);
  }
  return {};
}

// False (with the failure) when game `id` has no record.
Error checkGame(Admin& a, long long id) {
  long long found = 0;
  if (!a.reader.number("SELECT COUNT(*) FROM games WHERE id=" + std::to_string(id), found, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (found == 0) {
    return failWith(Failure::kUsage, "no game " + std::to_string(id) +
                                       " in the records; a game counted before the records were kept cannot be "
                                       "deleted (list-games shows the games that can)");
  }
  return {};
}

Error showGame(Admin& a, long long id) {
  if (Error o = checkGame(a, id); o.failed()) return o;
  const std::string game = std::to_string(id);
  Rows rows;
  if (!a.reader.query("SELECT id, played, counted, server, log, map, type, duration, ended, red_score, blue_score, "
                      "winner_team, winner, fingerprint, page FROM games WHERE id=" + game,
                      rows, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  const char* labels[] = {"game",  "played", "counted", "server", "log",    "map",         "type", "duration",
                          "ended", "red",    "blue",    "winner team", "winner", "fingerprint", "page"};
  for (std::size_t i = 0; i < rows[0].size(); ++i) std::printf("%12s: %s\n", labels[i], printable(rows[0][i]).c_str());
  if (!a.reader.query("SELECT slot, raw_name, played_as, team, result, place, frags, kills, deaths, skill FROM "
                      "game_players WHERE game_id=" + game + " ORDER BY slot",
                      rows, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  std::printf("\n%4s  %-32s  %-4s  %-4s  %5s  %5s  %5s  %6s  %6s\n", "slot", "player (played as)", "team", "res.",
              "place", "frags", "kills", "deaths", "skill");
  for (const std::vector<Cell>& r : rows) {
    std::string name = printable(r[1]);
    if (r[2]) name += " (" + printable(r[2]) + ")";
    std::printf("%4s  %-32s  %-4s  %-4s  %5s  %5s  %5s  %6s  %6s\n", printable(r[0]).c_str(), name.c_str(),
                printable(r[3]).c_str(), printable(r[4]).c_str(), printable(r[5]).c_str(), printable(r[6]).c_str(),
                printable(r[7]).c_str(), printable(r[8]).c_str(), printable(r[9]).c_str());
  }
  if (!a.reader.query("SELECT killer, victim, kills FROM game_kills WHERE game_id=" + game + " ORDER BY killer, victim",
                      rows, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (!rows.empty()) std::printf("\nkills:\n");
  for (const std::vector<Cell>& r : rows) {
    std::printf("  %s killed %s %s times\n", printable(r[0]).c_str(), printable(r[1]).c_str(), printable(r[2]).c_str());
  }
  return {};
}

// The player's name when it has a totals row; else why not, as a failure.
Error checkPlayer(Admin& a, const std::string& name) {
  const std::string literal = hexLiteral(name);
  long long rows = 0;
  if (!a.reader.number("SELECT COUNT(*) FROM playerstats WHERE raw_name=" + literal, rows, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (rows > 0) return {};
  Rows alias;
  if (!a.reader.query("SELECT player FROM player_aliases WHERE alias=" + literal, alias, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (!alias.empty()) {
    return failWith(Failure::kUsage, "\"" + printable(name) + "\" was merged into \"" + printable(alias[0][0]) +
                                       "\"; name that player instead");
  }
  return failWith(Failure::kUsage, "no player \"" + printable(name) +
                                     "\" in the season (names are raw names, colour codes included)");
}

Error deleteGame(Admin& a, long long id, const ActionBy& by) {
  if (Error o = checkGame(a, id); o.failed()) return o;
  if (Error o = runScript(a, deleteGameScript(id, a.command.recount, by)); o.failed()) return o;
  std::printf("Game %lld deleted: its figures were taken off its players' totals.\n", id);
  std::printf(a.command.recount ? "Reading its log again counts it again.\n"
                                : "Reading its log again does not bring it back (delete-game --recount would).\n");
  return {};
}

Error mergePlayers(Admin& a, const std::string& from, const std::string& into, const ActionBy& by) {
  if (from == into) return failWith(Failure::kUsage, "a player cannot be merged into itself");
  for (const std::string& name : {from, into}) {
    if (Error o = checkPlayer(a, name); o.failed()) return o;
  }
  if (Error o = runScript(a, mergeScript(from, into, by)); o.failed()) return o;
  std::printf("\"%s\" merged into \"%s\": its games and totals count for \"%s\", also those still to come.\n",
              printable(from).c_str(), printable(into).c_str(), printable(into).c_str());
  return {};
}

Error unmergePlayer(Admin& a, const std::string& from, const ActionBy& by) {
  const std::string literal = hexLiteral(from);
  Rows alias;
  if (!a.reader.query("SELECT a.player, a.last_game, (SELECT COUNT(*) FROM merged_players m WHERE m.raw_name=a.alias) "
                      "FROM player_aliases a WHERE a.alias=" + literal,
                      alias, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (alias.empty()) return failWith(Failure::kUsage, "\"" + printable(from) + "\" is not a merged name (see aliases)");
  const std::string into = alias[0][0].value_or("");
  if (alias[0][2].value_or("0") == "0") {
    return failWith(Failure::kUsage, "the totals of \"" + printable(from) + "\" from before the merge were not kept: "
                                   "the merge cannot be undone");
  }
  long long since = 0;
  if (!a.reader.number("SELECT COUNT(*) FROM game_players WHERE played_as=" + literal + " AND game_id>" +
                           alias[0][1].value_or("0"),
                       since, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (since > 0) {
    return failWith(Failure::kUsage, "\"" + printable(from) + "\" has played " + std::to_string(since) +
                                       " games for \"" + printable(into) +
                                       "\" since the merge, whose kills cannot be told apart: the merge stays");
  }
  if (Error o = runScript(a, unmergeScript(from, into, by)); o.failed()) return o;
  std::printf("\"%s\" is a player of its own again; \"%s\" keeps its other games.\n", printable(from).c_str(),
              printable(into).c_str());
  return {};
}

Error hidePlayer(Admin& a, const std::string& name, bool hide, const ActionBy& by) {
  long long hidden = 0;
  if (!a.reader.number("SELECT COUNT(*) FROM hidden_players WHERE raw_name=" + hexLiteral(name), hidden, a.error)) {
    return failWith(Failure::kDatabase, a.error);
  }
  if (hide) {
    if (hidden > 0) {
      std::printf("\"%s\" is hidden already.\n", printable(name).c_str());
      return {};
    }
    if (Error o = checkPlayer(a, name); o.failed()) return o;
  } else if (hidden == 0) {
    return failWith(Failure::kUsage, "\"" + printable(name) + "\" is not hidden");
  }
  if (Error o = runScript(a, hide ? hideScript(name, by) : unhideScript(name, by)); o.failed()) {
    return o;
  }
  std::printf(hide ? "\"%s\" is hidden: the site shows \"hidden player\"; the games still count for the others.\n"
                   : "\"%s\" is shown again.\n",
              printable(name).c_str());
  return {};
}

Error listRows(Admin& a, const char* statement, const char* heading, const char* empty) {
  Rows rows;
  if (!a.reader.query(statement, rows, a.error)) return failWith(Failure::kDatabase, a.error);
  if (rows.empty()) {
    std::printf("%s\n", empty);
    return {};
  }
  std::printf("%s\n", heading);
  for (const std::vector<Cell>& r : rows) {
    std::string line;
    for (const Cell& cell : r) line += (line.empty() ? "" : "  ") + printable(cell);
    std::printf("%s\n", line.c_str());
  }
  return {};
}

// The season site and clan stats after a change, as a season run makes them.
Error refresh(Admin& a) {
  RunStatus status;
  if (a.config.detect_clan_tag) season::generateClanStats(a.config, status);
  if (status.failed()) return failWith(status.first(), "the clan stats were not made again");
  if (!a.command.site || !a.config.make_season_site) {
    std::printf("The season site was not made again: run ./kestrostats-site \"%s\" to show the change.\n",
                a.command.config.c_str());
    return {};
  }
  const std::string command = "./kestrostats-site \"" + escapeForDoubleQuotes(a.config.path) + "\" >temp-s";
  if (int exit_status = season::runCommand(a.config, command); exit_status != 0) {
    return failWith(Failure::kProgram, "the change is made, but ./kestrostats-site could not write the season site "
                                     "(exit status " + std::to_string(exit_status) + "; its messages are in temp-s)");
  }
  std::remove("temp-s");
  std::printf("The season site was made again.\n");
  return {};
}

Error readOnlyAction(Admin& a) {
  const std::string& action = a.command.action;
  if (action == "list-games") return listGames(a);
  if (action == "aliases") {
    return listRows(a, "SELECT alias, player, merged FROM player_aliases ORDER BY merged, alias",
                    "merged name  counts for  since", "No names were merged.");
  }
  if (action == "log") {
    return listRows(a, "SELECT at, by_user, server, action, subject FROM admin_log ORDER BY id",
                    "when  by  server  action  on", "No action was taken yet.");
  }
  long long id = 0;
  if (!parseId(a.command.arguments[0], id)) return failWith(Failure::kUsage, "not a game ID: " + a.command.arguments[0]);
  return showGame(a, id);
}

Error changingAction(Admin& a) {
  const std::string& action = a.command.action;
  const std::vector<std::string>& args = a.command.arguments;
  const ActionBy by{systemUser(), a.config.server};
  if (action == "delete-game") {
    long long id = 0;
    if (!parseId(args[0], id)) return failWith(Failure::kUsage, "not a game ID: " + args[0]);
    return deleteGame(a, id, by);
  }
  if (action == "merge-players") return mergePlayers(a, args[0], args[1], by);
  if (action == "unmerge-player") return unmergePlayer(a, args[0], by);
  return hidePlayer(a, args[0], action == "hide-player", by);
}

Error lockedAction(Admin& a) {
  season::RunLock lock;
  switch (lock.acquire(a.config.lock_wait_seconds)) {
    case season::LockResult::kTaken:
      break;
    case season::LockResult::kBusy:
      return failWith(Failure::kLocked, "a season run is still working in this directory (kestrostats-s.lock); "
                                      "nothing was changed, try again later");
    case season::LockResult::kUnusable:
      return failWith(Failure::kWrite, lock.problem() + "; nothing was changed");
  }
  if (Error o = prepareTables(a); o.failed()) return o;
  if (!a.reader.connect(a.site.login, a.error)) return failWith(Failure::kDatabase, a.error);
  if (Error o = changingAction(a); o.failed()) return o;
  return refresh(a);
}

Error run(Admin& a) {
  if (Error o = readConfiguration(a); o.failed()) return o;
  if (!season::passPasswordThroughEnvironment(a.config)) {
    return failWith(Failure::kWrite, std::string("could not write ") + season::kPasswordOptionFile);
  }
  Error outcome;
  if (changesDatabase(a.command.action)) {
    outcome = lockedAction(a);
  } else if (!a.reader.connect(a.site.login, a.error)) {
    outcome = failWith(Failure::kDatabase, a.error);
  } else {
    outcome = readOnlyAction(a);
  }
  season::removePasswordOptionFile();
  return outcome;
}

}  // namespace

int kestrostatsAdmin(int argc, const char* const* argv) {
  Command command;
  std::string error;
  if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!parseCommand(argc, argv, command, error) ||
      argumentsOf(command.action) != static_cast<int>(command.arguments.size())) {
    if (error.empty()) error = "\"" + command.action + "\" is no action, or not with these arguments";
    std::fprintf(stderr, "kestrostats-admin: %s\n%s", error.c_str(), kUsage);
    return exitStatusOf(Failure::kUsage);
  }
  if (command.recount && command.action != "delete-game") {
    std::fprintf(stderr, "kestrostats-admin: --recount belongs to delete-game\n");
    return exitStatusOf(Failure::kUsage);
  }
  Admin a{command, {}, {}, {}, {}};
  const Error outcome = run(a);
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    std::fprintf(stderr, "kestrostats-admin: could not write the output\n");
    return exitStatusOf(Failure::kWrite);
  }
  if (outcome.failed()) printError(outcome.message);
  return exitStatusOf(outcome.failure);
}

}  // namespace admin
