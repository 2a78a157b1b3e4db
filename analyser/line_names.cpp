#include "line_names.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>

#include "keywords.h"
#include "player.h"
#include "text.h"

namespace {

// The console writes "^7" after every name: a name ending in a colour code
// loses it.
std::string_view dropTrailingColorCode(std::string_view name) {
  std::size_t n = name.size();
  if (n >= 2 && name[n - 2] == '^' && name[n - 1] != '^') name.remove_suffix(2);
  return name;
}

// Endings of a killer's name in obituaries that name the weapon.
constexpr std::string_view kPossessiveEndings[] = {
    "'s personal space", "'s grenade", "'s shrapnel",        "'s plasmagun",
    "'s rocket",         "'s BFG",     "'s shower of nails", "'s grappling hook",
};

// " ate " is a kill only when the line names a rocket or a grenade.
bool isAteWithoutWeapon(std::string_view entry, std::string_view line) {
  return entry == " ate " && !contains(line, "rocket") && !contains(line, "grenade");
}

// The texts that tell an obituary's weapon, found in one pass over the line.
enum WeaponText {
  kPummeled, kMachinegunned, kGunnedDown, kTrippedHis, kTrippedHer, kTrippedIts, kAte, kShredded, kGrenade,
  kShrapnel, kBlewHimself, kBlewHerself, kBlewItself, kAlmostDodged, kRocket, kElectrocuted, kRailed, kMeltedBy,
  kPlasmagun, kMeltedHimself, kMeltedHerself, kMeltedItself, kBlastedBy, kBfgText, kSmallerGun, kInvade,
  kCratered, kWrongPlace, kKilledItself, kKilledHimself, kKilledHerself, kLava, kSquished, kSankLikeARock,
  kMelted, kImpaled, kDisemboweled, kWrongButton, kSwimming,
};
static_assert(std::size(weapon_strings) == kSwimming + 1);

}  // namespace

// The tests run in a fixed order and the first that holds decides.
int getWeapon(const LineScan& line) {
  const std::uint64_t found = line.containedMask(weapon_strings);
  auto has = [found](WeaponText t) { return hasEntry(found, t); };
  auto any = [&has](std::initializer_list<WeaponText> texts) {
    for (WeaponText t : texts) {
      if (has(t)) return true;
    }
    return false;
  };
  if (has(kPummeled)) return kGauntlet;
  if (has(kMachinegunned)) return kMachineGun;
  if (has(kGunnedDown)) return kShotGun;
  if (any({kTrippedHis, kTrippedHer, kTrippedIts}) || (any({kAte, kShredded}) && any({kGrenade, kShrapnel}))) {
    return kGrenadeLauncher;
  }
  if (any({kBlewHimself, kBlewHerself, kBlewItself}) || (any({kAte, kAlmostDodged}) && has(kRocket))) {
    return kRocketLauncher;
  }
  if (has(kElectrocuted)) return kLightningGun;
  if (has(kRailed)) return kRailGun;
  if ((has(kMeltedBy) && has(kPlasmagun)) || any({kMeltedHimself, kMeltedHerself, kMeltedItself})) return kPlasmaGun;
  if ((has(kBlastedBy) && has(kBfgText)) || has(kSmallerGun)) return kBfg;
  if (has(kInvade)) return kTeleFrag;
  if (any({kCratered, kWrongPlace, kKilledItself, kKilledHimself, kKilledHerself, kLava, kSquished, kSankLikeARock,
           kMelted})) {
    return kSuicide;
  }
  if (has(kImpaled)) return kNailGun;
  if (has(kDisemboweled)) return kGrapple;
  if (any({kWrongButton, kSwimming})) return kLightningGun;
  return kNoKill;
}

namespace {

// What both names are read from: the first self and dual entries of the
// line, and where the dual one stands.
struct NameKeys {
  int self;
  int dual;
  std::size_t dual_at;
};

NameKeys nameKeys(const LineScan& scan, bool self_asked) {
  NameKeys keys{self_asked ? scan.firstContained(self_strings) : -1, scan.firstContained(dual_strings),
                std::string_view::npos};
  if (keys.dual >= 0) keys.dual_at = scan.text().find(dual_strings[keys.dual]);
  return keys;
}

std::string_view victimName(const LineScan& scan, const NameKeys& keys) {
  const std::string_view line = scan.text();
  std::string_view name;
  if (keys.self >= 0) {
    // The subject stands before the ending, separated from it by one character.
    std::size_t at = line.find(self_strings[keys.self]);
    name = substring(line, 0, static_cast<int>(at) - 2);
  } else if (keys.dual >= 0) {
    name = substring(line, 0, static_cast<int>(keys.dual_at) - 1);
  } else {
    return kNoQuote;
  }
  return dropTrailingColorCode(name);
}

// `victim` gives the victim's name, asked only for a suicide.
template <typename Victim>
std::string_view attackerName(const LineScan& scan, const NameKeys& keys, Victim victim) {
  const std::string_view line = scan.text();
  const int d = keys.dual;
  if (d >= 0 && !isAteWithoutWeapon(dual_strings[d], line)) {
    std::string_view value = line.substr(keys.dual_at + dual_strings[d].size());
    // Every ending starts with an apostrophe, which most values lack.
    if (value.find('\'') != std::string_view::npos) {
      for (std::string_view ending : kPossessiveEndings) {
        if (contains(value, ending)) {
          value.remove_suffix(std::min(ending.size(), value.size()));
          break;
        }
      }
    }
    return dropTrailingColorCode(value.substr(0, kMaxTextLength));
  }
  if (scan.containsAny(suicide_strings)) return victim();
  return kNoQuote;
}

}  // namespace

std::string_view getVictimName(const LineScan& scan) {
  const NameKeys keys = nameKeys(scan, true);
  return victimName(scan, keys);
}

std::string_view getAttackerName(const LineScan& scan) {
  const NameKeys keys = nameKeys(scan, false);
  return attackerName(scan, keys, [&scan] { return getVictimName(scan); });
}

LineNames getLineNames(const LineScan& scan) {
  // Every event asks for both: the tables are asked and the line searched once.
  const NameKeys keys = nameKeys(scan, true);
  LineNames names{victimName(scan, keys), {}};
  names.attacker = attackerName(scan, keys, [&names] { return names.victim; });
  return names;
}
