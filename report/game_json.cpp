#include "game_json.h"

#include <cstdint>
#include <string_view>

#include "awards.h"
#include "game.h"
#include "json_writer.h"
#include "kills.h"
#include "page_writer.h"
#include "players.h"
#include "scoring.h"

namespace {

// Weapon numbers 0..12 by the keys of the season database's columns.
constexpr std::string_view kWeaponKeys[] = {"G",  "MG", "SG", "GL", "RL", "LG",     "RG",
                                            "PG", "BFG", "NG", "GH", "TF", "suicide"};
constexpr std::string_view kGameTypes[] = {"ffa", "tdm", "ctf", "ca"};

void writeWeapons(JsonWriter& j, const Q3Player& p, int totals) {
  j.key("weapons");
  j.beginObject();
  for (int w = kGauntlet; w <= kSuicide; ++w) {
    j.key(kWeaponKeys[w]);
    j.beginObject();
    j.field("kills", p.kills_by_weapon[w][totals]);
    j.field("deaths", p.deaths_by_weapon[w][totals]);
    if (w == kGauntlet) j.field("hits", p.accuracy_hits[kGauntlet]);
    if (w >= kMachineGun && w <= kBfg) {
      j.field("hits", p.accuracy_hits[w]);
      j.field("attempts", p.accuracy_attempts[w - 1]);
    }
    j.endObject();
  }
  j.endObject();
}

void writeAwards(JsonWriter& j, const Q3Player& p) {
  j.key("awards");
  j.beginArray();
  for (int slot = 0; slot < kAwardCount; ++slot) {
    if (p.awards[slot] == 1 && !awardTitle(slot).empty()) j.string(awardTitle(slot));
  }
  j.endArray();
}

void writePlayer(JsonWriter& j, const Q3Player& p, int totals) {
  j.beginObject();
  j.field("name", p.name.view());
  j.field("raw_name", p.raw_name.view());
  j.field("team", teamWord(p.team));
  j.field("model", p.model.view());
  j.field("frags", p.frags);
  j.field("kills", p.kills);
  j.field("deaths", p.deaths);
  j.field("suicides", p.suicides);
  j.field("team_kills", p.team_kills);
  j.field("kill_streak", p.kill_streak);
  j.field("death_streak", p.death_streak);
  j.field("damage_given", p.damage_given);
  j.field("damage_received", p.damage_recvd);
  j.field("skill", static_cast<double>(p.skill));
  j.field("combat", static_cast<double>(p.combat));
  j.key("ctf");
  j.beginObject();
  j.field("flag_caps", p.ctf_flag_caps);
  j.field("flag_touches", p.ctf_flag_touches);
  j.field("flag_returns", p.ctf_flag_returns);
  j.field("carrier_kills", p.ctf_efc_kills);
  j.field("base_defends", p.ctf_base_defends);
  j.field("carrier_defends", p.ctf_fc_defends + p.ctf_fc_defends_aggressive);
  j.field("flag_hold_kills", p.ctf_flag_hold_kills);
  j.endObject();
  writeWeapons(j, p, totals);
  writeAwards(j, p);
  j.endObject();
}

void writeTeams(JsonWriter& j, const Game& game) {
  j.key("teams");
  j.beginArray();
  if (game.gametype != kFreeForAll) {
    for (Team team : {kRed, kBlue}) {
      j.beginObject();
      j.field("team", teamWord(team));
      j.field("score", teamScore(game, team));
      j.field("players", getTeamTotalPlayers(game, team));
      j.endObject();
    }
  }
  j.endArray();
}

// What the log stated of the game: null (or "" for how it ended) where it
// said nothing.
void writeFacts(JsonWriter& j, const GameFacts& facts) {
  j.key("played");
  if (facts.played.empty()) {
    j.null();
  } else {
    j.string(facts.played.view());
  }
  j.key("duration");
  if (facts.duration < 0) {
    j.null();
  } else {
    j.number(static_cast<std::int64_t>(facts.duration));
  }
  j.field("ended", facts.ended.view());
}

}  // namespace

std::string gameJson(const Report& r) {
  const Game& game = r.game;
  std::string out;
  JsonWriter j(out);
  j.beginObject();
  j.field("format", 1);
  j.field("game", r.run.game_count);
  j.field("time", r.run.time_now.view());
  j.field("type", kGameTypes[static_cast<int>(game.gametype)]);
  j.field("map", game.mapname.view());
  j.field("main_page", r.out_filename_stats);
  j.key("weapon_page");
  if (r.weaponPage().empty()) {
    j.null();
  } else {
    j.string(r.out_filename_wepns);
  }
  writeFacts(j, game.facts);
  writeTeams(j, game);
  j.key("players");
  j.beginArray();
  const int totals = getTotalPlayers(game);
  for (int i = 0; i < totals; ++i) writePlayer(j, game.q3players[i], totals);
  j.endArray();
  j.endObject();
  out += '\n';
  return out;
}
