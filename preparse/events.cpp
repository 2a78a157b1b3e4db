#include "events.h"

#include <cstdio>
#include <string>

#include "clients.h"
#include "line_text.h"
#include "run_state.h"
#include "weapon_stats.h"

namespace preparse {

namespace {

// The three lines that introduce a player to the console reader.
void writeJoinLines(const FixedText& name, char team, const FixedText& model) {
  std::fprintf(fp_out, "%s entered the game\n", name.c_str());
  std::fprintf(fp_out, "%s is on team %s\n", name.c_str(), xteam(team));
  std::fprintf(fp_out, "%s is using model %s\n", name.c_str(), model.c_str());
}

// A name cut from a line, with the colour reset the console form carries.
FixedText playerName(std::string_view text) {
  FixedText name(text);
  name.append("^7");
  return name;
}

}  // namespace

void addClient(std::string_view line) {
  if (!contains(line, "ClientUserinfoChanged: ") || !contains(line, "\\t\\") ||
      !contains(line, "\\model\\")) {
    return;
  }
  // The name runs from " n\" to the "\t\" after it; a line without that
  // layout names nobody and is passed over.
  std::size_t name_at = line.find(" n\\");
  if (name_at == std::string_view::npos) return;
  name_at += 3;
  std::size_t team_at = line.find("\\t\\", name_at);
  if (team_at == std::string_view::npos) return;
  long long number = 0;
  if (!readClientNumber(line, "ClientUserinfoChanged:", number)) return;

  const FixedText name = playerName(line.substr(name_at, team_at - name_at));
  const FixedText model(upTo(afterKeyword(line, "\\model\\"), "\\"));
  char team = team_at + 3 < line.size() ? line[team_at + 3] : '\0';
  if (team == '1' || team == '2') validteam = 1;
  if (team < '0' || team > '3') team = '0';

  const int slot = clientSlot(number);
  ClientRecord& record = q3players[slot];
  const bool free = isFree(record);
  if (free && validteam == 1) {
    writeJoinLines(name, team, model);
    validteam = 0;
  }
  if (!contains(record.name, name) && !free) {
    std::fprintf(fp_out, "%s renamed to %s\n", record.name.c_str(), name.c_str());
    record.name = name;
  }
  if (contains(record.name, name) && record.team != team && validteam == 1) {
    writeJoinLines(name, team, model);
    validteam = 0;
  }
  if (gametype.view() == "1" && free && team == '0') {
    std::fprintf(fp_out, "%s entered the game\n", name.c_str());
    std::fprintf(fp_out, "%s is on team FFA\n", name.c_str());
    std::fprintf(fp_out, "%s is using model %s\n", name.c_str(), model.c_str());
    validteam = 0;
  }
  record.team = team;
  record.name = name;
  dupq3players[slot].name = name;
}

void delClient(std::string_view line) {
  std::string_view keyword;
  if (contains(line, "ClientConnect:")) {
    keyword = "ClientConnect:";
  } else if (contains(line, "ClientDisconnect:")) {
    keyword = "ClientDisconnect:";
  } else {
    return;
  }
  long long number = 0;
  if (!readClientNumber(line, keyword, number) || number < 0 || number > kCatchAllClient) return;
  ClientRecord& record = q3players[number];
  if (isFree(record)) return;
  std::fprintf(fp_out, "%s disconnected\n", record.name.c_str());
  freeRecord(record);
}

void printChat(std::string_view line) {
  if (!contains(line, "say: ")) return;
  const std::string lower = toLowerCase(line);
  if (contains(lower, "rcon") || contains(lower, "pass")) return;
  std::string_view said = afterKeyword(line, "say: ");
  std::size_t separator = said.find(": ");
  if (separator == std::string_view::npos) return;
  const FixedText name(said.substr(0, separator));
  const FixedText message(said.substr(separator + 2));
  std::fprintf(fp_out, "%s^7: %s\n", name.c_str(), message.c_str());
}

namespace {

enum class TeamWord { kOwn, kOpposing };

struct FlagEvent {
  const char* keyword;
  const char* format;  // filled with the client's name and the team word
  TeamWord team_word;
};

// Tested in this order; the first keyword found decides.
constexpr FlagEvent kFlagEvents[] = {
    {"Flag_Return:", "%s returned the %s flag!\n", TeamWord::kOwn},
    {"Flag_Pickup:", "%s got the %s flag!\n", TeamWord::kOpposing},
    {"Kill_Carrier:", "%s fragged %s's flag carrier!\n", TeamWord::kOpposing},
    {"Defend_Hurt_Carrier:", "%s defends %s's flag carrier against an agressive enemy\n", TeamWord::kOwn},
    {"Defend_Carrier:", "%s defends the %s's flag carrier.\n", TeamWord::kOwn},
    {"Flag_Capture:", "%s captured the %s flag!\n", TeamWord::kOpposing},
    {"Flag_Assist_Return:", "%s gets an assist for returning the %s flag!\n", TeamWord::kOwn},
    {"Flag_Assist_Frag:", "%s gets an assist for fragging the %s flag carrier!\n", TeamWord::kOpposing},
    {"Defend_Flag:", "%s defends the %s flag\n", TeamWord::kOwn},
    {"Defend_Base:", "%s defends the %s base\n", TeamWord::kOwn},
    {"Hurt_Carrier_Defend:", "%s %s's flag carrier defends against an agressive enemy\n", TeamWord::kOwn},
};

}  // namespace

void printCtfStats(std::string_view line) {
  for (const FlagEvent& event : kFlagEvents) {
    if (!contains(line, event.keyword)) continue;
    long long number = 0;
    if (!readClientNumber(line, event.keyword, number) || number < 0 || number > kCatchAllClient) return;
    const ClientRecord& record = q3players[number];
    const char* word = event.team_word == TeamWord::kOwn ? xteam(record.team) : oteam(record.team);
    std::fprintf(fp_out, event.format, record.name.c_str(), word);
    return;
  }
  if (contains(line, "Round starts!")) std::fputs("Round starts!\n", fp_out);
}

namespace {

struct KillCause {
  const char* cause;
  const char* format;
  bool victim_only;  // deaths without a killer name only the victim
};

// Tested in this order as substrings, so a splash cause writes its weapon's
// line and " MOD_LAVADOOM" the lava line.
constexpr KillCause kKillCauses[] = {
    {" MOD_GAUNTLET", "%s was pummeled by %s\n", false},
    {" MOD_MACHINEGUN", "%s was machinegunned by %s\n", false},
    {" MOD_SHOTGUN", "%s was gunned down by %s\n", false},
    {" MOD_ROCKET", "%s almost dodged %s's rocket\n", false},
    {" MOD_GRENADE", "%s was shredded by %s's shrapnel\n", false},
    {" MOD_PLASMA", "%s was melted by %s's plasmagun\n", false},
    {" MOD_LIGHTNING", "%s was electrocuted by %s\n", false},
    {" MOD_RAILGUN", "%s was railed by %s\n", false},
    {" MOD_BFG", "%s was blasted by %s's BFG\n", false},
    {" MOD_TELEFRAG", "%s tried to invade %s's personal space\n", false},
    {" MOD_TRIGGER_HURT", "%s was in the wrong place.\n", true},
    {" MOD_FALLING", "%s cratered.\n", true},
    {" MOD_LAVA", "%s does a back flip into the lava.\n", true},
    {" MOD_SUICIDE", "%s killed itself.\n", true},
    {" MOD_SLIME", "%s melted.\n", true},
    {" MOD_WATER", "%s sank like a rock.\n", true},
    {" MOD_CRUSH", "%s was squished.\n", true},
    {" MOD_GRAPPLE", "%s was disemboweled by %s's grappling hook\n", false},
    {" MOD_NAILGUN", "%s was impaled by %s's shower of nails\n", false},
};

// Gives the record the name from the kill line unless its own name is
// already part of it.
void adoptName(ClientRecord& record, const FixedText& name) {
  if (!contains(name, record.name)) record.name = name;
}

}  // namespace

void printKills(std::string_view line) {
  if (!contains(line, "Kill: ") || !contains(line, " killed ") || !contains(line, " by MOD_")) return;
  // Layout: "Kill: <killer> <victim> <cause>: <killer name> killed <victim name> by MOD_<cause>".
  const std::size_t keyword_at = line.find("Kill: ");
  const std::size_t names_at = line.find(": ", keyword_at + 6);
  if (names_at == std::string_view::npos) return;
  const std::size_t killed_at = line.find(" killed ", names_at + 2);
  if (killed_at == std::string_view::npos) return;
  const std::size_t by_at = line.find(" by MOD_", killed_at + 8);
  if (by_at == std::string_view::npos) return;

  FieldScanner scan(line.substr(keyword_at));
  long long killer_number = 0;
  long long victim_number = 0;
  if (!scan.word() || !scan.number(killer_number) || !scan.number(victim_number)) return;

  const FixedText killer = playerName(line.substr(names_at + 2, killed_at - names_at - 2));
  const FixedText victim = playerName(line.substr(killed_at + 8, by_at - killed_at - 8));
  adoptName(q3players[clientSlot(killer_number)], killer);
  adoptName(q3players[clientSlot(victim_number)], victim);

  // The cause is looked up after the names, so that no player name can
  // change the weapon of a kill.
  const std::string_view cause_text = line.substr(by_at);
  for (const KillCause& cause : kKillCauses) {
    if (!contains(cause_text, cause.cause)) continue;
    if (cause.victim_only) {
      std::fprintf(fp_out, cause.format, victim.c_str());
    } else {
      std::fprintf(fp_out, cause.format, victim.c_str(), killer.c_str());
    }
    return;
  }
}

namespace {

constexpr const char* kPickupItems[] = {
    "item_health",       "item_health_small", "item_health_large", "item_health_mega",
    "item_armor_shard",  "item_armor_combat", "item_armor_body",   "item_quad",
    "item_haste",        "item_regen",        "item_armor_green",  "item_str_cctf",
    "item_res_cctf",     "item_hst_cctf",     "item_reg_cctf",
};

bool holdsPickupItem(std::string_view line) {
  for (const char* item : kPickupItems) {
    if (contains(line, item)) return true;
  }
  return false;
}

}  // namespace

void printItems(std::string_view line) {
  std::string_view from = fromKeyword(line, "Item: ");
  if (from.empty()) return;
  FieldScanner scan(from);
  long long number = -1;
  FixedText item;
  const bool complete = scan.word() && scan.number(number) && scan.word(&item);
  const bool known_client = complete && number >= 0 && number <= kCatchAllClient;

  if (holdsPickupItem(line)) {
    if (known_client) {
      std::fprintf(fp_out, "%s picked up the item %s\n", q3players[number].name.c_str(), item.c_str());
    }
    return;
  }
  // OSP servers report flags with "Flag_Pickup:"; only other servers need
  // the flag taken from the pickup of the enemy's flag item.
  if (OSP != 0 || !known_client) return;
  ClientRecord& record = q3players[number];
  const std::string_view team = xteam(record.team);
  if (contains(item, "team_CTF_redflag") && team == "BLUE") {
    std::fprintf(fp_out, "%s got the RED flag!\n", record.name.c_str());
    record.flag_carrier = 1;
  } else if (contains(item, "team_CTF_blueflag") && team == "RED") {
    std::fprintf(fp_out, "%s got the BLUE flag!\n", record.name.c_str());
    record.flag_carrier = 1;
  }
}

void translateLine(std::string_view line) {
  if (isChatLine(line)) {
    printChat(line);
    return;
  }
  addClient(line);
  delClient(line);
  printChat(line);
  printCtfStats(line);
  printKills(line);
  printItems(line);
  scanWepnStats(line);
}

}  // namespace preparse
