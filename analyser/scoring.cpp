#include "scoring.h"

#include <utility>

#include "kills.h"
#include "players.h"

float getKestroPoints(int weapon) {
  switch (weapon) {
    case kGauntlet:
    case kGrapple:
      return 1.5f;
    case kMachineGun:
    case kShotGun:
    case kGrenadeLauncher:
    case kPlasmaGun:
    case kNailGun:
    case kTeleFrag:
      return 1.0f;
    case kRocketLauncher:
      return 1.1f;
    case kLightningGun:
      return 1.15f;
    case kRailGun:
      return 1.2f;
    case kBfg:
      return 0.8f;
    default:
      return 0.0f;
  }
}

void addUpTables() {}

// Swaps players i and i+1: their records, and their columns in rows 0..13 of
// every live record's per-opponent tables.
static void swapAdjacentPlayers(int i, int count) {
  std::swap(q3players[i], q3players[i + 1]);
  for (int p = 0; p < count; ++p) {
    for (int w = 0; w <= kAllWeapons; ++w) {
      std::swap(q3players[p].kills_by_weapon[w][i], q3players[p].kills_by_weapon[w][i + 1]);
      std::swap(q3players[p].deaths_by_weapon[w][i], q3players[p].deaths_by_weapon[w][i + 1]);
    }
  }
}

void sort() {
  int count = getTotalPlayers();
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (q3players[i].skill < q3players[i + 1].skill) {
        swapAdjacentPlayers(i, count);
        swapped = true;
      }
    }
  }
}
