#include "games_json.h"

#include "html_text.h"
#include "season_json.h"

namespace site {

namespace {

// Raised whenever a field changes meaning or goes away; new fields do not.
constexpr std::int64_t kGamesFormat = 1;

void optionalText(JsonWriter& j, const char* key, const std::optional<std::string>& value) {
  j.key(key);
  if (value) {
    j.string(*value);
  } else {
    j.null();
  }
}

void optionalNumber(JsonWriter& j, const char* key, const std::optional<std::int64_t>& value) {
  j.key(key);
  if (value) {
    j.number(*value);
  } else {
    j.null();
  }
}

void writePlayer(JsonWriter& j, const GamePlayer& player) {
  const PlayerRow& p = player.figures;
  j.beginObject();
  j.field("slot", player.slot);
  j.field("raw_name", p.raw_name);
  j.field("raw_name_hex", hexOf(p.raw_name));
  j.field("name", p.name);
  j.field("team", player.team);
  j.field("result", player.result);
  j.field("place", player.place);
  j.field("frags", p.frags);
  j.field("kills", p.kills);
  j.field("deaths", p.deaths);
  j.field("suicides", p.suicides);
  j.field("team_kills", p.team_kills);
  j.field("kill_streak", p.kill_streak);
  j.field("death_streak", p.death_streak);
  j.field("damage_given", p.damage_given);
  j.field("damage_received", p.damage_recvd);
  j.field("skill", p.skill);
  j.field("combat", p.combat);
  writeAccuracyTable(j, p, false);  // a game's percentages follow from its counts
  writePlayerTables(j, p);
  j.endObject();
}

}  // namespace

void beginGamesJson(JsonWriter& j) {
  j.beginObject();
  j.field("format", kGamesFormat);
  j.key("games");
  j.beginArray();
}

void writeGameJson(JsonWriter& j, const GameRecord& g) {
  j.beginObject();
  j.field("id", g.id);
  j.field("server", g.server);
  j.field("log", g.log);
  optionalText(j, "played", g.played);
  j.field("counted", g.counted);
  j.field("map", g.map);
  j.field("type", g.type);
  optionalNumber(j, "duration", g.duration);
  j.field("ended", g.ended);
  j.key("score");
  if (g.red_score || g.blue_score) {
    j.beginObject();
    optionalNumber(j, "red", g.red_score);
    optionalNumber(j, "blue", g.blue_score);
    j.endObject();
  } else {
    j.null();
  }
  optionalText(j, "winner_team", g.winner_team);
  optionalText(j, "winner", g.winner);
  optionalText(j, "page", g.page);
  optionalText(j, "weapon_page", g.weapon_page);
  j.key("players");
  j.beginArray();
  for (const GamePlayer& p : g.players) writePlayer(j, p);
  j.endArray();
  j.key("kills");
  j.beginArray();
  for (const KillCount& k : g.kills) {
    j.beginObject();
    j.field("killer", k.killer);
    j.field("victim", k.victim);
    j.field("kills", k.kills);
    j.endObject();
  }
  j.endArray();
  j.endObject();
}

void endGamesJson(JsonWriter& j) {
  j.endArray();
  j.endObject();
}

}  // namespace site
