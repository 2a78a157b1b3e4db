// The history of every game, as the season records it in the tables games,
// game_players and game_kills: one game at a time, never the whole season's
// rows at once. Texts are the database's bytes, untrusted like the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season_data.h"

namespace site {

// One row of game_players: what one game added to one player's totals.
struct GamePlayer {
  std::int64_t slot = 0;
  std::string team;    // "red" "blue" "none"
  std::string result;  // "won" "lost" "draw" or ""
  std::int64_t place = 0;
  PlayerRow figures;   // raw_name, name and this game's figures (games, model and quote unused)
};

// One row of game_kills: `killer` killed `victim` `kills` times.
struct KillCount {
  std::string killer;
  std::string victim;
  std::int64_t kills = 0;
};

// One row of games with its players (slot order) and kills.
struct GameRecord {
  std::int64_t id = 0;
  std::string server;
  std::string log;
  std::optional<std::string> played;  // "YYYY-MM-DD HH:MM:SS"; none when the log did not tell
  std::string counted;
  std::string listed;                 // played, else counted
  std::string map;
  std::string type;
  std::optional<std::int64_t> duration;
  std::string ended;
  std::optional<std::int64_t> red_score;
  std::optional<std::int64_t> blue_score;
  std::int64_t player_count = 0;
  std::optional<std::string> winner_team;
  std::optional<std::string> winner;
  std::optional<std::string> page;
  std::optional<std::string> weapon_page;
  std::vector<GamePlayer> players;
  std::vector<KillCount> kills;
  // A hash of every byte the record was read from, so that pages made from
  // it can be told unchanged without making them; 0 when unknown (a test's
  // own records).
  std::uint64_t source = 0;
};

// The hash of what a page is made from: FNV-1a over the bytes of texts,
// each text preceded by its length so that ("ab", "c") and ("a", "bc")
// differ. Meant to notice change, not to withstand an attacker: a forged
// collision could only keep one game's own page as it was.
class SourceHash {
 public:
  void mix(std::string_view text) {
    mixWord(text.size() + 1);
    for (char c : text) h_ = (h_ ^ static_cast<unsigned char>(c)) * kPrime;
  }
  void mix(std::int64_t number) { mixWord(static_cast<std::uint64_t>(number)); }
  void mix(std::uint64_t number) { mixWord(number); }
  void mixNull() { mixWord(0); }
  // Never 0, which means "unknown".
  std::uint64_t value() const { return h_ == 0 ? 1 : h_; }

 private:
  static constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  void mixWord(std::uint64_t word) {
    h_ = (h_ ^ word) * kPrime;
    h_ ^= h_ >> 29;
  }

  std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

// One game of one player, for the player's list, chart and maps.
struct PlayerGame {
  std::int64_t game_id = 0;
  std::string listed;
  bool played_known = true;
  std::string map;
  std::string type;
  std::string team;
  std::string result;
  std::int64_t place = 0;
  std::int64_t frags = 0;
  std::int64_t kills = 0;
  std::int64_t deaths = 0;
};

// Newer first: later listed time, then the higher id.
inline bool newerGame(const std::string& listed_a, std::int64_t id_a, const std::string& listed_b, std::int64_t id_b) {
  return listed_a != listed_b ? listed_a > listed_b : id_a > id_b;
}

// Where the records come from: the database, or a test's own list. Each
// visitor returns false (with `error` set) to stop; the call then returns
// false too. A call also returns false with `error` set when reading fails.
class GameRecordSource {
 public:
  virtual ~GameRecordSource() = default;

  // False for a database of a version without the record tables.
  virtual bool hasRecords() const = 0;
  // Counted games that have no record (counted before records were kept).
  virtual std::int64_t unrecordedGames() const = 0;
  // Games that have a record: as many as forEachGame() visits.
  virtual std::int64_t recordedGames() const = 0;

  using GameVisitor = std::function<bool(const GameRecord&, std::string& error)>;
  // Every recorded game, newest first, one at a time.
  virtual bool forEachGame(const GameVisitor& each, std::string& error) = 0;

  using PlayerGamesVisitor =
      std::function<bool(const std::string& raw_name, const std::vector<PlayerGame>& newest_first, std::string& error)>;
  // The games of each player who has any, one player at a time, in no
  // particular order of players.
  virtual bool forEachPlayersGames(const PlayerGamesVisitor& each, std::string& error) = 0;

  using HeadToHeadVisitor = std::function<bool(const KillCount& season_long, std::string& error)>;
  // The season's kills between players: one count per killer and victim,
  // summed over every recorded game, in no particular order.
  virtual bool forEachHeadToHead(const HeadToHeadVisitor& each, std::string& error) = 0;
};

// A source without records: a database of an earlier version.
class NoGameRecords : public GameRecordSource {
 public:
  explicit NoGameRecords(std::int64_t unrecorded = 0) : unrecorded_(unrecorded) {}
  bool hasRecords() const override { return false; }
  std::int64_t unrecordedGames() const override { return unrecorded_; }
  std::int64_t recordedGames() const override { return 0; }
  bool forEachGame(const GameVisitor&, std::string&) override { return true; }
  bool forEachPlayersGames(const PlayerGamesVisitor&, std::string&) override { return true; }
  bool forEachHeadToHead(const HeadToHeadVisitor&, std::string&) override { return true; }

 private:
  std::int64_t unrecorded_;
};

}  // namespace site
