// The weapons, items and replacement choices that several pages of the
// settings share, with the captions the dialog shows for them.
#pragma once

#include <array>
#include <cstddef>

namespace cvarsmith {

// Rows of the Weapons and Armor page, top to bottom.
enum class Weapon {
  Gauntlet,
  MachineGun,
  Shotgun,
  GrenadeLauncher,
  RocketLauncher,
  LightningGun,
  RailGun,
  PlasmaGun,
  Bfg,
};
inline constexpr std::size_t kWeaponCount = 9;

inline constexpr std::array<const char*, kWeaponCount> kWeaponCaptions = {
    "Gauntlet",      "Machine Gun", "Shotgun",    "Grenade Launcher", "Rocket Launcher",
    "Lightning Gun", "Rail Gun",    "Plasma Gun", "BFG"};

// Damage boxes that are displayed read-only and never written ("" where the
// row's damage is an editable setting), and the Gauntlet's ammo box text.
inline constexpr std::array<const char*, kWeaponCount> kShownOnlyDamage = {
    "", "", "10", "100", "100", "7", "", "20", "100"};
inline constexpr const char* kShotgunDamageNote = "(per pellet)";
inline constexpr const char* kGauntletAmmoText = "N/A";

// Positions of the "In Hand" radio group. The group runs Machine Gun first
// and the Gauntlet last, unlike the rows of the page.
enum class InHand {
  MachineGun,
  Shotgun,
  GrenadeLauncher,
  RocketLauncher,
  LightningGun,
  RailGun,
  PlasmaGun,
  Bfg,
  Gauntlet,
};
inline constexpr int kInHandPositionCount = 9;

// The weapon that an "In Hand" position stands for.
constexpr Weapon weaponAtInHandPosition(int position) {
  return position == static_cast<int>(InHand::Gauntlet) ? Weapon::Gauntlet
                                                         : static_cast<Weapon>(position + 1);
}

// The Items page's "Disable" group, in the order the page shows it.
enum class Item {
  QuadDamage,
  Invisibility,
  BattleSuit,
  Flight,
  Haste,
  Teleporter,
  Regeneration,
  Medkit,
  AllArmor,
  AllHealth,
};
inline constexpr std::size_t kItemCount = 10;

inline constexpr std::array<const char*, kItemCount> kItemCaptions = {
    "Quad Damage", "Invisibility", "Battle Suit", "Flight",    "Haste",
    "Teleporter",  "Regeneration", "Medkit",      "All Armor", "All Health"};

// The fourteen replaceable items and the choice list every one of them
// offers. An item's own index in the list is its place in this enum, so the
// default choice of item k is k.
enum class Replaceable {
  MachineGun,
  Shotgun,
  GrenadeLauncher,
  RocketLauncher,
  LightningGun,
  RailGun,
  PlasmaGun,
  Bfg,
  Invisibility,
  Quad,
  BattleSuit,
  Haste,
  Regeneration,
  Flight,
};
inline constexpr std::size_t kReplaceableCount = 14;

inline constexpr std::array<const char*, kReplaceableCount> kReplacementChoices = {
    "Machine Gun", "Shotgun",      "Grenade L", "Rocket L", "Lightning G",
    "Rail Gun",    "Plasma G",     "BFG",       "Invisibility", "Quad ",
    "B-Suit",      "Haste",        "Regen",     "Flight"};

// Game types of the Gameplay page; index 2 exists but the dialog hides it.
inline constexpr std::array<const char*, 6> kGameTypeCaptions = {
    "Free For All", "1v1 DM", "Single Player", "Team DM", "CTF", "Clan Arena"};

// The Voting page's "Available Modes", lowest bit of server_availmodes first.
inline constexpr std::array<const char*, 6> kAvailableModeCaptions = {
    "FFA", "1v1", "FFA (competition)", "Team DM", "CTF", "Clan Arena"};

// The two boxes of the "Votable Items and Power-ups" dialog, lowest bit first.
inline constexpr std::array<const char*, 10> kVotableItemCaptions = {
    "All Armor",        "All Health",      "BFG",           "Machine Gun", "Shotgun",
    "Grenade Launcher", "Rocket Launcher", "Lightning Gun", "Plasma Gun",  "Rail Gun"};
inline constexpr std::array<const char*, 8> kVotablePowerupCaptions = {
    "Quad Damage", "Battle Suit", "Haste",      "Regeneration",
    "Invisibility", "Flight",     "Teleporter", "Medkit"};

// The "Dedicated" radio group of the Command Line page.
enum class Dedicated { Listen, Private, Public };

}  // namespace cvarsmith
