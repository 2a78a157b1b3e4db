// Every value the writer derives from several settings (or from a setting in
// another form) is computed here and only here, with the loader's inverse
// beside it, so a bit that moves is moved for both directions at once.
//
// A hand-written file may hold values the check boxes cannot: mask bits no
// box stands for, or a code such as match_overtime 7. Those are kept in
// ServerSettings::keptFromFile and written back, so that loading a file and
// saving it changes none of its settings.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "server_settings.h"

namespace cvarsmith {

// One bit of a mask and the flag it stands for; with `setWhenClear` the bit
// is set while the flag is clear (dmflags' 8 means no falling damage).
struct FlagBit {
  int bit;
  bool& (*flag)(ServerSettings&);
  bool setWhenClear = false;
};

int packFlagBits(const ServerSettings& settings, std::span<const FlagBit> bits);
// Sets every flag of the table from its bit in `value`.
void unpackFlagBits(ServerSettings& settings, std::span<const FlagBit> bits, int value);

// dmflags: "Falling Damage" 8 (set while the box is clear), "Fixed FOV" 16,
// "No Footsteps" 32.
extern const std::array<FlagBit, 3> kDmflagsBits;
// server_customclient: "125Hz Sampling" 1, "True Lightning" 2, "Custom
// Graphics" 4, "OSP Hud" 8, "No Timer" 16.
extern const std::array<FlagBit, 5> kCustomClientBits;
// server_record: "Record Demos" 1, "End-Level Screenshots" 2, "Server Name" 4,
// "Server Time" 8, "Alternate Recording Style" 16.
extern const std::array<FlagBit, 5> kServerRecordBits;
// item_disable: Items page "All Armor" 1, "All Health" 2, then the "Disable"
// boxes of the weapon rows: BFG 4, Machine Gun 8, Shotgun 16, Grenade
// Launcher 32, Rocket Launcher 64, Lightning Gun 128, Plasma Gun 256, Rail
// Gun 512. The votable items mask uses the same bit order.
extern const std::array<FlagBit, 10> kItemDisableBits;
// powerup_disable: Quad Damage 1, Battle Suit 2, Haste 4, Regeneration 8,
// Invisibility 16, Flight 32, Teleporter 64, Medkit 128. The votable
// power-ups mask uses the same bit order.
extern const std::array<FlagBit, 8> kPowerupDisableBits;
// server_availmodes: the six "Available Modes", FFA 1 up to Clan Arena 32.
extern const std::array<FlagBit, 6> kAvailableModeBits;
// weapon_have beyond the Gauntlet's 256: the "Starting Inventory" boxes,
// Machine Gun 1 up to BFG 128.
extern const std::array<FlagBit, 8> kStartingInventoryBits;

// A mask variable: the boxes behind its bits, and where the other bits of a
// loaded value are kept.
struct MaskVariable {
  std::span<const FlagBit> bits;
  int& (*otherBits)(ServerSettings&);
};
extern const MaskVariable kDmflagsMask;
extern const MaskVariable kCustomClientMask;
extern const MaskVariable kServerRecordMask;
extern const MaskVariable kItemDisableMask;
extern const MaskVariable kWeaponHaveMask;  // 256 (the Gauntlet) is one of its kept bits
extern const MaskVariable kPowerupDisableMask;
extern const MaskVariable kAvailableModesMask;

// The value written: the boxes' bits and the kept ones.
int maskValue(const ServerSettings& settings, const MaskVariable& mask);
// The loader's inverse: every box from its bit; the other bits are kept.
void applyMaskValue(ServerSettings& settings, const MaskVariable& mask, int value);

// match_overtime: 2 without overtime; else 1 sudden death timed, 0 sudden
// death, 3 neither.
inline constexpr int kOvertimeOff = 2;
int matchOvertimeValue(const GameplayPage& gameplay);

int teamNoTeamReadyValue(const GameplayPage& gameplay);  // 1 when "Team Ready" is clear

// server_ospauth: 0 off, 1 with enhanced authentication, 2 without.
int ospAuthValue(const ServerPage& server);

// g_needpass is 1 and g_password is written only for a real password:
// neither empty nor "none" (compared exactly).
bool serverPasswordIsSet(const ServerPage& server);

int logDefaultValue(const FilesPage& files);  // 0 in the OSP log format, else 1
// log_stat: 0 without extra stat logging, 1 with it, 2 with it and the console.
int logStatValue(const FilesPage& files);

// weapon_start: 0 for the Gauntlet; for In Hand position k (Machine Gun 0 to
// BFG 7) every weapon bit up to its own, 2^(k+1) - 1.
int weaponStartValue(int inHandPosition);

// replace_ values: 2 to the power of the chosen index in the replacement list.
int replacementValue(int choice);
bool replacementIsWritten(Replaceable item, int choice);  // an item that keeps itself is not
extern const std::array<const char*, kReplaceableCount> kReplacementVariables;

// The loader's inverses of the values above: each sets the settings its
// value function reads so that the function gives the loaded value back.

// match_overtime 0 to 3 set "Overtime", "Sudden Death" and "Sudden
// Death-Timed"; any other value changes nothing.
void applyMatchOvertimeValue(GameplayPage& gameplay, int value);
// server_ospauth: 0 neither box, 1 both, any other value authentication
// without the enhanced form.
void applyOspAuthValue(ServerPage& server, int value);
// log_stat: 0 neither box, 1 extra stat logging, any other value both.
void applyLogStatValue(FilesPage& files, int value);
// weapon_start: the highest of the bits 1 to 128 picks its weapon, else bit
// 256, or the writer's own 0, the Gauntlet; any other value leaves "In
// Hand" alone.
void applyWeaponStartValue(WeaponsPage& weapons, int value);
// A variable coded from several boxes that cannot hold every value it may
// have in a file: match_overtime, server_ospauth, log_stat, weapon_start.
struct CodedVariable {
  int (*code)(const ServerSettings&);          // the writer's value from the boxes
  void (*apply)(ServerSettings&, int value);   // the loader's inverse
  std::optional<LoadedCode>& (*loaded)(ServerSettings&);
};
extern const CodedVariable kMatchOvertimeCode;
extern const CodedVariable kOspAuthCode;
extern const CodedVariable kLogStatCode;
extern const CodedVariable kWeaponStartCode;

// The value written: a loaded file's value while the boxes still code what
// they coded after loading it; otherwise the boxes' own code.
int codedValue(const ServerSettings& settings, const CodedVariable& coded);
// Sets the boxes from `value` and remembers it for codedValue.
void applyCodedValue(ServerSettings& settings, const CodedVariable& coded, int value);

// The replacement index of a replace_ value: k for 2 to the power k, k from
// 0 to 13; nothing for any other value.
std::optional<int> replacementChoiceOf(int value);

}  // namespace cvarsmith
