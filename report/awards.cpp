#include "awards.h"

#include <cmath>
#include <functional>
#include <initializer_list>

#include "game.h"
#include "kills.h"
#include "page_writer.h"

namespace {

// Image elements of the awards, stored whole, indexed by slot.
constexpr const char* kAwardImages[kAwardCount] = {
    "<IMG src=images/awards/carnage_gauntlet.jpg TITLE=\"best killer with gauntlet\">&nbsp;",
    "<IMG src=images/awards/carnage_machine.jpg TITLE=\"best killer with machine gun\">&nbsp;",
    "<IMG src=images/awards/carnage_shot.jpg TITLE=\"best killer with shot gun\">&nbsp;",
    "<IMG src=images/awards/carnage_grenade.jpg TITLE=\"best killer with grenade launcher\">&nbsp;",
    "<IMG src=images/awards/carnage_rocket.jpg TITLE=\"best killer with rocket launcher\">&nbsp;",
    "<IMG src=images/awards/carnage_lightning.jpg TITLE=\"best killer with lightning gun\">&nbsp;",
    "<IMG src=images/awards/carnage_rail.jpg TITLE=\"best killer with rail gun\">&nbsp;",
    "<IMG src=images/awards/carnage_plasma.jpg TITLE=\"best killer with plasma gun\">&nbsp;",
    "<IMG src=images/awards/carnage_bfg.jpg TITLE=\"best killer with BFG\">&nbsp;",
    "<IMG src=images/awards/carnage_nail.jpg TITLE=\"best killer with nail gun\">&nbsp;",
    "<IMG src=images/awards/carnage_grapple.jpg TITLE=\"best killer with grapple\">&nbsp;",
    "<IMG src=images/awards/accuracy_gauntlet.jpg TITLE=\"best accuracy with gauntlet\">&nbsp;",
    "<IMG src=images/awards/accuracy_machine.jpg TITLE=\"best accuracy with machine gun\">&nbsp;",
    "<IMG src=images/awards/accuracy_shot.jpg TITLE=\"best accuracy with shot gun\">&nbsp;",
    "<IMG src=images/awards/accuracy_grenade.jpg TITLE=\"best accuracy with grenade launcher\">&nbsp;",
    "<IMG src=images/awards/accuracy_rocket.jpg TITLE=\"best accuracy with rocket launcher\">&nbsp;",
    "<IMG src=images/awards/accuracy_lightning.jpg TITLE=\"best accuracy with lightning gun\">&nbsp;",
    "<IMG src=images/awards/accuracy_rail.jpg TITLE=\"best accuracy with rail gun\">&nbsp;",
    "<IMG src=images/awards/accuracy_plasma.jpg TITLE=\"best accuracy with plasma gun\">&nbsp;",
    "<IMG src=images/awards/accuracy_bfg.jpg TITLE=\"best accuracy with BFG\">&nbsp;",
    "",  // slot 20 is never awarded
    "<IMG src=images/awards/player_kills.jpg TITLE=\"best killer\">&nbsp;",
    "<IMG src=images/awards/ctf_caps.jpg TITLE=\"best flag capper\">&nbsp;",
    "<IMG src=images/awards/player_combat.jpg TITLE=\"deadliest player\">&nbsp;",
    "<IMG src=images/awards/player_kestro.jpg TITLE=\"most valuable player\">&nbsp;",
    "<IMG src=images/awards/ctf_defense.jpg TITLE=\"best defender\">&nbsp;",
    "<IMG src=images/awards/ctf_assists.jpg TITLE=\"best assists\">&nbsp;",
    "<IMG src=images/awards/player_bloodlust.jpg TITLE=\"highest kill streak\">&nbsp;",
    "<IMG src=images/awards/player_damage.jpg TITLE=\"best damage inflicter\">&nbsp;",
    "<IMG src=images/awards/player_accuracy.jpg TITLE=\"best overall accuracy\">&nbsp;",
    "<IMG src=images/awards/ctf_escort.jpg TITLE=\"best escort\">&nbsp;",
    "<IMG src=images/awards/ctf_chaser.jpg TITLE=\"best flag retriever\">&nbsp;",
    "<IMG src=images/awards/ctf_holder.jpg TITLE=\"best flag holder\">&nbsp;",
};

constexpr int kFirstAccuracySlot = 11;

void setForEveryone(Game& game, int slot, int flag) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) game.q3players[i].awards[slot] = flag;
}

// Most of an integer measure; every tied player wins; a best of 0 wins nothing.
void integerAward(Game& game, int slot, const std::function<int(const Q3Player&)>& measure) {
  int n = getTotalPlayers(game);
  if (n == 0) return;
  int best = measure(game.q3players[0]);
  for (int i = 1; i < n; ++i) best = std::max(best, measure(game.q3players[i]));
  for (int i = 0; i < n; ++i) {
    if (measure(game.q3players[i]) == best) game.q3players[i].awards[slot] = 1;
  }
  if (best == 0) setForEveryone(game, slot, 0);
}

// Most of a real measure (double precision); nobody wins unless the best is
// above the threshold.
void realAward(Game& game, int slot, double threshold, const std::function<double(const Q3Player&)>& measure) {
  int n = getTotalPlayers(game);
  if (n == 0) return;
  double best = measure(game.q3players[0]);
  for (int i = 1; i < n; ++i) best = std::max(best, measure(game.q3players[i]));
  for (int i = 0; i < n; ++i) {
    if (measure(game.q3players[i]) == best) game.q3players[i].awards[slot] = 1;
  }
  if (best <= threshold) setForEveryone(game, slot, 0);
}

// Best accuracy with weapon w (1..8) among the players who fired it.
void accuracyAward(Game& game, int w) {
  int slot = kFirstAccuracySlot + w;
  int n = getTotalPlayers(game);
  auto ratio = [w](const Q3Player& p) { return 100.0 * p.accuracy_hits[w] / p.accuracy_attempts[w - 1]; };
  double best = 0.0;
  for (int i = 0; i < n; ++i) {
    if (game.q3players[i].accuracy_attempts[w - 1] != 0) best = std::max(best, ratio(game.q3players[i]));
  }
  for (int i = 0; i < n; ++i) {
    const Q3Player& p = game.q3players[i];
    if (p.accuracy_attempts[w - 1] != 0 && std::fabs(ratio(p) - best) < 0.001) game.q3players[i].awards[slot] = 1;
  }
  if (best <= 0.001) setForEveryone(game, slot, 0);
}

bool hasAwardIn(const AwardFlags& flags, int first, int last) {
  for (int slot = first; slot <= last; ++slot) {
    if (flags[slot] == 1) return true;
  }
  return false;
}

void printAwardSlots(Report& r, const AwardFlags& flags, int first, int last, std::initializer_list<int> order) {
  if (!hasAwardIn(flags, first, last)) {
    r.wrText("<IMG src=images/awards/blank.gif>&nbsp;");
    return;
  }
  for (int slot : order) {
    if (flags[slot] == 1) r.wrText(kAwardImages[slot]);
  }
}

}  // namespace

void assignAwards(Game& game) {
  int totals = getTotalPlayers(game);  // the totals column of the kills table
  for (int w = kGauntlet; w <= kGrapple; ++w) {
    integerAward(game, w, [w, totals](const Q3Player& p) { return p.kills_by_weapon[w][totals]; });
  }
  integerAward(game, kFirstAccuracySlot, [](const Q3Player& p) { return p.accuracy_hits[kGauntlet]; });
  for (int w = kMachineGun; w <= kBfg; ++w) accuracyAward(game, w);

  using enum PlayerAward;
  integerAward(game, awardSlot(kBestKiller), [](const Q3Player& p) { return p.kills; });
  integerAward(game, awardSlot(kBestFlagCapper), [](const Q3Player& p) { return p.ctf_flag_caps; });
  realAward(game, awardSlot(kDeadliest), 0.001, [](const Q3Player& p) { return static_cast<double>(p.combat); });
  realAward(game, awardSlot(kMostValuable), 0.001, [](const Q3Player& p) { return static_cast<double>(p.skill); });
  realAward(game, awardSlot(kBestDefender), 0.4,
            [](const Q3Player& p) { return static_cast<double>(p.ctf_base_defends); });
  realAward(game, awardSlot(kBestAssists), 0.001,
            [](const Q3Player& p) { return 1.5 * p.ctf_assist_efc_kills + p.ctf_assist_flag_returns; });
  integerAward(game, awardSlot(kHighestKillStreak), [](const Q3Player& p) { return p.kill_streak; });
  integerAward(game, awardSlot(kBestDamage), [](const Q3Player& p) { return p.damage_given; });
  realAward(game, awardSlot(kBestOverallAccuracy), 0.001, [](const Q3Player& p) {
    return 100.0 * p.accuracy_total_hits / (static_cast<double>(p.accuracy_total_attempts) + 1.0);
  });
  realAward(game, awardSlot(kBestEscort), 0.001,
            [](const Q3Player& p) { return 1.5 * p.ctf_fc_defends_aggressive + p.ctf_fc_defends; });
  realAward(game, awardSlot(kBestFlagRetriever), 0.001,
            [](const Q3Player& p) { return 1.5 * p.ctf_efc_kills + p.ctf_flag_returns; });
  integerAward(game, awardSlot(kBestFlagHolder), [](const Q3Player& p) { return p.ctf_flag_hold_kills; });
}

std::string_view awardTitle(int slot) {
  if (slot < 0 || slot >= kAwardCount) return {};
  std::string_view image = kAwardImages[slot];
  std::size_t from = image.find("TITLE=\"");
  if (from == std::string_view::npos) return {};
  from += 7;
  return image.substr(from, image.find('"', from) - from);
}

void htmlPrintAwards(Report& r, const AwardFlags& flags, AwardGroup group) {
  using enum PlayerAward;
  switch (group) {
    case AwardGroup::kWeapons:
      printAwardSlots(r, flags, 0, 10, {0, 1, 2, 3, 4, 6, 5, 7, 8, 9, 10});
      return;
    case AwardGroup::kAccuracy:
      printAwardSlots(r, flags, kFirstAccuracySlot, 20, {11, 12, 13, 14, 15, 17, 16, 18, 19});
      return;
    case AwardGroup::kPlayer:
      printAwardSlots(r, flags, awardSlot(kBestKiller), awardSlot(kBestFlagHolder),
                      {awardSlot(kBestKiller), awardSlot(kHighestKillStreak), awardSlot(kBestDamage),
                       awardSlot(kBestOverallAccuracy), awardSlot(kDeadliest), awardSlot(kBestFlagCapper),
                       awardSlot(kBestAssists), awardSlot(kBestEscort), awardSlot(kBestFlagRetriever),
                       awardSlot(kBestFlagHolder), awardSlot(kBestDefender), awardSlot(kMostValuable)});
      return;
  }
}
