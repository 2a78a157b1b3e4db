#include "teams.h"

#include "game_state.h"
#include "keywords.h"
#include "kills.h"
#include "players.h"
#include "text.h"

void assignTeam(std::string_view line) {
  Q3Player& subject = q3players[getVictim(line)];
  if (contains(line, " is on team ")) {
    std::string_view word = getAttackerName(line);
    if (word == "RED") subject.team = kRed;
    else if (word == "BLUE") subject.team = kBlue;
  } else if (contains(line, " entered the game (^1RED^7)")) {
    subject.team = kRed;
  } else if (contains(line, " entered the game (^4BLUE^7)")) {
    subject.team = kBlue;
  } else if (containsAny(ctf_red_strings, line)) {
    g_gametype = kCaptureTheFlag;
    subject.team = kRed;
  } else if (containsAny(ctf_blue_strings, line)) {
    g_gametype = kCaptureTheFlag;
    subject.team = kBlue;
  }
}

// Team guessing, merging and clan labels arrive with team-game support; until
// then nothing is guessed or merged and every game is a public one.
void assignTeamToUnknownPlayers() {}

int mergeIdenticalPlayerChopped(int) { return kNobody; }

int mergeIdenticalPlayerNonChopped(int) { return kNobody; }

void mergeAllIdenticalPlayers() {}

int allMatched(int, std::string_view) { return 1; }

void detectClans(std::string& destination) { destination = "FFA_PUB"; }
