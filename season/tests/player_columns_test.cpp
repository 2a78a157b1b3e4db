// The statements that name playerstats' figure columns name the same ones in
// the same order: the CREATE, the statement that adds a game (its INSERT of
// a new row and its update of a row already there, the streaks last) and the
// game's record, game_players.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game.h"
#include "game_record.h"
#include "player_sql.h"
#include "players.h"
#include "season_config.h"

namespace {

// The text of `script` between `from` and the first `to` after it.
std::string between(const std::string& script, const std::string& from, const std::string& to) {
  const std::size_t start = script.find(from);
  if (start == std::string::npos) return "";
  const std::size_t begin = start + from.size();
  return script.substr(begin, script.find(to, begin) - begin);
}

// The first word of each piece of a list joined by commas: the names of
// column definitions, or of assignments ("c=c+v", "c = c+v").
std::vector<std::string> namesOf(const std::string& list) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    const std::size_t word = list.find_first_not_of(' ', at);
    if (word < comma) names.push_back(list.substr(word, std::min(list.find_first_of(" =", word), comma) - word));
    at = comma + 1;
  }
  return names;
}

std::vector<std::string> without(std::vector<std::string> names, const std::vector<std::string>& left_out) {
  std::erase_if(names, [&](const std::string& n) {
    return std::find(left_out.begin(), left_out.end(), n) != left_out.end();
  });
  return names;
}

// Each name once, where it first stands.
std::vector<std::string> once(const std::vector<std::string>& names) {
  std::vector<std::string> firsts;
  for (const std::string& n : names) {
    if (std::find(firsts.begin(), firsts.end(), n) == firsts.end()) firsts.push_back(n);
  }
  return firsts;
}

}  // namespace

TEST(PlayerColumns, TheTotalsTheirUpdateAndTheGameRecordNameTheSameColumnsInOneOrder) {
  season::SeasonConfig config;
  config.db_name.assign("season");
  config.server = "east";
  const std::string schema = season::schemaScript(config);
  const std::vector<std::string> created =
      without(namesOf(between(schema, "CREATE TABLE IF NOT EXISTS playerstats(", ");\n")),
              {"raw_name", "name", "model", "quote"});
  ASSERT_GT(created.size(), 70u) << schema;

  auto game = std::make_unique<Game>();
  addPlayer(*game, "alice");
  addPlayer(*game, "bob");
  const std::string statements = season::gameStatements(*game, config);
  const std::string alice = between(statements, "INSERT INTO playerstats SET raw_name=\"alice\", ", ";\n");
  const std::string inserted = alice.substr(0, alice.find(" ON DUPLICATE KEY UPDATE "));
  EXPECT_EQ(without(namesOf(inserted), {"name"}), created);
  const std::string added = between(alice, " ON DUPLICATE KEY UPDATE ", ", kill_streak=GREATEST(");
  EXPECT_EQ(once(without(namesOf(added), {"name"})), without(created, {"kill_streak", "death_streak"}));
  for (const char* streak : {"kill_streak", "death_streak"}) {
    EXPECT_NE(alice.find(std::string(", ") + streak + "=GREATEST(" + streak + ", 0)"), std::string::npos) << streak;
  }

  const std::vector<std::string> recorded =
      namesOf(between(schema, "combat FLOAT NOT NULL DEFAULT 0, ", ", played_as "));
  EXPECT_EQ(recorded, without(created, {"skill", "combat", "games"}));
  const std::vector<season::PlayedAs> none;
  const std::string record = season::gameRecordStatements(*game, config, season::GameOrigin{"f", "games.log", none});
  EXPECT_EQ(namesOf(between(record, "place, skill, combat, ", ") VALUES")), recorded);
}
