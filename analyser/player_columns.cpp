#include "player_columns.h"

namespace playerstats {

namespace {

constexpr bool hasField(Figure f) {
  switch (f) {
    case Figure::kFrags:
    case Figure::kKills:
    case Figure::kDeaths:
    case Figure::kSuicides:
    case Figure::kTeamKills:
    case Figure::kKillStreak:
    case Figure::kDeathStreak:
    case Figure::kDamageGiven:
    case Figure::kDamageRecvd:
    case Figure::kItem:
    case Figure::kCtf:
      return true;
    default:
      return false;
  }
}

constexpr bool isAccuracy(Figure f) { return f == Figure::kAccuracyHits || f == Figure::kAccuracyAttempts; }

constexpr bool hasWeapon(Figure f) {
  return isAccuracy(f) || f == Figure::kWeaponKills || f == Figure::kWeaponDeaths;
}

constexpr bool weaponFits(const Column& c) {
  if (isAccuracy(c.figure)) return c.weapon >= kFirstAccuracyWeapon && c.weapon <= kLastAccuracyWeapon;
  return hasWeapon(c.figure) ? c.weapon >= 0 && c.weapon < kAllWeapons : c.weapon == 0;
}

// Every column has what its figure is read from, and a name of its own.
constexpr bool wellFormed() {
  for (std::size_t i = 0; i < kColumnCount; ++i) {
    const Column& c = kColumns[i];
    if ((c.field != nullptr) != hasField(c.figure) || !weaponFits(c)) return false;
    for (std::size_t k = 0; k < i; ++k) {
      if (std::string_view(kColumns[k].name) == c.name) return false;
    }
  }
  return true;
}
static_assert(wellFormed(), "a player column lacks its field or weapon, or repeats a name");

int accuracyOf(const Q3Player& p, bool hits, int weapon) {
  return hits ? p.accuracy_hits[weapon] : p.accuracy_attempts[weapon - 1];
}

}  // namespace

int figureOf(const Column& c, const Q3Player& p, int totals) {
  if (c.field != nullptr) return p.*c.field;
  switch (c.figure) {
    case Figure::kAccuracyHits:
    case Figure::kAccuracyAttempts:
      return accuracyOf(p, c.figure == Figure::kAccuracyHits, c.weapon);
    case Figure::kTotalHits:
    case Figure::kTotalAttempts: {
      int sum = 0;
      for (int w = kFirstAccuracyWeapon; w <= kLastAccuracyWeapon; ++w) sum += shareOf(c, p, w);
      return sum;
    }
    case Figure::kWeaponKills:
      return p.kills_by_weapon[c.weapon][totals];
    case Figure::kWeaponDeaths:
      return p.deaths_by_weapon[c.weapon][totals];
    case Figure::kGames:
      return 1;
    default:
      return 0;
  }
}

int shareOf(const Column& c, const Q3Player& p, int weapon) {
  return accuracyOf(p, c.figure == Figure::kTotalHits, weapon);
}

float ratingOf(const Column& c, const Q3Player& p) { return c.figure == Figure::kSkill ? p.skill : p.combat; }

}  // namespace playerstats
