// The help shown for whatever control the mouse is over: a syntax line (how
// the variable is set in a .cfg file or on the game's command line) and a
// help text. Each tab has its own table, so a control is named by the tab it
// is on and a control key; the main dialog's controls apply on every tab.
//
// Control keys: a control that edits a variable (and its label, unit label and
// "Browse" button) uses the variable's name as the .cfg file writes it, e.g.
// "fraglimit" or "g_forceRespawn"; keys compare ignoring case. Controls that
// share an entry share the key (the six game types use "g_gametype", the
// five "Custom Client" boxes "server_customclient", every "Vote Allow" box
// and the "Items/Power-ups" button "vote_allow"). The other keys are listed
// with the constants below.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server_settings.h"

namespace cvarsmith {

struct HelpEntry {
  std::string syntax;  // may be empty
  std::string help;

  bool operator==(const HelpEntry&) const = default;
};

// Main dialog controls.
inline constexpr const char* kControlGenerateCfg = "generate_cfg";
inline constexpr const char* kControlExit = "exit";
inline constexpr const char* kControlSpawnListen = "spawn_listen";
inline constexpr const char* kControlPresetFfa = "preset_ffa";
inline constexpr const char* kControlPreset1v1 = "preset_1v1";
inline constexpr const char* kControlPresetTdm = "preset_tdm";
inline constexpr const char* kControlPresetCtf = "preset_ctf";
inline constexpr const char* kControlPresetCa = "preset_ca";
inline constexpr const char* kControlLoadCfg = "load_cfg";
inline constexpr const char* kControlModLogo = "mod_logo";
inline constexpr const char* kControlAuthorsLogo = "authors_logo";
// Page controls that edit no single variable.
inline constexpr const char* kControlFallingDamage = "dmflags_falling";   // Gameplay
inline constexpr const char* kControlFixedFov = "dmflags_fixedfov";      // Gameplay
inline constexpr const char* kControlNoFootsteps = "dmflags_nofootsteps";  // Gameplay
inline constexpr const char* kControlMotdButton = "motd";                // Server
inline constexpr const char* kControlVoteAllow = "vote_allow";           // Voting
inline constexpr const char* kControlExecutablePath = "exe_path";        // Command Line
inline constexpr const char* kControlGenerateBatch = "generate_batch";   // Command Line
inline constexpr const char* kControlStartingMap = "map";                // Other

// Weapons and Armor rows, by Weapon: the ammo box ("" for the Gauntlet, whose
// box reads "N/A"), the damage box ("" where the damage is shown only) and
// the "Disable" box (the Gauntlet has a variable of its own).
inline constexpr std::array<const char*, kWeaponCount> kAmmoControls = {
    "",           "start_bullets", "start_shells", "start_grenades", "start_rockets",
    "start_lightning", "start_slugs", "start_cells", "start_bfg"};
inline constexpr std::array<const char*, kWeaponCount> kDamageControls = {
    "gauntlet_damage", "mg_damage", "", "", "", "", "railgun_damage", "", ""};
inline constexpr const char* kControlMachineGunTeamDamage = "mg_damageTeamplay";
constexpr const char* disableControl(Weapon weapon) {
  return weapon == Weapon::Gauntlet ? "gauntlet_disable" : "item_disable";
}

// Shown for anything without an entry: the page background, group boxes,
// read-only boxes, hidden controls.
extern const HelpEntry kGeneralHelp;

// The entry for `control` on `currentTab` (main dialog controls on any tab);
// the general entry when there is none. `settings` supplies the executable
// path, which is the syntax line of the Command Line page's path box.
HelpEntry lookupHelp(const ServerSettings& settings, Page currentTab, std::string_view control);

// Every distinct entry that `name` stands for, ignoring case: a variable name
// as written in the .cfg file or as the syntax line spells it, a control key,
// or a main dialog caption such as "Generate .cfg". Several entries share
// dmflags; an unknown name gives none.
std::vector<HelpEntry> explainName(const ServerSettings& settings, std::string_view name);

}  // namespace cvarsmith
