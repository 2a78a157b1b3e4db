// Awards of the players of one game: the best killer and the most accurate
// player with each weapon, and twelve general and capture-the-flag awards.
#pragma once

#include <array>
#include <string_view>

#include "players.h"

struct Game;
class Report;

// Award slots: 0..10 weapons, 11..20 accuracy (20 never awarded), 21..32 player.
using AwardFlags = std::array<int, kAwardCount>;

// The general and capture-the-flag awards, by their slot in AwardFlags.
enum class PlayerAward {
  kBestKiller = 21,
  kBestFlagCapper,
  kDeadliest,
  kMostValuable,
  kBestDefender,
  kBestAssists,
  kHighestKillStreak,
  kBestDamage,
  kBestOverallAccuracy,
  kBestEscort,
  kBestFlagRetriever,
  kBestFlagHolder,  // slot 32, the last
};

constexpr int awardSlot(PlayerAward award) { return static_cast<int>(award); }

// The groups of award images a player's card shows.
enum class AwardGroup { kWeapons, kAccuracy, kPlayer };

// Sets every player's award flags once the game's totals are final. Ties
// share an award; a best of zero (or not above the measure's threshold)
// gives it to nobody.
void assignAwards(Game& game);

// Writes a player's award images of one group in the group's fixed order;
// a blank image when the player has none of the group.
void htmlPrintAwards(Report& r, const AwardFlags& flags, AwardGroup group);

// The title of award `slot` ("best killer with rail gun"); "" for slot 20,
// which is never awarded, and for numbers outside the slots.
std::string_view awardTitle(int slot);
