// The keyword tables of the console-log reader, each once, in its order.
//
// A table is an ordered list of texts searched as substrings of a line; where
// several entries occur in one line, the first in table order wins, so the
// order is behaviour and must not change. valid_strings, reset_strings and
// addPlayer_strings are those of kestrostats-c; the season driver keeps its
// own versions of those three beside its code.
//
// The functions below search a text directly, entry by entry. A line that
// many tables are asked about is read once instead (keyword_index.h).
#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

using KeywordTable = std::span<const std::string_view>;

// Index of the first entry of `table` (in table order) that `text` contains,
// or -1 when it contains none.
int firstContained(KeywordTable table, std::string_view text);

// Bit i is set when `text` contains entry i (tables of up to 64 entries).
std::uint64_t containedMask(KeywordTable table, std::string_view text);

// True when bit `index` of a containedMask result is set.
inline bool hasEntry(std::uint64_t mask, int index) { return (mask >> index & 1) != 0; }

inline bool containsAny(KeywordTable table, std::string_view line) {
  return firstContained(table, line) >= 0;
}

// Raw server-log keywords. A line holding any of them is never analysed.
inline constexpr std::string_view server_keyword[] = {
    "ShutdownGame:",
    "ClientUserinfoChanged: ",
    "InitGame: ",
    "ClientBegin: ",
    "Kill: ",
    "Item: ",
    "ClientConnect: ",
    "ClientDisconnect: ",
    "sayteam: ",
    "say: ",
    "Weapon_Stats: ",
    "Game_Start:",
    "Exit: ",
    "score: ",
    "Warmup:",
};
static_assert(std::size(server_keyword) == 15);

// A line is analysed only if it contains one of these; the first found decides (validLine).
inline constexpr std::string_view valid_strings[] = {
    " was disemboweled by ",
    " was swimming too close to ",
    " was impaled by ",
    "pressed the wrong button.",
    "Accuracy info for: ",
    "^1RED^7 leads: ",
    "^4BLUE^7 leads: ",
    "Match tied: ",
    " entered the game (^4BLUE^7)",
    " entered the game (^1RED^7)",
    " accuracy statistics ",
    " is using model ",
    " is on team ",
    "Match has begun!",
    "^3All players ready!^7 Match starting...",
    "BEGIN SERVER LOG",
    "MATCH COMPLETE",
    "Map: ",
    "Current map: ",
    "Loaded OSP Client Version:",
    "]\\connect ",
    "]/connect ",
    "]\\reconnect",
    "]/reconnect",
    " resolved to ",
    "RE_Shutdown( 0 )",
    "ERROR: Disconnected from server",
    "Lost reliable commands",
    "Server command overflow",
    "disconnected",
    "connected",
    "----- CL_Shutdown -----",
    "renamed to",
    "entered the game",
    "Timelimit hit.",
    "Pointlimit hit.",
    "hit the capturelimit.",
    "hit the fraglimit.",
    "Team joincode is:",
    "wins the match: ",
    "was kicked",
    "was in the wrong place.",
    "cratered.",
    "blew himself up.",
    "blew herself up.",
    "blew itself up.",
    "tripped on his own grenade.",
    "tripped on her own grenade.",
    "tripped on its own grenade.",
    "melted himself.",
    "melted herself.",
    "melted itself.",
    "killed himself.",
    "killed herself.",
    "killed itself.",
    "should have used a smaller gun.",
    "does a back flip into the lava.",
    "was squished.",
    "sank like a rock.",
    "melted.",
    "RED's flag carrier defends against an agressive enemy",
    "got the BLUE flag!",
    "returned the RED flag!",
    "fragged BLUE's flag carrier!",
    "gets an assist for returning the RED flag!",
    "gets an assist for fragging the RED flag carrier!",
    "defends RED's flag carrier against an agressive enemy",
    "defends the RED flag carrier against an agressive enemy!",
    "defends the RED's flag carrier.",
    "defends the RED flag carrier!",
    "defends the RED base",
    "defends the RED flag",
    "captured the BLUE flag!",
    "BLUE's flag carrier defends against an agressive enemy",
    "got the RED flag!",
    "returned the BLUE flag!",
    "fragged RED's flag carrier!",
    "gets an assist for returning the BLUE flag!",
    "gets an assist for fragging the BLUE flag carrier!",
    "defends BLUE's flag carrier against an agressive enemy",
    "defends the BLUE flag carrier against an agressive enemy!",
    "defends the BLUE's flag carrier.",
    "defends the BLUE flag carrier!",
    "defends the BLUE base",
    "defends the BLUE flag",
    "captured the RED flag!",
    " was pummeled by ",
    " was machinegunned by ",
    " was gunned down by ",
    " was shredded by ",
    " almost dodged ",
    " ate ",
    " was electrocuted by ",
    " was railed by ",
    " was melted by ",
    " was blasted by ",
    " tried to invade ",
};
static_assert(std::size(valid_strings) == 97);

// Game-boundary texts, walked in order by checkForNewGameStart.
inline constexpr std::string_view reset_strings[] = {
    "Match has begun!",
    "^3All players ready!^7 Match starting...",
    "MATCH COMPLETE",
    "----- CL_Shutdown -----",
    "ERROR: Disconnected from server",
    "entered the game",
    "Timelimit hit.",
    "Pointlimit hit.",
    "hit the capturelimit.",
    "hit the fraglimit.",
    "Team joincode is:",
    "wins the match: ",
};
static_assert(std::size(reset_strings) == 12);

// Lines that introduce players: their victim and attacker names are added to the table.
inline constexpr std::string_view addPlayer_strings[] = {
    " was disemboweled by ",
    "pressed the wrong button.",
    " was swimming too close to ",
    " was impaled by ",
    "entered the game",
    " was pummeled by ",
    " was machinegunned by ",
    " was gunned down by ",
    " was shredded by ",
    " almost dodged ",
    " ate ",
    " was electrocuted by ",
    " was railed by ",
    " was melted by ",
    " was blasted by ",
    " tried to invade ",
    "was in the wrong place.",
    "cratered.",
    "blew himself up.",
    "blew herself up.",
    "blew itself up.",
    "killed himself.",
    "killed herself.",
    "killed itself.",
    "tripped on his own grenade.",
    "tripped on her own grenade.",
    "tripped on its own grenade.",
    "melted himself.",
    "melted herself.",
    "melted itself.",
    "should have used a smaller gun.",
    "does a back flip into the lava.",
    "was squished.",
    "sank like a rock.",
    "melted.",
    "RED's flag carrier defends against an agressive enemy",
    "got the BLUE flag!",
    "returned the RED flag!",
    "fragged BLUE's flag carrier!",
    "fragged BLUE's flag carrier!",
    "gets an assist for returning the RED flag!",
    "gets an assist for fragging the RED flag carrier!",
    "defends RED's flag carrier against an agressive enemy",
    "defends the RED flag carrier against an agressive enemy!",
    "defends the RED's flag carrier.",
    "defends the RED flag carrier!",
    "defends the RED base",
    "defends the RED flag",
    "captured the BLUE flag!",
    "BLUE's flag carrier defends against an agressive enemy",
    "got the RED flag!",
    "returned the BLUE flag!",
    "fragged RED's flag carrier!",
    "fragged RED's flag carrier!",
    "gets an assist for returning the BLUE flag!",
    "gets an assist for fragging the BLUE flag carrier!",
    "defends BLUE's flag carrier against an agressive enemy",
    "defends the BLUE flag carrier against an agressive enemy!",
    "defends the BLUE's flag carrier.",
    "defends the BLUE flag carrier!",
    "defends the BLUE base",
    "defends the BLUE flag",
    "captured the RED flag!",
};
static_assert(std::size(addPlayer_strings) == 63);

// Endings of deaths without a killer.
inline constexpr std::string_view suicide_strings[] = {
    "pressed the wrong button.",
    "was in the wrong place.",
    "cratered.",
    "blew himself up.",
    "blew herself up.",
    "blew itself up.",
    "tripped on his own grenade.",
    "tripped on her own grenade.",
    "tripped on its own grenade.",
    "melted himself.",
    "melted herself.",
    "melted itself.",
    "killed himself.",
    "killed herself.",
    "killed itself.",
    "should have used a smaller gun.",
    "does a back flip into the lava.",
    "was squished.",
    "sank like a rock.",
    "melted.",
};
static_assert(std::size(suicide_strings) == 20);

// Endings whose subject name stands before them, separated by one character.
inline constexpr std::string_view self_strings[] = {
    "pressed the wrong button.",
    "Lost reliable commands",
    "Server command overflow",
    "disconnected",
    "connected",
    "is NOT ready!",
    "is ready!",
    "entered the game",
    "entered the game (^4BLUE^7)",
    "entered the game (^1RED^7)",
    "was kicked",
    "was in the wrong place.",
    "cratered.",
    "blew himself up.",
    "blew herself up.",
    "blew itself up.",
    "killed himself.",
    "killed herself.",
    "killed itself.",
    "tripped on his own grenade.",
    "tripped on her own grenade.",
    "tripped on its own grenade.",
    "melted himself.",
    "melted herself.",
    "melted itself.",
    "should have used a smaller gun.",
    "does a back flip into the lava.",
    "was squished.",
    "sank like a rock.",
    "melted.",
    "RED's flag carrier defends against an agressive enemy",
    "got the BLUE flag!",
    "returned the RED flag!",
    "fragged BLUE's flag carrier!",
    "gets an assist for returning the RED flag!",
    "gets an assist for fragging the RED flag carrier!",
    "defends RED's flag carrier against an agressive enemy",
    "defends the RED flag carrier against an agressive enemy!",
    "defends the RED's flag carrier.",
    "defends the RED flag carrier!",
    "defends the RED base",
    "defends the RED flag",
    "captured the BLUE flag!",
    "BLUE's flag carrier defends against an agressive enemy",
    "got the RED flag!",
    "returned the BLUE flag!",
    "fragged RED's flag carrier!",
    "gets an assist for returning the BLUE flag!",
    "gets an assist for fragging the BLUE flag carrier!",
    "defends BLUE's flag carrier against an agressive enemy",
    "defends the BLUE flag carrier against an agressive enemy!",
    "defends the BLUE's flag carrier.",
    "defends the BLUE flag carrier!",
    "defends the BLUE base",
    "defends the BLUE flag",
    "captured the RED flag!",
};
static_assert(std::size(self_strings) == 56);

// Separators with a first name before and a second name or value after.
inline constexpr std::string_view dual_strings[] = {
    " was disemboweled by ",
    " was swimming too close to ",
    " was impaled by ",
    " was pummeled by ",
    " was machinegunned by ",
    " was gunned down by ",
    " was shredded by ",
    " almost dodged ",
    " ate ",
    " was electrocuted by ",
    " was railed by ",
    " was melted by ",
    " was blasted by ",
    " tried to invade ",
    " renamed to ",
    " is using model ",
    " is on team ",
    " picked up the item ",
    " accuracy statistics ",
    "Accuracy info for: ",
};
static_assert(std::size(dual_strings) == 20);

// Flag messages whose subject is on the red team.
inline constexpr std::string_view ctf_red_strings[] = {
    "RED's flag carrier defends against an agressive enemy",
    "got the BLUE flag!",
    "returned the RED flag!",
    "fragged BLUE's flag carrier!",
    "gets an assist for returning the RED flag!",
    "gets an assist for fragging the BLUE flag carrier!",
    "defends RED's flag carrier against an agressive enemy",
    "defends the RED flag carrier against an agressive enemy!",
    "defends the RED's flag carrier.",
    "defends the RED flag carrier!",
    "defends the RED base",
    "defends the RED flag",
    "captured the BLUE flag!",
};
static_assert(std::size(ctf_red_strings) == 13);

// Flag messages whose subject is on the blue team.
inline constexpr std::string_view ctf_blue_strings[] = {
    "BLUE's flag carrier defends against an agressive enemy",
    "got the RED flag!",
    "returned the BLUE flag!",
    "fragged RED's flag carrier!",
    "gets an assist for returning the BLUE flag!",
    "gets an assist for fragging the RED flag carrier!",
    "defends BLUE's flag carrier against an agressive enemy",
    "defends the BLUE flag carrier against an agressive enemy!",
    "defends the BLUE's flag carrier.",
    "defends the BLUE flag carrier!",
    "defends the BLUE base",
    "defends the BLUE flag",
    "captured the RED flag!",
};
static_assert(std::size(ctf_blue_strings) == 13);

// The texts that tell an obituary's weapon (kills.cpp names each index).
inline constexpr std::string_view weapon_strings[] = {
    " was pummeled by ", " was machinegunned by ", " was gunned down by ", "tripped on his own grenade.",
    "tripped on her own grenade.", "tripped on its own grenade.", " ate ", " was shredded by ", "grenade",
    "shrapnel", "blew himself up.", "blew herself up.", "blew itself up.", " almost dodged ", "rocket",
    " was electrocuted by ", " was railed by ", " was melted by ", "plasmagun", "melted himself.",
    "melted herself.", "melted itself.", " was blasted by ", "BFG", "should have used a smaller gun.",
    " tried to invade ", "cratered.", "was in the wrong place.", "killed itself.", "killed himself.",
    "killed herself.", "does a back flip into the lava.", "was squished.", "sank like a rock.", "melted.",
    " was impaled by ", " was disemboweled by ", "pressed the wrong button.", " was swimming too close to ",
};

// The flag messages in the order they are tested: the first that a line
// contains decides what it counts as (events.cpp).
inline constexpr std::string_view flag_strings[] = {
    "got the RED flag!",                                          // 0: pick-up
    "got the BLUE flag!",
    "returned the RED flag!",                                     // 2: return
    "returned the BLUE flag!",
    "fragged RED's flag carrier!",                                // 4: carrier kill
    "fragged BLUE's flag carrier!",
    "captured the RED flag!",                                     // 6: capture
    "captured the BLUE flag!",
    "gets an assist for fragging the",                            // 8: assists
    "gets an assist for returning the",
    "defends RED's flag carrier against an agressive enemy",      // 10: defence against an aggressive enemy
    "defends BLUE's flag carrier against an agressive enemy",
    "defends the RED flag carrier against an agressive enemy!",
    "defends the BLUE flag carrier against an agressive enemy!",
    "defends the RED's flag carrier.",                            // 14: carrier defence
    "defends the BLUE's flag carrier.",
    "defends the RED flag carrier!",
    "defends the BLUE flag carrier!",
    "defends the RED base",                                       // 18: base or flag defence
    "defends the BLUE base",
    "defends the RED flag",
    "defends the BLUE flag",
    "RED's flag carrier defends against an agressive enemy",      // 22: the carrier defends himself
    "BLUE's flag carrier defends against an agressive enemy",
};

// Every text the bookkeeping step looks for, on the colour-free line. A line
// holding none of them (most lines: kills) is no bookkeeping line.
inline constexpr std::string_view bookkeeping_strings[] = {
    "RE_Shutdown( 0 )", "Loaded OSP Client Version:", " is using model ", "Current map: ", "]\\reconnect",
    "]/reconnect",      "]\\connect ",                 "]/connect ",       " resolved to ", "renamed to",
    "disconnected",     "Server command overflow",    "Lost reliable commands", "was kicked", "entered the game",
};

// Lines that tell a player's team, in the order they are tested (teams.cpp).
inline constexpr std::string_view team_strings[] = {
    " is on team ", " entered the game (^1RED^7)", " entered the game (^4BLUE^7)"};

// Clan-arena round results.
inline constexpr std::string_view round_strings[] = {"^1RED^7 leads: ", "^4BLUE^7 leads: ", "Match tied: "};

// The tables asked of a line's colour-free copy (LineEvent::stripped_scan):
// the copy is scanned for these only, and any other table asked of it is
// searched directly.
inline constexpr KeywordTable kColourFreeTables[] = {
    addPlayer_strings, bookkeeping_strings, dual_strings, self_strings, suicide_strings,
};

// Every table of the console reader, for its keyword index.
inline constexpr KeywordTable kReaderTables[] = {
    server_keyword, valid_strings,  reset_strings, addPlayer_strings,   suicide_strings, self_strings,
    dual_strings,   ctf_red_strings, ctf_blue_strings, weapon_strings, flag_strings,    bookkeeping_strings,
    round_strings,  team_strings,
};
