#include "kills.h"

#include "game.h"
#include "line_event.h"
#include "player.h"
#include "players.h"
#include "scoring.h"

int indexOfName(const Game& game, std::string_view name) {
  return name == kNoQuote ? kNobody : getPlayerIndex(game, name);
}

int getVictim(const Game& game, const LineEvent& event) { return indexOfName(game, event.victim_name); }

int getAttacker(const Game& game, const LineEvent& event) { return indexOfName(game, event.attacker_name); }

// Rating arithmetic is single precision throughout: every operand below is a
// float, so each product is rounded to float before it is added.
void updateTables(Game& game, const LineEvent& event) {
  int w = event.weapon;
  if (w > kSuicide) return;
  int v = getVictim(game, event);
  int k = getAttacker(game, event);
  if (!isLivePlayer(game, v) || !isLivePlayer(game, k)) return;
  Q3Player& victim = game.q3players[v];
  Q3Player& killer = game.q3players[k];

  killer.kills_by_weapon[w][v] += 1;
  victim.deaths_by_weapon[w][k] += 1;

  if (v == k) {
    victim.has_flag = 0;  // a carrier who kills himself drops the flag
    victim.combat -= victim.combat / 95.0f;
  } else {
    bool team_kill = (killer.team == kRed || killer.team == kBlue) && killer.team == victim.team;
    if (team_kill) {
      killer.combat += -2.0f;
      killer.skill += -2.0f;
      killer.kills -= 1;
      killer.team_kills += 1;
    } else {
      float factor = getKestroPoints(w);
      killer.skill += factor * (victim.skill / 100.0f + 1.0f);
      killer.combat += factor * (victim.combat / 100.0f + 1.0f);
      victim.combat -= victim.combat / 100.0f;
    }
    if (killer.has_flag == 1) {
      killer.ctf_flag_hold_kills += 1;
      killer.skill += 0.8f;
    }
    killer.current_kill_streak += 1;
  }
  killer.skill = clampRating(killer.skill);
  killer.combat = clampRating(killer.combat);
  victim.combat = clampRating(victim.combat);
  victim.current_death_streak += 1;
  if (killer.current_kill_streak > killer.kill_streak) killer.kill_streak = killer.current_kill_streak;
  if (victim.current_death_streak > victim.death_streak) victim.death_streak = victim.current_death_streak;
  victim.current_kill_streak = 0;
  if (v != k) killer.current_death_streak = 0;
}
