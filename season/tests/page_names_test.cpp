// Which files in html/ the season takes for its own game pages: only those
// it may delete when no slot holds them.
#include <gtest/gtest.h>

#include <string>

#include "game_pages.h"

namespace {

std::string stemOf(const std::string& name, bool* temporary = nullptr) {
  bool part = false;
  std::string stem = season::seasonPageStem(name, part);
  if (temporary != nullptr) *temporary = part;
  return stem;
}

}  // namespace

TEST(SeasonPageNames, EveryFileOfAGameHasTheStemOfItsMainPage) {
  const std::string stem = "kestrostats_2024_06_12_20_15_03_1002_CTF_X_vs_BLUE_";
  for (const char* end : {"main.html", "wpn.html", "game.json", "main.htm", "wpn.htm"}) {
    EXPECT_EQ(stemOf(stem + end), stem) << end;
  }
  bool temporary = false;
  EXPECT_EQ(stemOf(stem + "wpn.html.part", &temporary), stem);
  EXPECT_TRUE(temporary);
  EXPECT_EQ(stemOf(stem + "main.html", &temporary), stem);
  EXPECT_FALSE(temporary);
  // A clan label that looks like a page's ending: the last one counts.
  const std::string odd = "kestrostats_2024_06_12_20_15_03_1002_CTF_main.x_vs_wpn._";
  EXPECT_EQ(stemOf(odd + "main.html"), odd);
  EXPECT_EQ(stemOf(odd + "wpn.html"), odd);
}

TEST(SeasonPageNames, OtherFilesAreNeverTheSeasons) {
  for (const char* name : {"kestrostats_realtime_main.html", "kestrostats_realtime_wpn.html", "1001.html",
                           "c-kestro.css", "notes_main.html", "kestrostats_2024_06_12_20_15_main",
                           "kestrostats_2024-06-12_20_15_03_1001_FFA_main.html",
                           "kestrostats_2024_06_12_20_15_03_1001_FFA_index.html", "season"}) {
    EXPECT_EQ(stemOf(name), "") << name;
  }
}

TEST(SeasonPageNames, TheRotationLocksTheServersSlotsAndEscapesItsTexts) {
  season::SeasonConfig config;
  config.db_name.assign("league");
  config.server = "o'east";
  const std::string script = season::rotationScript(config, {"kestrostats_a'b_main.html"}, {std::string(64, 'f')});
  EXPECT_EQ(script,
            "USE league;\nSTART TRANSACTION;\n"
            "SELECT COUNT(*) INTO @ks_slots FROM gamestats WHERE server='o\\'east' FOR UPDATE;\n"
            "SET @ks_slot=NULL, @oldestHtml=NULL;\n"
            "SELECT slot, html INTO @ks_slot, @oldestHtml FROM gamestats WHERE server='o\\'east' ORDER BY html, slot "
            "LIMIT 1;\n"
            "UPDATE gamestats SET html='kestrostats_a\\'b_main.html' WHERE server='o\\'east' AND slot=@ks_slot;\n"
            "SELECT 'displaced', @oldestHtml FROM DUAL WHERE @oldestHtml IS NOT NULL;\n"
            "UPDATE countedgames SET pages=1 WHERE server='o\\'east' AND fingerprint IN ('" + std::string(64, 'f') +
                "');\n"
            "UPDATE games SET page='kestrostats_a\\'b_main.html', weapon_page=NULL WHERE server='o\\'east' AND "
            "fingerprint='" + std::string(64, 'f') + "';\n"
            "SELECT 'kept', html FROM gamestats;\nCOMMIT;\n");
}
