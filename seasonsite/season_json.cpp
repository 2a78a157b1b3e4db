#include "season_json.h"

#include "html_text.h"
#include "json_writer.h"

namespace site {

namespace {

// Raised whenever a field changes meaning or goes away; new fields do not.
constexpr std::int64_t kFormatVersion = 1;

void writeAccuracy(JsonWriter& j, const Accuracy& a, bool with_percent) {
  j.beginObject();
  j.field("hits", a.hits);
  j.field("attempts", a.attempts);
  if (with_percent) j.field("percent", accuracyPercent(a));
  j.endObject();
}

// {"ffa": {...}, "team": {...}}: each family's rating, deviation,
// volatility and number of rated games.
void writeRatings(JsonWriter& j, const SeasonRatings& ratings, std::size_t player) {
  j.key("ratings");
  j.beginObject();
  for (RatingFamily family : kRatingFamilies) {
    const PlayerRating& r = ratings.of(player, family);
    j.key(ratingFamilyKey(family));
    j.beginObject();
    j.field("rating", r.rating.rating);
    j.field("deviation", r.rating.deviation);
    j.field("volatility", r.rating.volatility);
    j.field("games", r.games);
    j.endObject();
  }
  j.endObject();
}

void writePlayer(JsonWriter& j, const SiteModel& m, std::size_t i, const SeasonRatings* ratings) {
  const PlayerRow& p = m.data->players[i];
  j.beginObject();
  j.field("raw_name", p.raw_name);
  j.field("raw_name_hex", hexOf(p.raw_name));
  j.field("name", p.name);
  j.field("page", m.page[i]);
  j.field("rank", static_cast<std::int64_t>(m.rank[i]));
  j.field("on_leaderboard", qualifies(m, i));
  j.field("model", p.model);
  j.field("quote", p.quote);
  j.field("games", p.games);
  j.field("frags", p.frags);
  j.field("kills", p.kills);
  j.field("deaths", p.deaths);
  j.field("kills_per_death", killsPerDeath(p));
  j.field("suicides", p.suicides);
  j.field("team_kills", p.team_kills);
  j.field("skill", p.skill);
  j.field("combat", p.combat);
  j.field("kill_streak", p.kill_streak);
  j.field("death_streak", p.death_streak);
  j.field("damage_given", p.damage_given);
  j.field("damage_received", p.damage_recvd);
  writeAccuracyTable(j, p, true);
  writePlayerTables(j, p);
  if (ratings != nullptr) writeRatings(j, *ratings, i);
  j.endObject();
}

void writeAwards(JsonWriter& j, const SiteModel& m) {
  j.beginArray();
  for (const AwardResult& r : m.awards) {
    const AwardCategory& c = m.award_categories[r.category];
    j.beginObject();
    j.field("id", c.id);
    j.field("title", c.title);
    j.field("image", "images/awards/" + c.image);
    j.field("shame", c.shame);
    if (r.winners.empty()) {
      j.key("value");
      j.null();
    } else {
      j.field("value", r.best);
    }
    j.key("winners");
    j.beginArray();
    for (std::size_t w : r.winners) j.string(m.data->players[w].raw_name);
    j.endArray();
    j.endObject();
  }
  j.endArray();
}

void writeGames(JsonWriter& j, const SiteModel& m) {
  j.beginArray();
  for (const GamePageLink& g : m.games) {
    j.beginObject();
    j.field("main", g.main);
    if (g.weapons.empty()) {
      j.key("weapons");
      j.null();
    } else {
      j.field("weapons", g.weapons);
    }
    if (g.json.empty()) {
      j.key("json");
      j.null();
    } else {
      j.field("json", g.json);
    }
    j.field("time", g.when);
    j.field("game", g.game);
    j.field("label", g.label);
    j.endObject();
  }
  j.endArray();
}

}  // namespace

void writeAccuracyTable(JsonWriter& j, const PlayerRow& p, bool with_percent) {
  j.key("accuracy");
  j.beginObject();
  j.key("total");
  writeAccuracy(j, p.accuracy_total, with_percent);
  for (std::size_t a = 0; a < kAccuracyWeapons; ++a) {
    j.key(kAccuracyColumns[a]);
    writeAccuracy(j, p.accuracy[a], with_percent);
  }
  j.endObject();
}

void writePlayerTables(JsonWriter& j, const PlayerRow& p) {
  for (const char* table : {"kills_by_weapon", "deaths_by_weapon"}) {
    const auto& counts = table[0] == 'k' ? p.kills_by_weapon : p.deaths_by_weapon;
    j.key(table);
    j.beginObject();
    for (std::size_t w = 0; w < kWeapons; ++w) j.field(kWeaponTable[w].column, counts[w]);
    j.endObject();
  }
  j.key("items");
  j.beginObject();
  for (std::size_t i = 0; i < kItems; ++i) j.field(kItemTable[i].key, p.items[i]);
  j.endObject();
  j.key("ctf");
  j.beginObject();
  for (std::size_t c = 0; c < kCtfFields; ++c) j.field(kCtfTable[c].key, p.ctf[c]);
  j.endObject();
}

std::string seasonJson(const SiteModel& m, const std::string& generated, const SeasonRatings* ratings) {
  std::string out;
  out.reserve(1024 + m.data->players.size() * 1600);
  JsonWriter j(out);
  j.beginObject();
  j.field("format", kFormatVersion);
  j.field("generated", generated);
  j.field("last_update", m.data->last_update);
  j.field("server", m.data->server);
  j.field("min_games", m.rules.min_games);
  j.key("players");
  j.beginArray();
  for (std::size_t p : m.by_skill) writePlayer(j, m, p, ratings);
  j.endArray();
  j.key("clans");
  j.beginArray();
  for (std::size_t c : m.clans) {
    const ClanRow& clan = m.data->clans[c];
    j.beginObject();
    j.field("tag", clan.tag);
    j.field("stat", clan.stat);
    j.endObject();
  }
  j.endArray();
  j.key("games");
  writeGames(j, m);
  j.key("awards");
  writeAwards(j, m);
  j.endObject();
  out += '\n';
  return out;
}

}  // namespace site
