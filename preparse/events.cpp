// The event translators of Preparser: joins, renames, disconnects, chat,
// flag events, kills and pickups.
#include <algorithm>
#include <array>
#include <string>

#include "line_text.h"
#include "preparser.h"

namespace preparse {

namespace {

// The three lines that introduce a player to the console reader.
void writeJoinLines(Output& out, const FixedText& name, std::string_view team_word, const FixedText& model) {
  out.print("%s entered the game\n", {name});
  out.print("%s is on team %s\n", {name, team_word});
  out.print("%s is using model %s\n", {name, model});
}

// A name cut from a line, with the colour reset the console form carries.
FixedText playerName(std::string_view text) {
  FixedText name(text);
  name.append("^7");
  return name;
}

void noteBot(StatedFacts& facts, const std::string& name) {
  if (std::find(facts.bots.begin(), facts.bots.end(), name) == facts.bots.end()) facts.bots.push_back(name);
}

}  // namespace

void Preparser::addClient(std::string_view event) {
  if (!event.starts_with("ClientUserinfoChanged: ") || !contains(event, "\\t\\") ||
      !contains(event, "\\model\\")) {
    return;
  }
  // The name runs from " n\" to the "\t\" after it; a line without that
  // layout names nobody and is passed over.
  std::size_t name_at = event.find(" n\\");
  if (name_at == std::string_view::npos) return;
  name_at += 3;
  std::size_t team_at = event.find("\\t\\", name_at);
  if (team_at == std::string_view::npos) return;
  long long number = 0;
  if (!readClientNumber(event, "ClientUserinfoChanged:", number)) return;

  const FixedText name = playerName(event.substr(name_at, team_at - name_at));
  // The server gives its bots a skill; a client's userinfo has none.
  // (The reader's raw name is the userinfo name: the "^7" the console form
  // adds is no part of it.)
  if (contains(event, "\\skill\\")) noteBot(game.facts.stated, std::string(event.substr(name_at, team_at - name_at)));
  const FixedText model(upTo(afterKeyword(event, "\\model\\"), "\\"));
  char team = team_at + 3 < event.size() ? event[team_at + 3] : '\0';
  int& validteam = game.validteam;
  if (team == '1' || team == '2') validteam = 1;
  if (team < '0' || team > '3') team = '0';

  const int slot = clientSlot(number);
  ClientRecord& record = game.q3players[slot];
  const bool free = isFree(record);
  bool joined = false;
  if (free && validteam == 1) {
    writeJoinLines(out_, name, xteam(team), model);
    validteam = 0;
    joined = true;
  }
  if (!contains(record.name, name) && !free) {
    // The reader renames its player too, so an introduced client stays so.
    out_.print("%s renamed to %s\n", {record.name, name});
    record.name = name;
  }
  if (contains(record.name, name) && record.team != team && validteam == 1) {
    writeJoinLines(out_, name, xteam(team), model);
    validteam = 0;
    joined = true;
  }
  if (game.gametype.view() == "1" && free && team == '0') {
    writeJoinLines(out_, name, "FFA", model);
    validteam = 0;
    joined = true;
  }
  // A name that changes without a line written is one the reader never saw.
  if (record.name != name) record.introduced = false;
  if (joined) record.introduced = true;
  record.team = team;
  record.name = name;
  game.dupq3players[slot].name = name;
}

void Preparser::delClient(std::string_view event) {
  std::string_view keyword;
  if (event.starts_with("ClientConnect:")) {
    keyword = "ClientConnect:";
  } else if (event.starts_with("ClientDisconnect:")) {
    keyword = "ClientDisconnect:";
  } else {
    return;
  }
  long long number = 0;
  if (!readClientNumber(event, keyword, number) || number < 0 || number > kCatchAllClient) return;
  ClientRecord& record = game.q3players[number];
  if (isFree(record)) return;
  out_.print("%s disconnected\n", {record.name});
  freeRecord(record);
}

namespace {

// The client's name without the colour reset that ends it: the name as the
// server writes it in its own lines.
std::string_view serverName(const FixedText& name) {
  std::string_view text = name.view();
  if (text.ends_with("^7")) text.remove_suffix(2);
  return text;
}

// The name with its colour codes ("^" and the character after it) left
// out, written into `text`, which holds any name.
std::string_view colourFree(std::string_view name, std::array<char, kTextBufferSize>& text) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < name.size() && length < text.size(); ++i) {
    if (name[i] == '^' && i + 1 < name.size()) {
      ++i;
    } else {
      text[length++] = name[i];
    }
  }
  return {text.data(), length};
}

// Length of the sender part of `said` ("name: ") when it names `record`, 0
// when it does not. `exact` compares the name as the server writes it (with
// or without the final colour reset), otherwise its colour-free form, which
// some servers write in chat lines.
std::size_t senderLength(const ClientRecord& record, std::string_view said, bool exact) {
  if (exact) {
    for (std::string_view name : {record.name.view(), serverName(record.name)}) {
      if (said.starts_with(name) && said.substr(name.size()).starts_with(": ")) return name.size() + 2;
    }
    return 0;
  }
  std::array<char, kTextBufferSize> buffer;
  const std::string_view name = colourFree(serverName(record.name), buffer);
  return said.starts_with(name) && said.substr(name.size()).starts_with(": ") ? name.size() + 2 : 0;
}

// The introduced client whose name begins `said`, followed by ": ". A name
// may itself hold ": ", so the longest match wins; the colour-free form is
// tried only when no name matches as written. Null when no such client:
// the reader would not know the sender, and might read the text as events.
const ClientRecord* findSender(const ClientTable& q3players, std::string_view said, std::size_t& sender_length) {
  const ClientRecord* sender = nullptr;
  sender_length = 0;
  for (bool exact : {true, false}) {
    for (const ClientRecord& record : q3players) {
      if (!record.introduced) continue;
      std::size_t length = senderLength(record, said, exact);
      if (length > sender_length) {
        sender = &record;
        sender_length = length;
      }
    }
    if (sender != nullptr) break;
  }
  return sender;
}

}  // namespace

void Preparser::printChat(std::string_view event) {
  static constexpr Format kSay = "%s: %s\n";
  static constexpr Format kSayTeam = "(%s): %s\n";
  std::string_view said;
  const Format* format = nullptr;
  if (event.starts_with("say: ")) {
    said = event.substr(5);
    format = &kSay;
  } else if (event.starts_with("sayteam: ")) {
    said = event.substr(9);
    format = &kSayTeam;
  } else {
    return;
  }
  // The time stamp before the event text holds no letters.
  if (containsIgnoringCase(event, "rcon") || containsIgnoringCase(event, "pass")) return;
  std::size_t sender_length = 0;
  const ClientRecord* sender = findSender(game.q3players, said, sender_length);
  if (sender == nullptr) return;
  out_.print(*format, {sender->name, said.substr(sender_length)});
}

namespace {

enum class TeamWord { kOwn, kOpposing };

struct FlagEvent {
  std::string_view keyword;
  Format format;  // filled with the client's name and the team word
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

void Preparser::printCtfStats(std::string_view event) {
  for (const FlagEvent& flag_event : kFlagEvents) {
    if (!event.starts_with(flag_event.keyword)) continue;
    long long number = 0;
    if (!readClientNumber(event, flag_event.keyword, number) || number < 0 || number > kCatchAllClient) return;
    const ClientRecord& record = game.q3players[number];
    const std::string_view word = flag_event.team_word == TeamWord::kOwn ? xteam(record.team) : oteam(record.team);
    out_.print(flag_event.format, {record.name, word});
    return;
  }
  if (event.starts_with("Round starts!")) out_.put("Round starts!\n");
}

namespace {

struct KillCause {
  std::string_view cause;
  Format format;
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
// already part of it. A name taken silently is not yet known to the reader.
void adoptName(ClientRecord& record, const FixedText& name) {
  if (contains(name, record.name)) return;
  record.name = name;
  record.introduced = false;
}

// An obituary introduces the names it shows to the reader.
void introduceIfNamed(ClientRecord& record, const FixedText& written_name) {
  if (record.name == written_name) record.introduced = true;
}

// The first cause of kKillCauses that `cause_text` contains; null for none.
const KillCause* findCause(std::string_view cause_text) {
  // Every cause begins with " MOD_", so only where that stands can one be
  // found; there is mostly one such place.
  constexpr std::string_view kMark = " MOD_";
  std::size_t marks[kMaxTextLength / kMark.size() + 1];
  std::size_t count = 0;
  for (std::size_t at = cause_text.find(kMark); at != std::string_view::npos && count < std::size(marks);
       at = cause_text.find(kMark, at + 1)) {
    marks[count++] = at;
  }
  for (const KillCause& cause : kKillCauses) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view rest = cause_text.substr(marks[i]);
      // The letter after " MOD_" rules out most causes without a compare.
      if (rest.size() > kMark.size() && rest[kMark.size()] == cause.cause[kMark.size()] && rest.starts_with(cause.cause)) {
        return &cause;
      }
    }
  }
  return nullptr;
}

}  // namespace

void Preparser::printKills(std::string_view event) {
  if (!event.starts_with("Kill: ")) return;
  // Layout: "Kill: <killer> <victim> <cause>: <killer name> killed <victim name> by MOD_<cause>".
  const std::size_t names_at = event.find(": ", 6);
  if (names_at == std::string_view::npos) return;
  const std::size_t killed_at = event.find(" killed ", names_at + 2);
  if (killed_at == std::string_view::npos) return;
  // The cause is the line's last " by MOD_": a victim's name may hold one.
  const std::size_t by_at = lastOccurrence(event, " by MOD_");
  if (by_at == std::string_view::npos || by_at < killed_at + 8) return;

  // The fields after the keyword "Kill:", which ends at the blank at 5.
  FieldScanner scan(event.substr(5));
  long long killer_number = 0;
  long long victim_number = 0;
  if (!scan.number(killer_number) || !scan.number(victim_number)) return;

  const FixedText killer = playerName(event.substr(names_at + 2, killed_at - names_at - 2));
  const FixedText victim = playerName(event.substr(killed_at + 8, by_at - killed_at - 8));
  ClientRecord& killer_record = game.q3players[clientSlot(killer_number)];
  ClientRecord& victim_record = game.q3players[clientSlot(victim_number)];
  adoptName(killer_record, killer);
  adoptName(victim_record, victim);

  // The cause is looked up after the names, so that no player name can
  // change the weapon of a kill.
  const KillCause* cause = findCause(event.substr(by_at));
  if (cause == nullptr) return;
  if (cause->victim_only) {
    out_.print(cause->format, {victim});
  } else {
    out_.print(cause->format, {victim, killer});
    introduceIfNamed(killer_record, killer);
  }
  introduceIfNamed(victim_record, victim);
}

namespace {

constexpr std::string_view kPickupItems[] = {
    "item_health",       "item_health_small", "item_health_large", "item_health_mega",
    "item_armor_shard",  "item_armor_combat", "item_armor_body",   "item_quad",
    "item_haste",        "item_regen",        "item_armor_green",  "item_str_cctf",
    "item_res_cctf",     "item_hst_cctf",     "item_reg_cctf",
};

// True when the text contains any of kPickupItems.
bool holdsPickupItem(std::string_view text) {
  // Every item begins with "item_": only where that stands can one be found.
  constexpr std::string_view kMark = "item_";
  for (std::size_t at = text.find(kMark); at != std::string_view::npos; at = text.find(kMark, at + 1)) {
    const std::string_view rest = text.substr(at);
    if (rest.size() <= kMark.size()) break;
    for (std::string_view item : kPickupItems) {
      // The letter after "item_" rules out most items without a compare.
      if (rest[kMark.size()] == item[kMark.size()] && rest.starts_with(item)) return true;
    }
  }
  return false;
}

}  // namespace

void Preparser::printItems(std::string_view event) {
  if (!event.starts_with("Item: ")) return;
  // The fields after the keyword "Item:", which ends at the blank at 5.
  FieldScanner scan(event.substr(5));
  long long number = -1;
  std::string_view item;
  const bool complete = scan.number(number) && scan.word(item);
  const bool known_client = complete && number >= 0 && number <= kCatchAllClient;

  if (holdsPickupItem(event)) {
    if (known_client) {
      out_.print("%s picked up the item %s\n", {game.q3players[number].name, item});
    }
    return;
  }
  // OSP servers report flags with "Flag_Pickup:"; only other servers need
  // the flag taken from the pickup of the enemy's flag item.
  if (game.OSP != 0 || !known_client) return;
  ClientRecord& record = game.q3players[number];
  const std::string_view team = xteam(record.team);
  if (contains(item, "team_CTF_redflag") && team == "BLUE") {
    out_.print("%s got the RED flag!\n", {record.name});
    record.flag_carrier = 1;
  } else if (contains(item, "team_CTF_blueflag") && team == "RED") {
    out_.print("%s got the BLUE flag!\n", {record.name});
    record.flag_carrier = 1;
  }
}

void Preparser::translateLine(std::string_view line) { translateEvent(eventText(line)); }

void Preparser::translateEvent(std::string_view event) {
  // Every translator looks at its own event keyword only, so the keyword's
  // first character already rules most of them out.
  if (event.empty()) return;
  switch (event[0]) {
    case 'C':  // ClientUserinfoChanged:, ClientConnect:, ClientDisconnect:
      addClient(event);
      delClient(event);
      break;
    case 's':  // say:, sayteam:
      printChat(event);
      break;
    case 'K':  // Kill:, or the flag event Kill_Carrier:
      if (event.starts_with("Kill: ")) {
        printKills(event);
      } else {
        printCtfStats(event);
      }
      break;
    case 'I':  // Item:
      printItems(event);
      break;
    case 'W':  // Weapon_Stats:
    case '^':  // a client's "^7Stats for " block
      scanWepnStats(event);
      break;
    default:  // the other flag events and "Round starts!"
      printCtfStats(event);
      break;
  }
}

}  // namespace preparse
