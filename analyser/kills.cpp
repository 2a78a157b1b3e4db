#include "kills.h"

#include <cstdint>
#include <initializer_list>
#include <iterator>

#include "keywords.h"
#include "players.h"
#include "scoring.h"
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

}  // namespace

namespace {

// The texts that tell an obituary's weapon, found in one pass over the line.
enum WeaponText {
  kPummeled, kMachinegunned, kGunnedDown, kTrippedHis, kTrippedHer, kTrippedIts, kAte, kShredded, kGrenade,
  kShrapnel, kBlewHimself, kBlewHerself, kBlewItself, kAlmostDodged, kRocket, kElectrocuted, kRailed, kMeltedBy,
  kPlasmagun, kMeltedHimself, kMeltedHerself, kMeltedItself, kBlastedBy, kBfgText, kSmallerGun, kInvade,
  kCratered, kWrongPlace, kKilledItself, kKilledHimself, kKilledHerself, kLava, kSquished, kSankLikeARock,
  kMelted, kImpaled, kDisemboweled, kWrongButton, kSwimming,
};
constexpr std::string_view kWeaponTexts[] = {
    " was pummeled by ", " was machinegunned by ", " was gunned down by ", "tripped on his own grenade.",
    "tripped on her own grenade.", "tripped on its own grenade.", " ate ", " was shredded by ", "grenade",
    "shrapnel", "blew himself up.", "blew herself up.", "blew itself up.", " almost dodged ", "rocket",
    " was electrocuted by ", " was railed by ", " was melted by ", "plasmagun", "melted himself.",
    "melted herself.", "melted itself.", " was blasted by ", "BFG", "should have used a smaller gun.",
    " tried to invade ", "cratered.", "was in the wrong place.", "killed itself.", "killed himself.",
    "killed herself.", "does a back flip into the lava.", "was squished.", "sank like a rock.", "melted.",
    " was impaled by ", " was disemboweled by ", "pressed the wrong button.", " was swimming too close to ",
};
static_assert(std::size(kWeaponTexts) == kSwimming + 1);

}  // namespace

// The tests run in a fixed order and the first that holds decides.
int getWeapon(std::string_view line) {
  const std::uint64_t found = containedMask(kWeaponTexts, line);
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

std::string_view getVictimName(std::string_view line) {
  std::string_view name;
  if (int s = firstContained(self_strings, line); s >= 0) {
    // The subject stands before the ending, separated from it by one character.
    std::size_t at = line.find(self_strings[s]);
    name = substring(line, 0, static_cast<int>(at) - 2);
  } else if (int d = firstContained(dual_strings, line); d >= 0) {
    std::size_t at = line.find(dual_strings[d]);
    name = substring(line, 0, static_cast<int>(at) - 1);
  } else {
    return kNoQuote;
  }
  return dropTrailingColorCode(name);
}

std::string_view getAttackerName(std::string_view line) {
  int d = firstContained(dual_strings, line);
  if (d >= 0 && !isAteWithoutWeapon(dual_strings[d], line)) {
    std::string_view value = line.substr(line.find(dual_strings[d]) + dual_strings[d].size());
    for (std::string_view ending : kPossessiveEndings) {
      if (contains(value, ending)) {
        value.remove_suffix(std::min(ending.size(), value.size()));
        break;
      }
    }
    return dropTrailingColorCode(scratchCopy(value));
  }
  if (containsAny(suicide_strings, line)) return getVictimName(line);
  return kNoQuote;
}

static int indexOfName(std::string_view name) { return name == kNoQuote ? kNobody : getPlayerIndex(name); }

int getVictim(std::string_view line) { return indexOfName(getVictimName(line)); }

int getAttacker(std::string_view line) { return indexOfName(getAttackerName(line)); }

// Rating arithmetic is single precision throughout: every operand below is a
// float, so each product is rounded to float before it is added.
void updateTables(std::string_view line) {
  int w = getWeapon(line);
  if (w > kSuicide) return;
  int v = getVictim(line);
  int k = getAttacker(line);
  if (!isLivePlayer(v) || !isLivePlayer(k)) return;
  Q3Player& victim = q3players[v];
  Q3Player& killer = q3players[k];

  killer.kills_by_weapon[w][v] += 1;
  victim.deaths_by_weapon[w][k] += 1;

  if (v == k) {
    victim.has_flag = 0;  // a carrier who kills himself drops the flag
    victim.combat -= victim.combat / 95.0f;
  } else {
    bool team_kill = (killer.team == 1 || killer.team == 2) && killer.team == victim.team;
    if (team_kill) {
      killer.combat += -2.0f;
      killer.skill += -2.0f;
      killer.kills -= 1;
      killer.team_kills += 1;
    } else {
      float factor = getKestroPoints(w);
      killer.skill += factor * (victim.skill / 100.0f + 1.0f);
      killer.combat += factor * (victim.combat / 100.0f + 1.0f);
      victim.combat -= victim.combat / 100.0f;
    }
    if (killer.has_flag == 1) {
      killer.ctf_flag_hold_kills += 1;
      killer.skill += 0.8f;
    }
    killer.current_kill_streak += 1;
  }
  killer.skill = clampRating(killer.skill);
  killer.combat = clampRating(killer.combat);
  victim.combat = clampRating(victim.combat);
  victim.current_death_streak += 1;
  if (killer.current_kill_streak > killer.kill_streak) killer.kill_streak = killer.current_kill_streak;
  if (victim.current_death_streak > victim.death_streak) victim.death_streak = victim.current_death_streak;
  victim.current_kill_streak = 0;
  if (v != k) killer.current_death_streak = 0;
}
