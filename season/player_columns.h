// The weapons of playerstats' per-weapon columns, shared by the statements
// that add a game to the totals and those that record it.
#pragma once

#include "player.h"

namespace season {

// Weapons of the accuracy columns, MG to BFG (weapon numbers 1..8).
inline constexpr const char* kAccuracyColumns[] = {"MG", "SG", "GL", "RL", "LG", "RG", "PG", "BFG"};

// Weapons of the kills_ and deaths_ columns, in column order.
struct WeaponColumn {
  const char* suffix;
  int weapon;
};
inline constexpr WeaponColumn kWeaponColumns[] = {
    {"G", kGauntlet},        {"MG", kMachineGun},   {"SG", kShotGun}, {"GL", kGrenadeLauncher},
    {"RL", kRocketLauncher}, {"LG", kLightningGun}, {"RG", kRailGun}, {"PG", kPlasmaGun},
    {"BFG", kBfg},           {"TF", kTeleFrag},     {"NG", kNailGun}, {"GH", kGrapple},
};

}  // namespace season
