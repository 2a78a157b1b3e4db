#include "weaponstats.h"

#include <climits>
#include <cstdio>
#include <string>

#include "events.h"
#include "line_event.h"
#include "game.h"
#include "kills.h"
#include "players.h"
#include "text.h"

namespace {

// Weapon words of both forms, in the order both readers test them.
struct WeaponWord {
  std::string_view accuracy_line_word;
  std::string_view block_word;
  int weapon;
};
constexpr WeaponWord kWeaponWords[] = {
    {"MachineGun ", "MachineGun", kMachineGun},  {"Shotgun ", "Shotgun", kShotGun},
    {"G.Launcher ", "G.Launcher", kGrenadeLauncher}, {"R.Launcher ", "R.Launcher", kRocketLauncher},
    {"LightningGun ", "LightningGun", kLightningGun}, {"Railgun ", "Railgun", kRailGun},
    {"Plasmagun ", "Plasmagun", kPlasmaGun},     {"BFG ", "BFG", kBfg},
};

// Figures come from the log: add them without ever overflowing a counter.
void addFigure(int& counter, long long amount) {
  long long sum = static_cast<long long>(counter) + amount;
  counter = static_cast<int>(sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : sum);
}

int& attemptsFor(Q3Player& p, int weapon) { return p.accuracy_attempts[weapon - 1]; }

void addWeaponFigures(Q3Player& p, int weapon, const std::string& figures) {
  char word[kTextBufferSize];
  int attempts = 0;
  int hits = 0;
  if (std::sscanf(figures.c_str(), "%509s %d %d", word, &attempts, &hits) != 3) return;
  addFigure(attemptsFor(p, weapon), attempts);
  addFigure(p.accuracy_hits[weapon], hits);
  addFigure(p.accuracy_total_attempts, attempts);
  addFigure(p.accuracy_total_hits, hits);
}

void addDamage(int& counter, const std::string& figures) {
  char word[kTextBufferSize];
  int damage = 0;
  if (std::sscanf(figures.c_str(), "%509s %d", word, &damage) == 2) addFigure(counter, damage);
}

// The readings of one statistics block. A number that cannot be read keeps
// the value of the previous successful reading of the same block.
struct BlockReading {
  int current = kNobody;  // the player whose block is being read
  float percent = 0.0f;
  int hits = 0;
  int attempts = 0;
  int damage = 0;
};

// Reads "<word> <percent> <hits> <attempts>" from a weapon row whose first
// ":" and first "/" have become blanks.
void readWeaponRow(FixedText row, BlockReading& r) {
  char word[kTextBufferSize];
  strReplace(row, ":", " ");
  strReplace(row, "/", " ");
  std::sscanf(row.c_str(), "%509s %f %d %d", word, &r.percent, &r.hits, &r.attempts);
}

void readDamageRow(FixedText row, BlockReading& r) {
  char words[2][kTextBufferSize];
  strReplace(row, ":", " ");
  std::sscanf(row.c_str(), "%509s %509s %d", words[0], words[1], &r.damage);
}

void readBlockLine(Game& game, const FixedText& stripped, BlockReading& r) {
  Q3Player& p = game.q3players[r.current];
  bool has_slash = contains(stripped, "/");
  for (const WeaponWord& w : kWeaponWords) {
    if (contains(stripped, w.block_word) && has_slash) {
      readWeaponRow(stripped, r);
      p.accuracy_hits[w.weapon] = r.hits;
      attemptsFor(p, w.weapon) = r.attempts;
      addFigure(p.accuracy_total_hits, r.hits);
      addFigure(p.accuracy_total_attempts, r.attempts);
      return;
    }
  }
  if (contains(stripped, "Gauntlet") && has_slash) {
    readWeaponRow(stripped, r);
    p.accuracy_hits[kGauntlet] = r.hits;
  } else if (contains(stripped, "Damage Given")) {
    readDamageRow(stripped, r);
    p.damage_given = r.damage;
  } else if (contains(stripped, "Damage Recvd")) {
    readDamageRow(stripped, r);
    p.damage_recvd = r.damage;
  }
}

// The player an accuracy line names. A server prints a leaving player's
// statistics just after the departure, when the record already carries the
// departure marker; the figures still belong to that player.
int accuracySubject(const Game& game, const LineEvent& event) {
  int subject = getVictim(game, event);
  if (subject != kNobody) return subject;
  std::string_view name = event.victim_name;
  if (name == kNoQuote) return kNobody;
  FixedText departed(name);
  departed.append(kDisconnectMarker);
  return getPlayerIndex(game, departed);
}

}  // namespace

void scanWeaponStats(Game& game, const LineEvent& event) {
  if (!event.scan.contains(" accuracy statistics ")) return;
  Q3Player& p = game.q3players[accuracySubject(game, event)];
  std::string figures(event.attacker_name);
  for (const WeaponWord& w : kWeaponWords) {
    if (contains(figures, w.accuracy_line_word)) {
      addWeaponFigures(p, w.weapon, figures);
      return;
    }
  }
  if (contains(figures, "Given ")) {
    addDamage(p.damage_given, figures);
  } else if (contains(figures, "Recvd ")) {
    addDamage(p.damage_recvd, figures);
  }
}

void scanOspStats(Game& game, std::FILE* log, const std::function<void(std::string_view)>& consumed,
                  HighBytes high) {
  BlockReading reading;
  FixedText line;  // the last line read
  FixedText stripped;
  while (!containsAnyOf(line, {"entered the game", "MATCH COMPLETE", "----- CL_Shutdown -----"})) {
    if (!readLine(log, line)) return;
    stripNewLineChars(line);
    replaceNonPrintableChars(line, high);
    if (consumed) consumed(line);
    stripColorCodes(line, stripped);
    if (contains(line, "Map: ")) {
      char words[2][kTextBufferSize] = {};
      std::sscanf(line.c_str(), "%509s %509s", words[0], words[1]);
      game.mapname.assign(toLowerCase(words[1]));
      std::printf("MAP: %s\n", game.mapname.c_str());
      return;
    }
    std::size_t header = stripped.view().find("Accuracy info for: ");
    if (contains(line, "Accuracy info for: ")) {
      reading.current = header == std::string_view::npos
                            ? kNobody
                            : getPlayerIndexUsingStrippedName(game, stripped.view().substr(header + 19));
    } else {
      readBlockLine(game, stripped, reading);
    }
  }
}

bool weaponUsed(const Game& game, int weapon) {
  int n = getTotalPlayers(game);
  for (int i = 0; i < n; ++i) {
    const Q3Player& p = game.q3players[i];
    for (int j = 0; j < n; ++j) {
      if (p.kills_by_weapon[weapon][j] > 0) return true;
    }
    if (weapon == kGauntlet && p.accuracy_hits[kGauntlet] > 0) return true;
    if (weapon >= kMachineGun && weapon <= kPlasmaGun && p.accuracy_attempts[weapon - 1] > 0) return true;
  }
  return false;
}
