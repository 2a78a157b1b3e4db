#include "season_awards.h"

#include <algorithm>
#include <cmath>

namespace site {

namespace {

// A category whose measure is a plain counter of the row.
AwardCategory counter(std::string id, std::string title, std::string image, std::int64_t PlayerRow::*field,
                      bool shame = false) {
  AwardCategory c{std::move(id), std::move(title), std::move(image), shame, false, 0, {}};
  c.measure = [field](const PlayerRow& p) { return std::optional<double>(static_cast<double>(p.*field)); };
  return c;
}

std::optional<double> accuracyWithMinimum(const Accuracy& a, std::int64_t min_attempts) {
  if (a.attempts < std::max<std::int64_t>(min_attempts, 1)) return std::nullopt;
  return accuracyPercent(a);
}

void addGeneral(std::vector<AwardCategory>& out, std::int64_t min_attempts) {
  out.push_back(counter("most_frags", "most frags", "player_kills.jpg", &PlayerRow::frags));
  AwardCategory kpd{"best_kills_per_death", "best kills per death", "player_combat.jpg", false, false, 2, {}};
  kpd.measure = [](const PlayerRow& p) { return std::optional<double>(killsPerDeath(p)); };
  out.push_back(kpd);
  AwardCategory skill{"best_skill", "highest skill", "player_kestro.jpg", false, false, 2, {}};
  skill.measure = [](const PlayerRow& p) { return std::optional<double>(p.skill); };
  out.push_back(skill);
  out.push_back(counter("most_damage", "most damage inflicted", "player_damage.jpg", &PlayerRow::damage_given));
  AwardCategory accuracy{"best_accuracy", "best overall accuracy", "player_accuracy.jpg", false, true, 1, {}};
  accuracy.measure = [min_attempts](const PlayerRow& p) { return accuracyWithMinimum(p.accuracy_total, min_attempts); };
  out.push_back(accuracy);
  out.push_back(counter("longest_kill_streak", "longest kill streak", "player_bloodlust.jpg", &PlayerRow::kill_streak));
}

void addWeapons(std::vector<AwardCategory>& out, std::int64_t min_attempts) {
  for (std::size_t w = 0; w < kWeapons; ++w) {
    const WeaponInfo& info = kWeaponTable[w];
    if (*info.image == '\0') continue;  // telefrags: nothing to show for them
    AwardCategory c{std::string("most_kills_") + info.column, std::string("most kills with the ") + info.name,
                    std::string("carnage_") + info.image + ".jpg", false, false, 0, {}};
    c.measure = [w](const PlayerRow& p) { return std::optional<double>(static_cast<double>(p.kills_by_weapon[w])); };
    out.push_back(std::move(c));
  }
  for (const WeaponInfo& info : kWeaponTable) {
    if (info.accuracy < 0) continue;
    auto a = static_cast<std::size_t>(info.accuracy);
    AwardCategory c{std::string("best_accuracy_") + info.column, std::string("best accuracy with the ") + info.name,
                    std::string("accuracy_") + info.image + ".jpg", false, true, 1, {}};
    c.measure = [a, min_attempts](const PlayerRow& p) { return accuracyWithMinimum(p.accuracy[a], min_attempts); };
    out.push_back(std::move(c));
  }
}

// A capture-the-flag category over the sum of some CTF counters.
AwardCategory ctf(std::string id, std::string title, std::string image, std::vector<std::size_t> fields) {
  AwardCategory c{std::move(id), std::move(title), std::move(image), false, false, 0, {}};
  c.measure = [fields = std::move(fields)](const PlayerRow& p) {
    double sum = 0;
    for (std::size_t f : fields) sum += static_cast<double>(p.ctf[f]);
    return std::optional<double>(sum);
  };
  return c;
}

void addCtf(std::vector<AwardCategory>& out) {
  out.push_back(ctf("most_flag_caps", "most flag captures", "ctf_caps.jpg", {kFlagCaps}));
  out.push_back(ctf("most_flag_returns", "most flag returns", "ctf_chaser.jpg", {kFlagReturns}));
  out.push_back(ctf("most_base_defends", "most base defends", "ctf_defense.jpg", {kBaseDefends}));
  out.push_back(ctf("most_carrier_defends", "most flag carrier defends", "ctf_escort.jpg", {2, 3}));
  out.push_back(ctf("most_assists", "most assists", "ctf_assists.jpg", {7, 8}));
  out.push_back(ctf("most_flag_hold_kills", "most kills holding the flag", "ctf_holder.jpg", {9}));
}

void addItems(std::vector<AwardCategory>& out) {
  for (std::size_t i = 0; i < kItems; ++i) {
    const FieldInfo& item = kItemTable[i];
    AwardCategory c{std::string("most_") + item.key, std::string("most ") + item.label + " picked up",
                    std::string("item_") + item.key + ".jpg", false, false, 0, {}};
    c.measure = [i](const PlayerRow& p) { return std::optional<double>(static_cast<double>(p.items[i])); };
    out.push_back(std::move(c));
  }
}

void addShame(std::vector<AwardCategory>& out) {
  out.push_back(counter("most_suicides", "most suicides", "shame_suicides.jpg", &PlayerRow::suicides, true));
  out.push_back(counter("most_team_kills", "most team kills", "shame_teamkills.jpg", &PlayerRow::team_kills, true));
  out.push_back(
      counter("longest_death_streak", "longest death streak", "shame_deathstreak.jpg", &PlayerRow::death_streak, true));
}

}  // namespace

std::vector<AwardCategory> awardCategories(std::int64_t min_attempts) {
  std::vector<AwardCategory> out;
  addGeneral(out, min_attempts);
  addWeapons(out, min_attempts);
  addCtf(out);
  addItems(out);
  addShame(out);
  return out;
}

std::vector<AwardResult> seasonAwards(const std::vector<PlayerRow>& players, const std::vector<std::size_t>& candidates,
                                      const std::vector<AwardCategory>& categories) {
  std::vector<AwardResult> results;
  results.reserve(categories.size());
  std::vector<double> figures(candidates.size());
  std::vector<bool> present(candidates.size());
  for (std::size_t c = 0; c < categories.size(); ++c) {
    AwardResult result{c, 0, {}};
    bool any = false;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      std::optional<double> v = categories[c].measure(players[candidates[i]]);
      present[i] = v.has_value() && std::isfinite(*v);
      if (!present[i]) continue;
      figures[i] = *v;
      if (!any || figures[i] > result.best) result.best = figures[i];
      any = true;
    }
    if (any && result.best > 0) {
      for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (present[i] && figures[i] == result.best) result.winners.push_back(candidates[i]);
      }
    }
    results.push_back(std::move(result));
  }
  return results;
}

}  // namespace site
