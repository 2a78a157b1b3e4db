#include "mode_presets.h"

#include "platform.h"
#include "server_settings.h"

namespace cvarsmith {

namespace {

// The name each preset goes by in its questions.
const char* presetTitle(ModePreset preset) {
  switch (preset) {
    case ModePreset::Ffa: return "FFA";
    case ModePreset::OneVsOne: return "1v1";
    case ModePreset::Tdm: return "TDM";
    case ModePreset::Ctf: return "CTF";
    case ModePreset::ClanArena: return "Clan Arena";
  }
  return "";
}

void setBothMapFiles(ServerSettings& s, const char* mapFile) {
  s.files.mapFile = mapFile;
  s.other.mapFile = mapFile;
}

void applyFfa(ServerSettings& s) {
  s.gameplay.fragLimit = 30;
  s.gameplay.timeLimit = 20;
  s.gameplay.lateJoin = true;
  s.server.hostname = "OSP Free For All";
  s.items.disabled(Item::Teleporter) = true;
  setBothMapFiles(s, "cfg-maps\\ffamaps.txt");
}

void applyOneVsOne(ServerSettings& s) {
  s.gameplay.fragLimit = 0;
  s.gameplay.gameType = 1;
  s.gameplay.forceRespawn = 10;
  s.gameplay.timeLimit = 15;
  s.gameplay.readyPercentage = 100;
  s.gameplay.warmup = false;
  s.server.hostname = "OSP Tourney 1v1";
  for (Item item : {Item::QuadDamage, Item::BattleSuit, Item::Haste, Item::Regeneration,
                    Item::Invisibility, Item::Flight, Item::Teleporter, Item::Medkit}) {
    s.items.disabled(item) = true;
  }
  setBothMapFiles(s, "cfg-maps\\1v1maps.txt");
  s.weapons.row(Weapon::Bfg).disable = true;
  s.other.muteSpectators = true;
}

void applyTdm(ServerSettings& s) {
  s.gameplay.fragLimit = 0;
  s.gameplay.gameType = 3;
  s.gameplay.readyPercentage = 100;
  s.gameplay.maxPlayersPerTeam = 4;
  s.gameplay.suddenDeathTimed = true;
  s.gameplay.timeLimit = 20;
  s.gameplay.timeoutLength = 210;
  s.gameplay.timeoutsPerTeam = 7;
  s.gameplay.warmupSeconds = 0;
  setBothMapFiles(s, "cfg-maps\\teammaps.txt");
  s.server.hostname = "OSP Team DM";
  s.weapons.row(Weapon::MachineGun).ammo = 50;
}

void applyCtf(ServerSettings& s) {
  s.gameplay.captureLimit = 0;
  s.gameplay.fragLimit = 0;
  s.gameplay.gameType = 4;
  s.gameplay.readyPercentage = 100;
  s.gameplay.timeLimit = 20;
  s.gameplay.timeoutLength = 210;
  s.gameplay.timeoutsPerTeam = 7;
  s.gameplay.warmupSeconds = 0;
  s.server.hostname = "OSP Capture The Flag";
  s.items.disabled(Item::Invisibility) = true;
  s.items.powerupRespawnTime = 120;
  setBothMapFiles(s, "cfg-maps\\ctfmaps.txt");
  s.weapons.friendlyFire = false;
  s.other.startingMap = "q3ctf1";
}

void applyClanArena(ServerSettings& s) {
  s.gameplay.fragLimit = 5;
  s.gameplay.fallingDamage = false;
  s.gameplay.gameType = 5;
  s.gameplay.warmupSeconds = 60;
  s.gameplay.readyPercentage = 100;
  s.gameplay.timeoutsPerTeam = 1;
  s.server.hostname = "OSP Clan Arena";
  setBothMapFiles(s, "cfg-maps\\camaps.txt");
  WeaponsPage& w = s.weapons;
  w.friendlyFire = false;
  w.row(Weapon::PlasmaGun).ammo = 100;
  w.row(Weapon::MachineGun).ammo = 25;
  w.row(Weapon::GrenadeLauncher).ammo = 15;
  w.row(Weapon::Shotgun).ammo = 20;
  w.row(Weapon::RocketLauncher).ammo = 80;
  w.row(Weapon::LightningGun).ammo = 150;
  w.row(Weapon::RailGun).ammo = 15;
  w.armorOnSpawn = 200;
  w.dropOnDeath = false;
  // Every weapon but the Gauntlet and the BFG in stock and fixed on the map.
  for (Weapon weapon : {Weapon::MachineGun, Weapon::Shotgun, Weapon::GrenadeLauncher,
                        Weapon::RocketLauncher, Weapon::LightningGun, Weapon::RailGun,
                        Weapon::PlasmaGun}) {
    w.row(weapon).startingInventory = true;
    w.row(weapon).disable = true;
  }
  w.row(Weapon::Bfg).disable = true;
  w.inHand = static_cast<int>(InHand::RocketLauncher);
  for (bool& disabled : s.items.disable) disabled = true;
  s.other.startingMap = "q3dm6";
}

}  // namespace

std::string presetQuestion(ModePreset preset, PresetCaller caller) {
  const std::string title = presetTitle(preset);
  if (caller == PresetCaller::Loader) {
    return "mode_start variable detected.\n\nLoad " + title +
           " Defaults before processing remainder of .cfg file?";
  }
  return "This will reset all settings to " + title + " defaults.  Are you sure?";
}

void setPresetValues(ServerSettings& settings, ModePreset preset) {
  switch (preset) {
    case ModePreset::Ffa: applyFfa(settings); break;
    case ModePreset::OneVsOne: applyOneVsOne(settings); break;
    case ModePreset::Tdm: applyTdm(settings); break;
    case ModePreset::Ctf: applyCtf(settings); break;
    case ModePreset::ClanArena: applyClanArena(settings); break;
  }
}

bool applyModePreset(ServerSettings& settings, ModePreset preset, PresetCaller caller,
                     MessageBoxes& messages, SettingsStore& store) {
  const char* caption =
      caller == PresetCaller::Loader ? kPresetCaptionFromLoader : kPresetCaptionFromDialog;
  if (!messages.askOkCancel(presetQuestion(preset, caller), caption, MessageIcon::Exclamation)) {
    return false;
  }
  resetToDefaults(settings, store);
  setPresetValues(settings, preset);
  return true;
}

std::optional<ModePreset> presetFromName(std::string_view name) {
  if (name == "ffa") return ModePreset::Ffa;
  if (name == "1v1") return ModePreset::OneVsOne;
  if (name == "tdm") return ModePreset::Tdm;
  if (name == "ctf") return ModePreset::Ctf;
  if (name == "ca") return ModePreset::ClanArena;
  return std::nullopt;
}

}  // namespace cvarsmith
