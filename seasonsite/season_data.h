// The season as the database holds it: plain rows, read once, then only
// looked at. Texts are the database's bytes, untrusted: every page and file
// escapes them where they go.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace site {

// A weapon of the kills_X and deaths_X columns of playerstats.
struct WeaponInfo {
  const char* column;  // the X of kills_X / deaths_X, and the key in JSON
  const char* name;    // what a page calls it
  const char* image;   // award image part: carnage_<image>.jpg, accuracy_<image>.jpg
  const char* colour;  // bar colour of the chart (the award icon's ring colour)
  int accuracy;        // index into PlayerRow::accuracy, -1 when no accuracy is kept
};

inline constexpr std::size_t kWeapons = 12;
inline constexpr std::size_t kAccuracyWeapons = 8;
inline constexpr std::size_t kItems = 10;
inline constexpr std::size_t kCtfFields = 10;

// In column order of the table (G MG SG GL RL LG RG PG BFG TF NG GH).
inline constexpr std::array<WeaponInfo, kWeapons> kWeaponTable = {{
    {"G", "gauntlet", "gauntlet", "#00e5ff", -1},
    {"MG", "machine gun", "machine", "#ffe600", 0},
    {"SG", "shot gun", "shot", "#fcb903", 1},
    {"GL", "grenade launcher", "grenade", "#20c03a", 2},
    {"RL", "rocket launcher", "rocket", "#ff3a2a", 3},
    {"LG", "lightning gun", "lightning", "#e8f2ff", 4},
    {"RG", "rail gun", "rail", "#3dff3d", 5},
    {"PG", "plasma gun", "plasma", "#ff4dff", 6},
    {"BFG", "BFG", "bfg", "#3d8df0", 7},
    {"TF", "telefrag", "", "#b0b8c4", -1},
    {"NG", "nail gun", "nail", "#3fb2c2", -1},
    {"GH", "grapple", "grapple", "#00d6bd", -1},
}};

// The accuracy columns accuracy_X_hits / accuracy_X_attempts, MG to BFG.
inline constexpr std::array<const char*, kAccuracyWeapons> kAccuracyColumns = {"MG", "SG", "GL", "RL",
                                                                              "LG", "RG", "PG", "BFG"};

// A named counter: `key` in JSON (and the column's name after its "item_" or
// "ctf_"), `label` on pages.
struct FieldInfo {
  const char* key;
  const char* label;
};

inline constexpr std::array<FieldInfo, kItems> kItemTable = {{
    {"mega", "mega health"},
    {"health", "health"},
    {"health_small", "small health"},
    {"health_large", "large health"},
    {"ra", "red armour"},
    {"ya", "yellow armour"},
    {"shard", "armour shard"},
    {"regen", "regeneration"},
    {"haste", "haste"},
    {"quad", "quad damage"},
}};

inline constexpr std::array<FieldInfo, kCtfFields> kCtfTable = {{
    {"base_defends", "base defends"},
    {"flag_returns", "flag returns"},
    {"fc_defends", "flag carrier defends"},
    {"fc_defends_aggressive", "aggressive carrier defends"},
    {"flag_caps", "flag captures"},
    {"flag_touches", "flag touches"},
    {"efc_kills", "flag carrier kills"},
    {"assist_efc_kills", "carrier kill assists"},
    {"assist_flag_returns", "return assists"},
    {"flag_hold_kills", "kills holding the flag"},
}};

// Index of a CTF field in kCtfTable, for code that names one.
enum CtfField : std::size_t { kBaseDefends = 0, kFlagReturns = 1, kFlagCaps = 4 };

struct Accuracy {
  std::int64_t hits = 0;
  std::int64_t attempts = 0;
};

// One row of playerstats.
struct PlayerRow {
  std::string raw_name;  // the key: the name as logged, colour codes included
  std::string name;      // colour codes removed
  std::string model;
  std::string quote;
  std::int64_t games = 0;
  std::int64_t frags = 0;
  std::int64_t kills = 0;
  std::int64_t deaths = 0;
  std::int64_t suicides = 0;
  std::int64_t team_kills = 0;
  std::int64_t kill_streak = 0;
  std::int64_t death_streak = 0;
  std::int64_t damage_given = 0;
  std::int64_t damage_recvd = 0;
  double skill = 0;
  double combat = 0;
  std::array<Accuracy, kAccuracyWeapons> accuracy{};
  Accuracy accuracy_total;
  std::array<std::int64_t, kWeapons> kills_by_weapon{};
  std::array<std::int64_t, kWeapons> deaths_by_weapon{};
  std::array<std::int64_t, kItems> items{};
  std::array<std::int64_t, kCtfFields> ctf{};
};

// One row of clanstats; a tag that matches no name has no stat.
struct ClanRow {
  std::string tag;
  std::optional<double> stat;
};

// One row of gamestats: a page slot of the rotation.
struct GameSlot {
  std::int64_t slot = 0;
  std::string html;
};

struct SeasonData {
  std::string server;       // the server whose page slots these are
  std::string last_update;  // miscstats' "time"; empty before the first game
  std::vector<PlayerRow> players;
  std::vector<ClanRow> clans;  // empty unless clans were read
  std::vector<GameSlot> game_slots;  // this server's
};

// Kills per death; a player never killed counts as killed once.
double killsPerDeath(const PlayerRow& p);
// Hits per attempt in percent; none without attempts.
std::optional<double> accuracyPercent(const Accuracy& a);

}  // namespace site
