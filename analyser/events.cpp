#include "events.h"

#include <cstdio>
#include <string>

#include "game_state.h"
#include "keywords.h"
#include "kills.h"
#include "players.h"
#include "teams.h"
#include "text.h"

namespace {

// Names of 30 or more characters appear cut to 29 in some console lines.
constexpr std::size_t kCutNameLength = 29;

// Record found under the first 29 characters of `name` (kNobody when absent).
int cutNameIndex(std::string_view name) { return getPlayerIndex(name.substr(0, kCutNameLength)); }

void markFlagPickup(std::string_view line, int subject) {
  if (q3players[subject].raw_name.size() < 30) {
    q3players[subject].has_flag = 1;
  } else {
    q3players[cutNameIndex(getVictimName(line))].has_flag = 1;
  }
}

// The record that takes a disconnect or re-entry marker: the merged record
// when the player's cut and full names were just merged, else the player.
void markDeparted(int subject, int merged, std::string_view marker) {
  Q3Player& p = q3players[isLivePlayer(merged) ? merged : subject];
  p.disconnected = 1;
  p.raw_name.append(marker);
}

// The third blank-separated word of `line`, or "" when it has fewer.
std::string thirdWord(std::string_view line) {
  char words[3][kTextBufferSize];
  std::string text(line);
  if (std::sscanf(text.c_str(), "%509s %509s %509s", words[0], words[1], words[2]) < 3) return {};
  return words[2];
}

// Lines of the map, the OSP banner, models and clan-arena rounds. Returns 1
// when the line was one of them.
int handleGameInfoLine(std::string_view line, std::string_view stripped) {
  if (contains(stripped, "Loaded OSP Client Version:")) {
    g_mod = 1;
    return 1;
  }
  if (contains(stripped, " is using model ")) {
    int s = getVictim(line);
    if (isLivePlayer(s)) q3players[s].model.assign(getAttackerName(line));
    return 1;
  }
  if (contains(stripped, "Current map: ")) {
    g_mapname.assign(toLowerCase(thirdWord(line)));
    std::printf("MAP: %s\n", g_mapname.c_str());
    return 1;
  }
  if (contains(line, "^1RED^7 leads: ")) {
    g_ca_win_red += 1;
    g_gametype = kClanArena;
    return 1;
  }
  if (contains(line, "^4BLUE^7 leads: ")) {
    g_ca_win_blue += 1;
    g_gametype = kClanArena;
    return 1;
  }
  if (contains(line, "Match tied: ")) {
    g_gametype = kClanArena;
    if (g_ca_win_red < g_ca_win_blue) g_ca_win_red += 1;
    else if (g_ca_win_blue < g_ca_win_red) g_ca_win_blue += 1;
    return 1;
  }
  return 0;
}

// The client's connect or reconnect command, then the address line, then the
// renderer shutdown: the client left the server, so the game is closed.
// Returns 1 when the line advanced the detector and is fully handled.
int detectReconnect(std::string_view stripped) {
  if (g_connect_sequence == 0 &&
      containsAnyOf(stripped, {"]\\reconnect", "]/reconnect", "]\\connect ", "]/connect "})) {
    g_connect_sequence = 1;
    return 1;
  }
  if (g_connect_sequence == 1 && contains(stripped, " resolved to ")) {
    g_connect_sequence = 2;
    return 1;
  }
  if (g_connect_sequence == 2 && contains(stripped, "RE_Shutdown( 0 )")) g_connect_sequence = kGameEnds;
  return 0;
}

void handleRename(std::string_view line, std::string_view stripped) {
  Q3Player& p = q3players[getVictim(line)];
  p.name.assign(getAttackerName(stripped));
  p.raw_name.assign(getAttackerName(line));
}

void handleDeparture(std::string_view line, std::string_view stripped) {
  FixedText raw(line);
  FixedText colour_free(stripped);
  if (contains(colour_free, "disconnected") && getVictimName(raw).size() >= 30) {
    // A long name arrives cut in a disconnect line: drop positions 29 and 30.
    std::string rewritten(raw.view().substr(0, kCutNameLength));
    if (raw.size() > 31) rewritten.append(raw.view().substr(31));
    raw.assign(rewritten);
    stripColorCodes(raw, colour_free);
  }
  int s = getVictim(raw);
  if (!isLivePlayer(s)) return;
  int merged = contains(colour_free, "disconnected") ? mergeIdenticalPlayerChopped(s)
                                                     : mergeIdenticalPlayerNonChopped(s);
  markDeparted(s, merged, kDisconnectMarker);
}

void handleEntry(std::string_view line) {
  int s = getVictim(line);
  if (!isLivePlayer(s)) return;
  int team = q3players[s].team;
  if ((team == kRed && contains(line, " entered the game (^1RED^7)")) ||
      (team == kBlue && contains(line, " entered the game (^4BLUE^7)"))) {
    return;
  }
  // Seen again: retire the old record so the entering name starts a new one.
  g_int_swap += 1;
  int merged = mergeIdenticalPlayerNonChopped(s);
  std::string marker = "^7<font color=#CC6600>&nbsp;" + std::to_string(g_int_swap) + "</font>";
  markDeparted(s, merged, marker);
}

}  // namespace

namespace {

// The flag messages in the order they are tested: the first that a line
// contains decides what it counts as.
constexpr std::string_view kFlagMessages[] = {
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

void applyFlagMessage(int message, std::string_view line, int s) {
  Q3Player& p = q3players[s];
  if (message <= 1) {
    p.ctf_flag_touches += 1;
    markFlagPickup(line, s);
  } else if (message <= 3) {
    p.ctf_flag_returns += 1;
    p.skill += 0.2f;
    resetHaveFlag(message == 2 ? kBlue : kRed);  // the other team's carrier lost the flag
  } else if (message <= 5) {
    p.ctf_efc_kills += 1;
    p.skill += 0.5f;
  } else if (message <= 7) {
    p.ctf_flag_caps += 1;
    p.skill += 5.0f;
    resetHaveFlag(kBlue);
    resetHaveFlag(kRed);
  } else if (message == 8) {
    p.ctf_assist_efc_kills += 1;
    p.skill += 0.2f;
  } else if (message == 9) {
    p.ctf_assist_flag_returns += 1;
    p.skill += 0.1f;
  } else if (message <= 13) {
    p.ctf_fc_defends_aggressive += 1;
    p.skill += 1.0f;
  } else if (message <= 17) {
    p.ctf_fc_defends += 1;
    p.skill += 0.8f;
  } else if (message <= 21) {
    p.ctf_base_defends += 1;
    p.skill += 0.3f;
  } else {
    p.ctf_hurt_carrier_defends += 1;
  }
}

}  // namespace

void updateCTFStats(std::string_view line) {
  int message = firstContained(kFlagMessages, line);
  if (message < 0) return;
  applyFlagMessage(message, line, getVictim(line));
  g_gametype = kCaptureTheFlag;
}

void resetHaveFlag(int team) {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].team == team) q3players[i].has_flag = 0;
    if (q3players[i].raw_name.size() > kCutNameLength) q3players[cutNameIndex(q3players[i].raw_name)].has_flag = 0;
  }
}

namespace {

// Every text updateMiscInfo looks for, on the colour-free line and on the
// raw line. A line holding none of them (most lines: kills) is not a
// bookkeeping line, and one pass over it says so.
constexpr std::string_view kBookkeepingTexts[] = {
    "RE_Shutdown( 0 )", "Loaded OSP Client Version:", " is using model ", "Current map: ", "]\\reconnect",
    "]/reconnect",      "]\\connect ",                 "]/connect ",       " resolved to ", "renamed to",
    "disconnected",     "Server command overflow",    "Lost reliable commands", "was kicked", "entered the game",
};
constexpr std::string_view kRoundResults[] = {"^1RED^7 leads: ", "^4BLUE^7 leads: ", "Match tied: "};

bool isBookkeepingLine(std::string_view line, std::string_view stripped_line) {
  return containedMask(kBookkeepingTexts, stripped_line) != 0 || containedMask(kRoundResults, line) != 0;
}

}  // namespace

int updateMiscInfo(std::string_view line, std::string_view stripped_line) {
  if (!isBookkeepingLine(line, stripped_line)) return 0;
  if (contains(stripped_line, "RE_Shutdown( 0 )")) {
    g_mod = 0;
  } else if (handleGameInfoLine(line, stripped_line)) {
    return 1;
  }
  if (detectReconnect(stripped_line)) return 1;
  if (contains(stripped_line, "renamed to")) {
    handleRename(line, stripped_line);
    return 1;
  }
  if (containsAnyOf(stripped_line, {"disconnected", "Server command overflow", "Lost reliable commands", "was kicked"})) {
    handleDeparture(line, stripped_line);
    return 1;
  }
  if (contains(stripped_line, "entered the game") && g_log_type == 0) handleEntry(line);
  return 0;
}
