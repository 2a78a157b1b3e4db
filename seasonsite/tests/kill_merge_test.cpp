#include "kill_merge.h"

#include <gtest/gtest.h>

#include <vector>

namespace site {
namespace {

GameRecord game(std::int64_t id, const std::string& listed) {
  GameRecord g;
  g.id = id;
  g.listed = listed;
  return g;
}

ListedKill kill(std::int64_t id, const std::string& listed, const std::string& killer, std::int64_t n) {
  return ListedKill{listed, id, KillCount{killer, "victim", n}};
}

// The kill stream saw games the game stream did not (committed between the
// two snapshots), some on the same listed time as a game of both: each game
// gets its own kills, in the stream's order, and no other game's.
TEST(KillMerge, EachGameGetsItsOwnKillsAndGamesOfTheLaterSnapshotArePassedBy) {
  const std::vector<ListedKill> stream = {
      kill(9, "2024-03-01 00:00:00", "newest, not in the games", 1),
      kill(5, "2024-02-01 00:00:00", "a", 2),
      kill(5, "2024-02-01 00:00:00", "b", 3),
      kill(7, "2024-01-01 00:00:00", "same time, higher id, not in the games", 4),
      kill(4, "2024-01-01 00:00:00", "c", 5),
      kill(2, "2023-12-01 00:00:00", "between, not in the games", 6),
      kill(1, "2023-11-01 00:00:00", "d", 7),
  };
  std::size_t at = 0;
  KillMerge merge([&]() -> std::optional<ListedKill> {
    if (at == stream.size()) return std::nullopt;
    return stream[at++];
  });
  std::vector<GameRecord> games = {game(5, "2024-02-01 00:00:00"), game(4, "2024-01-01 00:00:00"),
                                   game(3, "2023-12-15 00:00:00"), game(1, "2023-11-01 00:00:00"),
                                   game(0, "2023-10-01 00:00:00")};
  for (GameRecord& g : games) merge.addTo(g);
  auto killers = [](const GameRecord& g) {
    std::string out;
    for (const KillCount& k : g.kills) out += k.killer + "=" + std::to_string(k.kills) + " ";
    return out;
  };
  EXPECT_EQ(killers(games[0]), "a=2 b=3 ");
  EXPECT_EQ(killers(games[1]), "c=5 ");
  EXPECT_EQ(killers(games[2]), "");
  EXPECT_EQ(killers(games[3]), "d=7 ");
  EXPECT_EQ(killers(games[4]), "");
  EXPECT_EQ(at, stream.size());
}

}  // namespace
}  // namespace site
