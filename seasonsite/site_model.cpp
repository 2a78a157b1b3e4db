#include "site_model.h"

#include <algorithm>
#include <set>

#include "html_text.h"

namespace site {

namespace {

constexpr std::string_view kPagePrefix = "kestrostats_";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSafeFileName(const std::string& name) {
  if (name.empty() || name[0] == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '-' || c == '.';
  });
}

// "2024_06_12_20_15_03" -> "2024-06-12 20:15:03"; empty when `s` is not that.
std::string readTime(std::string_view s) {
  static constexpr std::string_view kShape = "dddd_dd_dd_dd_dd_dd";
  if (s.size() < kShape.size()) return "";
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] == 'd' ? !isDigit(s[i]) : s[i] != '_') return "";
  }
  std::string t(s.substr(0, kShape.size()));
  t[4] = '-';
  t[7] = '-';
  t[10] = ' ';
  t[13] = ':';
  t[16] = ':';
  return t;
}

// Names the time and number of a game: "<time>_<game>_<label>".
void readStem(std::string_view stem, GamePageLink& link) {
  link.when = readTime(stem);
  std::string_view rest = stem;
  if (!link.when.empty() && stem.size() > link.when.size() && stem[link.when.size()] == '_') {
    rest = stem.substr(link.when.size() + 1);
    std::size_t digits = 0;
    while (digits < rest.size() && digits < 9 && isDigit(rest[digits])) ++digits;
    if (digits > 0 && (digits == rest.size() || rest[digits] == '_')) {
      link.game = std::stoll(std::string(rest.substr(0, digits)));
      rest = rest.substr(std::min(rest.size(), digits + 1));
    }
  } else {
    link.when.clear();
  }
  link.label.assign(rest);
  std::replace(link.label.begin(), link.label.end(), '_', ' ');
  while (!link.label.empty() && link.label.back() == ' ') link.label.pop_back();
}

bool newerFirst(const GamePageLink& a, const GamePageLink& b) {
  if (a.when != b.when) return a.when > b.when;  // "" (no time) sorts last
  if (a.game != b.game) return a.game > b.game;
  return a.main > b.main;
}

std::vector<std::size_t> orderBySkill(const std::vector<PlayerRow>& players) {
  std::vector<std::size_t> order(players.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const PlayerRow& x = players[a];
    const PlayerRow& y = players[b];
    if (x.skill != y.skill) return x.skill > y.skill;
    if (x.games != y.games) return x.games > y.games;
    return x.raw_name < y.raw_name;
  });
  return order;
}

std::vector<GamePageLink> gamePages(const std::vector<GameSlot>& slots, const PageExists& exists) {
  std::vector<GamePageLink> games;
  std::set<std::string> seen;  // a realtime page may fill several slots
  for (const GameSlot& slot : slots) {
    GamePageLink link;
    if (!parseGamePage(slot.html, link) || !seen.insert(link.main).second) continue;
    if (!link.weapons.empty() && !exists(link.weapons)) link.weapons.clear();
    if (!link.json.empty() && !exists(link.json)) link.json.clear();
    games.push_back(std::move(link));
  }
  std::sort(games.begin(), games.end(), newerFirst);
  return games;
}

}  // namespace

bool isSafePageName(const std::string& name) { return isSafeFileName(name); }

bool parseGamePage(const std::string& html, GamePageLink& link) {
  link = GamePageLink();
  if (!isSafeFileName(html) || html.compare(0, kPagePrefix.size(), kPagePrefix) != 0) return false;
  std::size_t main_at = html.rfind("main.");
  if (main_at == std::string::npos || main_at < kPagePrefix.size()) return false;
  std::string stem = html.substr(0, main_at);  // ends with "_" for every page kestrostats-c names
  std::string extension = html.substr(main_at + 5);
  link.main = html;
  link.weapons = stem + "wpn." + extension;
  link.json = stem + "game.json";
  std::string_view inner(stem);
  inner.remove_prefix(kPagePrefix.size());
  if (!inner.empty() && inner.back() == '_') inner.remove_suffix(1);
  readStem(inner, link);
  return true;
}

SiteModel buildModel(const SeasonData& data, const SiteRules& rules, const PageExists& exists) {
  SiteModel m;
  m.data = &data;
  m.rules = rules;
  const std::vector<PlayerRow>& players = data.players;
  m.by_skill = orderBySkill(players);
  m.rank.resize(players.size());
  m.page.resize(players.size());
  std::vector<std::size_t> qualified;
  for (std::size_t place = 0; place < m.by_skill.size(); ++place) {
    std::size_t p = m.by_skill[place];
    m.rank[p] = place + 1;
    if (qualifies(m, p)) qualified.push_back(p);
  }
  for (std::size_t p = 0; p < players.size(); ++p) m.page[p] = "players/p" + hexOf(players[p].raw_name) + ".html";
  m.qualified = qualified.size();

  m.award_categories = awardCategories(rules.award_min_attempts);
  m.awards = seasonAwards(players, qualified, m.award_categories);
  m.awards_of.resize(players.size());
  for (const AwardResult& r : m.awards) {
    for (std::size_t p : r.winners) m.awards_of[p].push_back(r.category);
  }

  if (rules.show_clans) {
    m.clans.resize(data.clans.size());
    for (std::size_t i = 0; i < m.clans.size(); ++i) m.clans[i] = i;
    std::stable_sort(m.clans.begin(), m.clans.end(), [&](std::size_t a, std::size_t b) {
      const auto& x = data.clans[a].stat;
      const auto& y = data.clans[b].stat;
      if (x.has_value() != y.has_value()) return x.has_value();  // tags without a stat last
      return x.has_value() && *x > *y;
    });
  }
  m.games = gamePages(data.game_slots, exists);
  for (const GamePageLink& g : m.games) m.live_pages.insert(g.main);
  m.player_of.reserve(players.size());
  for (std::size_t p = 0; p < players.size(); ++p) m.player_of.emplace(players[p].raw_name, p);
  return m;
}

std::optional<std::size_t> playerIndex(const SiteModel& m, const std::string& raw_name) {
  auto found = m.player_of.find(raw_name);
  if (found == m.player_of.end()) return std::nullopt;
  return found->second;
}

}  // namespace site
