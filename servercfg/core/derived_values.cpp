#include "derived_values.h"

namespace cvarsmith {

namespace {

bool& itemFlag(ServerSettings& s, Item item) { return s.items.disabled(item); }
bool& weaponDisable(ServerSettings& s, Weapon w) { return s.weapons.row(w).disable; }
bool& weaponStock(ServerSettings& s, Weapon w) { return s.weapons.row(w).startingInventory; }

}  // namespace

int packFlagBits(const ServerSettings& settings, std::span<const FlagBit> bits) {
  // The accessors hand out references for the loader's sake; packing only reads.
  ServerSettings& readable = const_cast<ServerSettings&>(settings);
  int value = 0;
  for (const FlagBit& entry : bits) {
    if (entry.flag(readable) != entry.setWhenClear) value |= entry.bit;
  }
  return value;
}

void unpackFlagBits(ServerSettings& settings, std::span<const FlagBit> bits, int value) {
  for (const FlagBit& entry : bits) {
    entry.flag(settings) = ((value & entry.bit) != 0) != entry.setWhenClear;
  }
}

const std::array<FlagBit, 3> kDmflagsBits = {{
    {8, [](ServerSettings& s) -> bool& { return s.gameplay.fallingDamage; }, true},
    {16, [](ServerSettings& s) -> bool& { return s.gameplay.fixedFov; }},
    {32, [](ServerSettings& s) -> bool& { return s.gameplay.noFootsteps; }},
}};

const std::array<FlagBit, 5> kCustomClientBits = {{
    {1, [](ServerSettings& s) -> bool& { return s.server.sampling125Hz; }},
    {2, [](ServerSettings& s) -> bool& { return s.server.trueLightning; }},
    {4, [](ServerSettings& s) -> bool& { return s.server.customGraphics; }},
    {8, [](ServerSettings& s) -> bool& { return s.server.ospHud; }},
    {16, [](ServerSettings& s) -> bool& { return s.server.noTimer; }},
}};

const std::array<FlagBit, 5> kServerRecordBits = {{
    {1, [](ServerSettings& s) -> bool& { return s.server.recordDemos; }},
    {2, [](ServerSettings& s) -> bool& { return s.server.endLevelScreenshots; }},
    {4, [](ServerSettings& s) -> bool& { return s.server.serverName; }},
    {8, [](ServerSettings& s) -> bool& { return s.server.serverTime; }},
    {16, [](ServerSettings& s) -> bool& { return s.server.alternateRecordingStyle; }},
}};

const std::array<FlagBit, 10> kItemDisableBits = {{
    {1, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::AllArmor); }},
    {2, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::AllHealth); }},
    {4, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::Bfg); }},
    {8, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::MachineGun); }},
    {16, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::Shotgun); }},
    {32, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::GrenadeLauncher); }},
    {64, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::RocketLauncher); }},
    {128, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::LightningGun); }},
    {256, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::PlasmaGun); }},
    {512, [](ServerSettings& s) -> bool& { return weaponDisable(s, Weapon::RailGun); }},
}};

const std::array<FlagBit, 8> kPowerupDisableBits = {{
    {1, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::QuadDamage); }},
    {2, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::BattleSuit); }},
    {4, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Haste); }},
    {8, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Regeneration); }},
    {16, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Invisibility); }},
    {32, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Flight); }},
    {64, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Teleporter); }},
    {128, [](ServerSettings& s) -> bool& { return itemFlag(s, Item::Medkit); }},
}};

const std::array<FlagBit, 6> kAvailableModeBits = {{
    {1, [](ServerSettings& s) -> bool& { return s.voting.availableModes[0]; }},
    {2, [](ServerSettings& s) -> bool& { return s.voting.availableModes[1]; }},
    {4, [](ServerSettings& s) -> bool& { return s.voting.availableModes[2]; }},
    {8, [](ServerSettings& s) -> bool& { return s.voting.availableModes[3]; }},
    {16, [](ServerSettings& s) -> bool& { return s.voting.availableModes[4]; }},
    {32, [](ServerSettings& s) -> bool& { return s.voting.availableModes[5]; }},
}};

const std::array<FlagBit, 8> kStartingInventoryBits = {{
    {1, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::MachineGun); }},
    {2, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::Shotgun); }},
    {4, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::GrenadeLauncher); }},
    {8, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::RocketLauncher); }},
    {16, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::LightningGun); }},
    {32, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::RailGun); }},
    {64, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::PlasmaGun); }},
    {128, [](ServerSettings& s) -> bool& { return weaponStock(s, Weapon::Bfg); }},
}};

// The accessor of a kept part of a loaded file, as the tables below need it.
#define KEPT(member) [](ServerSettings& s) -> auto& { return s.keptFromFile.member; }

const MaskVariable kDmflagsMask{kDmflagsBits, KEPT(dmflagsBits)};
const MaskVariable kCustomClientMask{kCustomClientBits, KEPT(customClientBits)};
const MaskVariable kServerRecordMask{kServerRecordBits, KEPT(serverRecordBits)};
const MaskVariable kItemDisableMask{kItemDisableBits, KEPT(itemDisableBits)};
const MaskVariable kWeaponHaveMask{kStartingInventoryBits, KEPT(weaponHaveBits)};
const MaskVariable kPowerupDisableMask{kPowerupDisableBits, KEPT(powerupDisableBits)};
const MaskVariable kAvailableModesMask{kAvailableModeBits, KEPT(availableModeBits)};

int maskValue(const ServerSettings& settings, const MaskVariable& mask) {
  ServerSettings& readable = const_cast<ServerSettings&>(settings);  // only read
  return packFlagBits(settings, mask.bits) | mask.otherBits(readable);
}

void applyMaskValue(ServerSettings& settings, const MaskVariable& mask, int value) {
  unpackFlagBits(settings, mask.bits, value);
  int boxBits = 0;
  for (const FlagBit& entry : mask.bits) boxBits |= entry.bit;
  mask.otherBits(settings) = value & ~boxBits;
}

int matchOvertimeValue(const GameplayPage& gameplay) {
  if (!gameplay.overtime) return kOvertimeOff;
  if (!gameplay.suddenDeath) return 3;
  return gameplay.suddenDeathTimed ? 1 : 0;
}

int teamNoTeamReadyValue(const GameplayPage& gameplay) { return gameplay.teamReady ? 0 : 1; }

int ospAuthValue(const ServerPage& server) {
  if (!server.ospAuthentication) return 0;
  return server.enhancedAuthentication ? 1 : 2;
}

bool serverPasswordIsSet(const ServerPage& server) {
  return !server.serverPassword.empty() && server.serverPassword != "none";
}

int logDefaultValue(const FilesPage& files) { return files.ospLogFormat ? 0 : 1; }

int logStatValue(const FilesPage& files) {
  if (!files.extraStatLogging) return 0;
  return files.logToConsole ? 2 : 1;
}

int weaponStartValue(int inHandPosition) {
  // Positions outside Machine Gun..BFG (the Gauntlet, or a value no control
  // can hold) select no weapon bit.
  if (inHandPosition < 0 || inHandPosition > static_cast<int>(InHand::Bfg)) return 0;
  return (1 << (inHandPosition + 1)) - 1;
}

int replacementValue(int choice) {
  if (choice < 0 || choice >= static_cast<int>(kReplaceableCount)) return 0;
  return 1 << choice;
}

bool replacementIsWritten(Replaceable item, int choice) {
  // A choice outside the list selects nothing and leaves the item as it is.
  return replacementValue(choice) != 0 && choice != static_cast<int>(item);
}

void applyMatchOvertimeValue(GameplayPage& gameplay, int value) {
  struct OvertimeBoxes {
    bool overtime, suddenDeath, suddenDeathTimed;
  };
  // Indexed by the value matchOvertimeValue gives for the boxes.
  static constexpr std::array<OvertimeBoxes, 4> kBoxesByValue = {{
      {true, true, false},
      {true, true, true},
      {false, false, false},
      {true, false, false},
  }};
  if (value < 0 || value >= static_cast<int>(kBoxesByValue.size())) return;
  const OvertimeBoxes& boxes = kBoxesByValue[static_cast<std::size_t>(value)];
  gameplay.overtime = boxes.overtime;
  gameplay.suddenDeath = boxes.suddenDeath;
  gameplay.suddenDeathTimed = boxes.suddenDeathTimed;
}

void applyOspAuthValue(ServerPage& server, int value) {
  server.ospAuthentication = value != 0;
  server.enhancedAuthentication = value == 1;
}

void applyLogStatValue(FilesPage& files, int value) {
  files.extraStatLogging = value != 0;
  files.logToConsole = value != 0 && value != 1;
}

void applyWeaponStartValue(WeaponsPage& weapons, int value) {
  // 0 is what the writer writes for the Gauntlet.
  if (value == 0 || (value & kWeaponHaveGauntlet) != 0) {
    weapons.inHand = static_cast<int>(InHand::Gauntlet);
  }
  // Lowest to highest, so the highest weapon bit that is set wins.
  for (int position = 0; position <= static_cast<int>(InHand::Bfg); ++position) {
    if ((value & (1 << position)) != 0) weapons.inHand = position;
  }
}

const CodedVariable kMatchOvertimeCode{
    [](const ServerSettings& s) { return matchOvertimeValue(s.gameplay); },
    [](ServerSettings& s, int v) { applyMatchOvertimeValue(s.gameplay, v); },
    KEPT(matchOvertime)};
const CodedVariable kOspAuthCode{
    [](const ServerSettings& s) { return ospAuthValue(s.server); },
    [](ServerSettings& s, int v) { applyOspAuthValue(s.server, v); }, KEPT(ospAuth)};
const CodedVariable kLogStatCode{
    [](const ServerSettings& s) { return logStatValue(s.files); },
    [](ServerSettings& s, int v) { applyLogStatValue(s.files, v); }, KEPT(logStat)};
const CodedVariable kWeaponStartCode{
    [](const ServerSettings& s) { return weaponStartValue(s.weapons.inHand); },
    [](ServerSettings& s, int v) { applyWeaponStartValue(s.weapons, v); }, KEPT(weaponStart)};

#undef KEPT

int codedValue(const ServerSettings& settings, const CodedVariable& coded) {
  const int boxes = coded.code(settings);
  const std::optional<LoadedCode>& loaded =
      coded.loaded(const_cast<ServerSettings&>(settings));  // only read
  return loaded && loaded->codedAtLoad == boxes ? loaded->fileValue : boxes;
}

void applyCodedValue(ServerSettings& settings, const CodedVariable& coded, int value) {
  coded.apply(settings, value);
  coded.loaded(settings) = LoadedCode{value, coded.code(settings)};
}

std::optional<int> replacementChoiceOf(int value) {
  for (int choice = 0; choice < static_cast<int>(kReplaceableCount); ++choice) {
    if (value == replacementValue(choice)) return choice;
  }
  return std::nullopt;
}

const std::array<const char*, kReplaceableCount> kReplacementVariables = {
    "replace_machinegun", "replace_shotgun",   "replace_glauncher", "replace_rlauncher",
    "replace_lightning",  "replace_railgun",   "replace_plasmagun", "replace_bfg",
    "replace_invis",      "replace_quad",      "replace_battlesuit", "replace_haste",
    "replace_regen",      "replace_flight"};

}  // namespace cvarsmith
