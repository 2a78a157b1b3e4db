#include <cmath>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "analyser_fixture.h"
#include "players.h"
#include "scoring.h"

using PlayerTable = AnalyserTest;

TEST_F(PlayerTable, ColourCodesAreRemovedAndDoubleCaretsKeptOnce) {
  FixedText out;
  stripColorCodes("^1A^^2B", out);
  EXPECT_EQ(out.view(), "A^B");
  stripColorCodes("^1Red^7Dog^", out);
  EXPECT_EQ(out.view(), "RedDog");  // a caret at the very end is dropped
  stripColorCodes("plain", out);
  EXPECT_EQ(out.view(), "plain");
}

TEST_F(PlayerTable, ColourStrippingMatchesTheCharacterByCharacterRuleOnAnyText) {
  // The rule, a character at a time: "^^" gives "^" and the second caret is
  // read again; "^" and the character after it are dropped; at most 509 kept.
  auto reference = [](std::string_view source) {
    std::string out;
    for (std::size_t i = 0; i < source.size() && out.size() < kMaxTextLength; ++i) {
      if (source[i] != '^') {
        out += source[i];
      } else if (i + 1 < source.size() && source[i + 1] == '^') {
        out += '^';
      } else {
        ++i;
      }
    }
    return out;
  };
  std::mt19937 random(5);
  const char alphabet[] = {'^', '^', '^', '1', 'a', ' ', '7'};
  for (int trial = 0; trial < 2000; ++trial) {
    std::string text(random() % 1100, ' ');
    for (char& c : text) c = alphabet[random() % std::size(alphabet)];
    FixedText out;
    stripColorCodes(text, out);
    ASSERT_EQ(out.view(), reference(text)) << text;
  }
}

TEST_F(PlayerTable, AddsEachRawNameOnceAndIgnoresEmptyNames) {
  addPlayers({"^1Raven", "^1Raven", "^2Raven", "", kNoQuote});
  ASSERT_EQ(getTotalPlayers(game()), 2);  // colour codes make a different player
  EXPECT_EQ(game().q3players[0].name.view(), "Raven");
  EXPECT_EQ(game().q3players[0].original_name.view(), "^1Raven");
  EXPECT_EQ(getPlayerIndex(game(), "^2Raven"), 1);
  EXPECT_EQ(getPlayerIndex(game(), "Raven"), kNobody);
  EXPECT_EQ(getPlayerIndexUsingStrippedName(game(), "Raven"), 0);
  EXPECT_EQ(game().q3players[1].quote.view(), kNoQuote);
  EXPECT_EQ(game().q3players[1].skill, 10.0f);
}

// Fills the table with 64 players named p0..p63, skill 64 - i.
static void fillTable() {
  Game& game = AnalyserTest::game();
  for (int i = 0; i < kMaxPlayers; ++i) {
    addPlayer(game, "p" + std::to_string(i));
    game.q3players[i].skill = static_cast<float>(kMaxPlayers - i);
  }
}

TEST_F(PlayerTable, The65thNameEvictsTheLeastSkilledDisconnectedPlayer) {
  fillTable();
  game().q3players[10].disconnected = 1;  // skill 54
  game().q3players[20].disconnected = 1;  // skill 44: the least skilled who left
  ::testing::internal::CaptureStdout();
  addPlayer(game(), "newcomer");
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "Total number of Players reached MAX(64)\n"
            "Removing disconnected player with least skill\n"
            "Removing-> p20\n\n");
  EXPECT_EQ(getTotalPlayers(game()), 64);
  EXPECT_EQ(getPlayerIndex(game(), "p20"), kNobody);
  EXPECT_EQ(getPlayerIndex(game(), "newcomer"), 63);
  EXPECT_NE(getPlayerIndex(game(), "p10"), kNobody);
}

TEST_F(PlayerTable, A65thNameIsRefusedWhenNobodyHasLeft) {
  fillTable();
  ::testing::internal::CaptureStdout();
  addPlayer(game(), "newcomer");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Total number of Players reached MAX(64)\nCannot add any more players\n\n");
  EXPECT_EQ(getPlayerIndex(game(), "newcomer"), kNobody);
  EXPECT_EQ(getTotalPlayers(game()), 64);
}

TEST_F(PlayerTable, RemovingAPlayerKeepsOpponentColumnsWithTheirPlayers) {
  addPlayers({"a", "b", "c"});
  game().q3players[0].skill = 30.0f;
  game().q3players[1].skill = 20.0f;
  game().q3players[2].skill = 25.0f;
  game().q3players[0].kills_by_weapon[6][2] = 7;  // a killed c seven times
  removePlayer(game(), 1);
  ASSERT_EQ(getTotalPlayers(game()), 2);
  EXPECT_EQ(game().q3players[0].raw_name.view(), "a");
  EXPECT_EQ(game().q3players[1].raw_name.view(), "c");
  EXPECT_EQ(game().q3players[0].kills_by_weapon[6][1], 7);
  EXPECT_TRUE(game().q3players[2].raw_name.empty());
}

TEST_F(PlayerTable, RemovingResetsOnlyTheRemovedPlayerWhateverTheOtherSkills) {
  addPlayers({"a", "b", "c"});
  game().q3players[0].skill = -150.0f;  // below the removal mark of older designs
  game().q3players[1].skill = -300.0f;
  game().q3players[2].skill = 5.0f;
  removePlayer(game(), 2);
  ASSERT_EQ(getTotalPlayers(game()), 2);
  EXPECT_NE(getPlayerIndex(game(), "a"), kNobody);
  EXPECT_NE(getPlayerIndex(game(), "b"), kNobody);
  EXPECT_EQ(getPlayerIndex(game(), "c"), kNobody);
}

TEST_F(PlayerTable, SortIsStableAndMovesOpponentColumns) {
  addPlayers({"low", "high", "tie"});
  game().q3players[0].skill = 1.0f;
  game().q3players[1].skill = 9.0f;
  game().q3players[2].skill = 1.0f;
  game().q3players[1].deaths_by_weapon[13][0] = 4;  // "high" died 4 times to "low"
  sort(game());
  EXPECT_EQ(game().q3players[0].raw_name.view(), "high");
  EXPECT_EQ(game().q3players[1].raw_name.view(), "low");  // equal skills keep their order
  EXPECT_EQ(game().q3players[2].raw_name.view(), "tie");
  EXPECT_EQ(game().q3players[0].deaths_by_weapon[13][1], 4);
}

namespace {

// The sort as it was first written, a swap of whole records and columns at
// every step: the reference the sort must match on any table.
void referenceSort(Game& game) {
  const int count = getTotalPlayers(game);
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (!(game.q3players[i].skill < game.q3players[i + 1].skill)) continue;
      std::swap(game.q3players[i], game.q3players[i + 1]);
      for (int p = 0; p < count; ++p) {
        for (int w = 0; w <= kAllWeapons; ++w) {
          std::swap(game.q3players[p].kills_by_weapon[w][i], game.q3players[p].kills_by_weapon[w][i + 1]);
          std::swap(game.q3players[p].deaths_by_weapon[w][i], game.q3players[p].deaths_by_weapon[w][i + 1]);
        }
      }
      swapped = true;
    }
  }
}

}  // namespace

TEST_F(PlayerTable, SortMatchesSwappingRecordByRecordOnRandomTables) {
  std::mt19937 random(11);
  const float skills[] = {1.0f, 2.0f, 2.0f, -1.0f, 10.0f, NAN, -INFINITY};
  for (int trial = 0; trial < 200; ++trial) {
    initPlayers(game());
    const int count = 1 + static_cast<int>(random() % kMaxPlayers);
    for (int i = 0; i < count; ++i) {
      addPlayer(game(), "p" + std::to_string(i));
      Q3Player& p = game().q3players[i];
      p.skill = skills[random() % std::size(skills)];
      for (int w = 0; w <= kAllWeapons; ++w) {
        for (int s = 0; s < kPlayerRecords; ++s) {
          p.kills_by_weapon[w][s] = static_cast<int>(random() % 5);
          p.deaths_by_weapon[w][s] = static_cast<int>(random() % 5);
        }
      }
    }
    auto expected = std::make_unique<Game>(game());
    referenceSort(*expected);
    sort(game());
    for (int i = 0; i < kPlayerRecords; ++i) {
      const Q3Player& got = game().q3players[i];
      const Q3Player& want = expected->q3players[i];
      ASSERT_EQ(got.raw_name.view(), want.raw_name.view()) << "trial " << trial << ", place " << i;
      ASSERT_EQ(got.kills_by_weapon, want.kills_by_weapon) << "trial " << trial << ", place " << i;
      ASSERT_EQ(got.deaths_by_weapon, want.deaths_by_weapon) << "trial " << trial << ", place " << i;
    }
  }
}

namespace {

// The fields a game writes, compared with a free record's.
void expectFreeRecord(const Q3Player& p, const Q3Player& free, int index) {
  EXPECT_EQ(p.name.view(), free.name.view()) << index;
  EXPECT_EQ(p.raw_name.view(), free.raw_name.view()) << index;
  EXPECT_EQ(p.original_name.view(), free.original_name.view()) << index;
  EXPECT_EQ(p.model.view(), free.model.view()) << index;
  EXPECT_EQ(p.quote.view(), free.quote.view()) << index;
  EXPECT_EQ(p.frags, free.frags) << index;
  EXPECT_EQ(p.kills, free.kills) << index;
  EXPECT_EQ(p.disconnected, free.disconnected) << index;
  EXPECT_EQ(p.has_flag, free.has_flag) << index;
  EXPECT_EQ(p.team, free.team) << index;
  EXPECT_EQ(p.skill, free.skill) << index;
  EXPECT_EQ(p.combat, free.combat) << index;
  EXPECT_EQ(p.kills_by_weapon, free.kills_by_weapon) << index;
  EXPECT_EQ(p.deaths_by_weapon, free.deaths_by_weapon) << index;
  EXPECT_EQ(p.awards, free.awards) << index;
  EXPECT_EQ(p.accuracy_hits, free.accuracy_hits) << index;
  EXPECT_EQ(p.item_quad, free.item_quad) << index;
  EXPECT_EQ(p.left_out, free.left_out) << index;
}

void expectEveryRecordFree(const Game& game) {
  const auto fresh = std::make_unique<Game>();
  for (int i = 0; i < kPlayerRecords; ++i) expectFreeRecord(game.q3players[i], fresh->q3players[i], i);
}

void scribble(Q3Player& p, int column) {
  p.frags = 7;
  p.kills = 3;
  p.has_flag = 1;
  p.team = kRed;
  p.skill = 42.0f;
  p.quote.assign("said something");
  p.model.assign("sarge");
  p.awards[4] = 1;
  p.kills_by_weapon[kRailGun][column] = 5;
  p.deaths_by_weapon[kSuicide][kNobody] = 2;
}

}  // namespace

// Game ends reset only the records a game can have written; what is left
// must be a table of free records all the same, whatever the game did with
// its players: removed them, renamed one to nothing (the live table then
// ends before records that still hold figures), wrote for nobody.
TEST_F(PlayerTable, GameEndLeavesEveryRecordFree) {
  for (int i = 0; i < 12; ++i) {
    addPlayer(game(), "p" + std::to_string(i));
    scribble(game().q3players[i], i);
  }
  scribble(game().q3players[kNobody], 3);
  scribble(game().q3players[kMaxPlayers], 3);
  removePlayer(game(), 3);
  game().q3players[5].raw_name.clear();  // a rename to an empty name
  ASSERT_EQ(getTotalPlayers(game()), 5);
  initPlayers(game());
  expectEveryRecordFree(game());

  // The next game uses fewer records; those of the earlier one stay free.
  addPlayers({"a", "b"});
  scribble(game().q3players[1], 0);
  scribble(game().q3players[2], 0);  // one past the live records
  initPlayers(game());
  expectEveryRecordFree(game());

  // Records filled without addPlayer, as tests and tools do, count as used.
  for (int i = 0; i < 4; ++i) {
    game().q3players[i].raw_name.assign("x" + std::to_string(i));
    scribble(game().q3players[i], i);
  }
  initPlayers(game());
  expectEveryRecordFree(game());
}

TEST_F(PlayerTable, NamesAreRestoredAndBlankNamesMarked) {
  addPlayers({"^1Raven", "   "});
  game().q3players[0].raw_name.assign("Crow");
  game().q3players[0].name.assign("Crow");
  restoreOriginalPlayerNames(game());
  fixPlayerNames(game());
  EXPECT_EQ(game().q3players[0].raw_name.view(), "^1Raven");
  EXPECT_EQ(game().q3players[0].name.view(), "Raven");
  EXPECT_EQ(game().q3players[1].name.view(), "   \\_");
  EXPECT_EQ(game().q3players[1].raw_name.view(), "   ^7<font color=#CC6600>_</font>");
}

TEST_F(PlayerTable, MarkersNeverGrowANameBeyondItsLimit) {
  addPlayer(game(), std::string(509, ' '));
  fixPlayerNames(game());
  EXPECT_EQ(game().q3players[0].raw_name.size(), 509u);
  EXPECT_EQ(game().q3players[0].name.size(), 509u);
}

TEST_F(PlayerTable, QuotesTakeTheFirstAndThenLongerChatLines) {
  addPlayers({"^1Raven"});
  scanForQuotes(game(), "^1Raven^7: ^2hi");
  EXPECT_EQ(game().q3players[0].quote.view(), "hi");
  scanForQuotes(game(), "^1Raven^7: a longer line");
  EXPECT_EQ(game().q3players[0].quote.view(), "a longer line");
  scanForQuotes(game(), "^1Raven^7: short");  // shorter and at most 10 characters
  EXPECT_EQ(game().q3players[0].quote.view(), "a longer line");
  scanForQuotes(game(), "Stranger^7: a very long line from nobody we know");
  scanForQuotes(game(), "no sender here");
  EXPECT_EQ(game().q3players[0].quote.view(), "a longer line");
}

TEST_F(PlayerTable, PrintPlayersListsColourFreeNames) {
  addPlayers({"^1Raven", "Moss"});
  ::testing::internal::CaptureStdout();
  printPlayers(game());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "TOTAL PLAYERS -> 2\n - Raven\n - Moss\n");
}
