// The player table of a game and the handling of player names.
//
// Game::q3players holds 66 records. Live players occupy indices 0 to count-1
// without gaps (count at most 64); a record is free when its raw_name is
// empty. Index 65 stands for "no such player": failed lookups return it and
// writes for unknown players land in it, but it is never reported. Index 64
// is a spare that never holds a player. In the two per-opponent tables of
// every record, columns 0..count-1 follow the live players and column count
// receives the totals at the end of the game.
#pragma once

#include <array>
#include <string_view>

#include "text.h"

struct Game;

inline constexpr int kMaxPlayers = 64;
inline constexpr int kPlayerRecords = 66;
inline constexpr int kNobody = 65;          // index of "no such player"
inline constexpr int kWeaponRows = 15;      // weapon numbers 0..14
inline constexpr int kAwardCount = 33;

// Returned by the name extractors when a line holds no name, and stored as
// the quote of a player from whom no chat line was collected.
inline constexpr std::string_view kNoQuote = "imfjikelpituqwedcepozisdkfnvublodfklaperlfmsdfibutlwerm";

using OpponentTable = std::array<std::array<int, kPlayerRecords>, kWeaponRows>;

struct Q3Player {
  FixedText name;           // name without colour codes
  FixedText raw_name;       // name as in the log; the lookup key; empty = free
  FixedText original_name;  // raw_name as first added, restored at game end
  FixedText model;
  FixedText quote;
  int disconnected;
  int frags;
  int kill_streak;
  int current_kill_streak;
  int death_streak;
  int current_death_streak;
  int suicides;
  int kills;
  int deaths;
  OpponentTable kills_by_weapon;   // [weapon][victim]
  OpponentTable deaths_by_weapon;  // [weapon][killer]; own column = suicides
  int has_flag;
  int ctf_flag_hold_kills;
  int ctf_flag_touches;
  int ctf_flag_caps;
  int ctf_flag_returns;
  int ctf_efc_kills;
  int ctf_hurt_carrier_defends;
  int ctf_assist_efc_kills;
  int ctf_assist_flag_returns;
  int ctf_fc_defends;
  int ctf_fc_defends_aggressive;
  int ctf_base_defends;
  int team;
  int team_kills;
  float skill;
  float combat;
  std::array<int, kAwardCount> awards;
  int damage_given;
  int damage_recvd;
  std::array<int, 9> accuracy_hits;      // weapons 0..8
  int accuracy_total_hits;
  std::array<int, 8> accuracy_attempts;  // weapons 1..8 at positions 0..7
  int accuracy_total_attempts;
  int item_shard;
  int item_ya;
  int item_ra;
  int item_mega;
  int item_health;
  int item_health_small;
  int item_health_large;
  int item_quad;
  int item_regen;
  int item_haste;
};

// Teams (Q3Player::team).
inline constexpr int kNoTeam = 0;
inline constexpr int kRed = 1;
inline constexpr int kBlue = 2;

void initPlayer(Game& game, int index);
void initPlayers(Game& game);

// Number of live players: records from index 0 up to the first free one, at most 64.
int getTotalPlayers(const Game& game);
// Number of live players whose team equals `team`.
int getTeamTotalPlayers(const Game& game, int team);
// First live index whose raw_name equals `raw_name` exactly, else kNobody.
int getPlayerIndex(const Game& game, std::string_view raw_name);
// First live index whose colour-free name equals `name`, else kNobody.
int getPlayerIndexUsingStrippedName(const Game& game, std::string_view name);
// True when `index` is a live player.
bool isLivePlayer(const Game& game, int index);

// Adds a player under its raw name. Ignores "", the no-quote marker and names
// already present. A full table evicts the least skilled disconnected player,
// or refuses the name when nobody has left.
void addPlayer(Game& game, std::string_view raw_name);
// Removes one player; the table stays without gaps and every per-opponent
// column keeps following its player.
void removePlayer(Game& game, int index);
// "TOTAL PLAYERS -> n" and " - name" per live player.
void printPlayers(const Game& game);

// Copies `source` without colour codes ("^" and the character after it);
// "^^" is copied as one "^".
void stripColorCodes(std::string_view source, FixedText& destination);
// Undoes renames and markers: raw_name = original_name, name recomputed.
void restoreOriginalPlayerNames(Game& game);
// Marks players whose name is empty or only blanks, so they stay visible.
void fixPlayerNames(Game& game);
// The sender of a chat line, or kNobody when the line is no chat. A line is
// chat when the text before one of its "^7: " separators is a live player's
// raw name ("name^7: text"), or, in the team form "(name^7): text", the text
// between the "(" and one of its "^7): " separators. Names may hold the
// separator themselves, so every occurrence is tried from the left; a line
// whose prefix names nobody known (an obituary of a player named "a^7: b")
// is not chat.
int chatSender(const Game& game, std::string_view line);
// Collects a chat line as its sender's quote; other lines are ignored.
void scanForQuotes(Game& game, std::string_view line);
