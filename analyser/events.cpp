#include "events.h"

#include <cstdio>
#include <string>

#include "game.h"
#include "keywords.h"
#include "kills.h"
#include "line_event.h"
#include "line_names.h"
#include "players.h"
#include "teams.h"
#include "text.h"

namespace {

// Names of 30 or more characters appear cut to 29 in some console lines.
constexpr std::size_t kCutNameLength = 29;

// Record found under the first 29 characters of `name` (kNobody when absent).
int cutNameIndex(const Game& game, std::string_view name) {
  return getPlayerIndex(game, name.substr(0, kCutNameLength));
}

void markFlagPickup(Game& game, const LineEvent& event, int subject) {
  if (game.q3players[subject].raw_name.size() < 30) {
    game.q3players[subject].has_flag = 1;
  } else {
    game.q3players[cutNameIndex(game, event.victim_name)].has_flag = 1;
  }
}

// The record that takes a disconnect or re-entry marker: the merged record
// when the player's cut and full names were just merged, else the player.
void markDeparted(Game& game, int subject, int merged, std::string_view marker) {
  Q3Player& p = game.q3players[isLivePlayer(game, merged) ? merged : subject];
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

// Lines of the map, the OSP banner, models and clan-arena rounds. True
// when the line was one of them.
bool handleGameInfoLine(Game& game, Run& run, const LineEvent& event) {
  const LineScan& line = event.scan;
  const LineScan& stripped = event.stripped_scan;
  if (stripped.contains("Loaded OSP Client Version:")) {
    run.osp_client = true;
    return true;
  }
  if (stripped.contains(" is using model ")) {
    int s = getVictim(game, event);
    if (isLivePlayer(game, s)) game.q3players[s].model.assign(event.attacker_name);
    return true;
  }
  if (stripped.contains("Current map: ")) {
    game.mapname.assign(mapOfLine(event.line()));
    std::printf("MAP: %s\n", game.mapname.c_str());
    return true;
  }
  if (line.contains("^1RED^7 leads: ")) {
    game.ca_win_red += 1;
    game.gametype = kClanArena;
    return true;
  }
  if (line.contains("^4BLUE^7 leads: ")) {
    game.ca_win_blue += 1;
    game.gametype = kClanArena;
    return true;
  }
  if (line.contains("Match tied: ")) {
    game.gametype = kClanArena;
    if (game.ca_win_red < game.ca_win_blue) game.ca_win_red += 1;
    else if (game.ca_win_blue < game.ca_win_red) game.ca_win_blue += 1;
    return true;
  }
  return false;
}

// The client's connect or reconnect command, then the address line, then the
// renderer shutdown: the client left the server, so the game is closed.
// True when the line advanced the detector and is fully handled.
bool detectReconnect(Game& game, std::string_view stripped) {
  if (game.connect_sequence == ReconnectStep::kNone &&
      containsAnyOf(stripped, {"]\\reconnect", "]/reconnect", "]\\connect ", "]/connect "})) {
    game.connect_sequence = ReconnectStep::kCommand;
    return true;
  }
  if (game.connect_sequence == ReconnectStep::kCommand && contains(stripped, " resolved to ")) {
    game.connect_sequence = ReconnectStep::kResolved;
    return true;
  }
  if (game.connect_sequence == ReconnectStep::kResolved && contains(stripped, "RE_Shutdown( 0 )")) {
    game.connect_sequence = ReconnectStep::kLeft;
  }
  return false;
}

void handleRename(Game& game, const LineEvent& event) {
  Q3Player& p = game.q3players[getVictim(game, event)];
  p.name.assign(getAttackerName(event.stripped_scan));
  p.raw_name.assign(event.attacker_name);
}

void handleDeparture(Game& game, const LineEvent& event) {
  int s = getVictim(game, event);
  bool disconnected = event.stripped_scan.contains("disconnected");
  if (disconnected && event.victim_name.size() >= 30) {
    // A long name arrives cut in a disconnect line: drop positions 29 and 30.
    std::string_view raw = event.line();
    FixedText rewritten(raw.substr(0, kCutNameLength));
    if (raw.size() > 31) rewritten.append(raw.substr(31));
    FixedText colour_free;
    stripColorCodes(rewritten, colour_free);
    disconnected = contains(colour_free, "disconnected");
    s = indexOfName(game, getVictimName(LineScan(event.scan.index(), rewritten)));
  }
  if (!isLivePlayer(game, s)) return;
  int merged = disconnected ? mergeIdenticalPlayerChopped(game, s) : mergeIdenticalPlayerNonChopped(game, s);
  markDeparted(game, s, merged, kDisconnectMarker);
}

void handleEntry(Game& game, const LineEvent& event) {
  int s = getVictim(game, event);
  if (!isLivePlayer(game, s)) return;
  Team team = game.q3players[s].team;
  if ((team == kRed && event.scan.contains(" entered the game (^1RED^7)")) ||
      (team == kBlue && event.scan.contains(" entered the game (^4BLUE^7)"))) {
    return;
  }
  // Seen again: retire the old record so the entering name starts a new one.
  game.int_swap += 1;
  int merged = mergeIdenticalPlayerNonChopped(game, s);
  std::string marker = "^7<font color=#CC6600>&nbsp;" + std::to_string(game.int_swap) + "</font>";
  markDeparted(game, s, merged, marker);
}

void applyFlagMessage(Game& game, int message, const LineEvent& event, int s) {
  Q3Player& p = game.q3players[s];
  if (message <= 1) {
    p.ctf_flag_touches += 1;
    markFlagPickup(game, event, s);
  } else if (message <= 3) {
    p.ctf_flag_returns += 1;
    p.skill += 0.2f;
    resetHaveFlag(game, message == 2 ? kBlue : kRed);  // the other team's carrier lost the flag
  } else if (message <= 5) {
    p.ctf_efc_kills += 1;
    p.skill += 0.5f;
  } else if (message <= 7) {
    p.ctf_flag_caps += 1;
    p.skill += 5.0f;
    resetHaveFlag(game, kBlue);
    resetHaveFlag(game, kRed);
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

bool isBookkeepingLine(const LineEvent& event) {
  return event.stripped_scan.containedMask(bookkeeping_strings) != 0 ||
         event.scan.containedMask(round_strings) != 0;
}

}  // namespace

void updateCTFStats(Game& game, const LineEvent& event) {
  int message = event.scan.firstContained(flag_strings);
  if (message < 0) return;
  applyFlagMessage(game, message, event, getVictim(game, event));
  game.gametype = kCaptureTheFlag;
}

void resetHaveFlag(Game& game, Team team) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    if (p.team == team) p.has_flag = 0;
    if (p.raw_name.size() > kCutNameLength) game.q3players[cutNameIndex(game, p.raw_name)].has_flag = 0;
  }
}

bool updateMiscInfo(Game& game, Run& run, const LineEvent& event) {
  if (!isBookkeepingLine(event)) return false;
  std::string_view stripped = event.stripped;
  if (contains(stripped, "RE_Shutdown( 0 )")) {
    run.osp_client = false;
  } else if (handleGameInfoLine(game, run, event)) {
    return true;
  }
  if (detectReconnect(game, stripped)) return true;
  if (contains(stripped, "renamed to")) {
    handleRename(game, event);
    return true;
  }
  if (containsAnyOf(stripped, {"disconnected", "Server command overflow", "Lost reliable commands", "was kicked"})) {
    handleDeparture(game, event);
    return true;
  }
  if (contains(stripped, "entered the game") && run.log_type == LogForm::kConsole) handleEntry(game, event);
  return false;
}

std::string mapOfLine(std::string_view line) { return toLowerCase(thirdWord(line)); }
