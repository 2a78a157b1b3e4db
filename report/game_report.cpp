#include "game_report.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "file_system.h"
#include "game_json.h"
#include "main_tables.h"
#include "page_writer.h"
#include "weapon_page.h"

namespace {

std::string pagePath(const std::string& name) { return "html/" + name; }
std::string partPath(const std::string& name) { return "html/" + name + ".part"; }

// A game's pages are not synced: they are made again from the log when a
// crash loses them, and a sync per page would double kestrostats-c's time.
constexpr NewFile kPageFile{Durability::kUnsynced};

}  // namespace

void makeHtml(Report& r) {
  r.wrText("<html>\n");
  r.wrText("<head>");
  r.wrText("<title>kestro stats</title>\n");
  htmlWriteStylesheetLink(r);
  r.wrText("<script language=\"JavaScript\">\n");
  r.wrText("function loadDefaultMap()\n");
  r.wrText("{ document.MAP.src=\"images/maps/default.gif\"; }\n");
  r.wrText("</script>\n");
  r.wrText("</head>\n");
  r.wrText("<body>\n");
  r.wrText("<center>\n");
  htmlReadHeader(r);
  r.wrText("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100% >\n");
  r.wrText("<tr>\n");
  r.wrText("<td>\n");
  htmlDrawTeamStatTable(r);
  r.wrText("<br>");
  r.wrText("</td>\n");
  r.wrText("</tr>");
  r.wrText("<tr>\n");
  r.wrText("<td>\n");
  htmlTitleTable(r);
  r.wrText("<br>");
  r.wrText("</td>\n");
  r.wrText("</tr>");
  r.wrText("<tr>");
  r.wrText("<td>");
  htmlDrawPlayerListTable(r);
  r.wrText("</td>");
  r.wrText("</tr>");
  if (r.game.gametype != kFreeForAll) {
    r.wrText("<tr>");
    r.wrText("<td>");
    r.wrText("<br>");
    htmlDrawPlayerStatTable(r);
    r.wrText("</td>");
    r.wrText("</tr>");
  }
  if (r.config.make_weapon_stats) {
    r.wrText("<tr><td>");
    r.wrText("<br>");
    htmlDrawWeaponTable(r);
    r.wrText("</td></tr>\n");
  }
  r.wrText("<tr><td>");
  htmlDrawCreditsTable(r);
  r.wrText("</td></tr>\n");
  r.wrText("</table>\n");
  r.wrText("</center>\n");
  htmlReadFooter(r);
  r.wrText("</body>\n");
  r.wrText("</html>\n");
}

GameFiles gameFiles(const Report& r) {
  GameFiles game;
  game.number = r.run.game_count;
  game.files.emplace_back(r.out_filename_stats, std::string(r.mainPage()));
  if (!r.weaponPage().empty()) game.files.emplace_back(r.out_filename_wepns, std::string(r.weaponPage()));
  if (r.config.make_json_stats) game.files.emplace_back(r.out_filename_json, gameJson(r));
  return game;
}

bool appendRotationStatements(const std::string& main_page, int number, std::FILE* rotation) {
  if (rotation == nullptr) return true;
  std::fprintf(rotation, "SELECT @oldestHtml:=MIN(html) from gamestats;\n");
  std::fprintf(rotation, "UPDATE gamestats SET html='%s' WHERE html=@oldestHtml LIMIT 1;\n", main_page.c_str());
  if (std::fflush(rotation) != 0 || std::ferror(rotation) != 0) {
    std::fprintf(stderr, "ERROR: could not add game %d to db_sql_gamestats.txt\n", number);
    return false;
  }
  return true;
}

PageResult writeGameFiles(const GameFiles& game, std::FILE* rotation, FileSystem& file_system) {
  // The files of the game: each written whole under its temporary name
  // first, then all moved into place.
  const auto& files = game.files;
  FileResult result;
  for (const auto& [name, content] : files) {
    if (result) result = file_system.writeNewFile(partPath(name), content, kPageFile);
  }
  std::size_t renamed = 0;
  while (result && renamed < files.size() &&
         file_system.rename(partPath(files[renamed].first), pagePath(files[renamed].first))) {
    ++renamed;
  }
  if (renamed < files.size()) {
    // All or nothing: the files already moved into place go again.
    for (std::size_t i = 0; i < files.size(); ++i) {
      file_system.remove(i < renamed ? pagePath(files[i].first) : partPath(files[i].first));
    }
    if (result.failed == FileStep::kCreate) {
      std::printf("ERROR: couldnt open file to write\n");
      std::fprintf(stderr, "ERROR: could not create the pages of game %d in html/\n", game.number);
      return PageResult::kCannotOpen;
    }
    std::printf("ERROR: could not write the pages of game %d\n", game.number);
    std::fprintf(stderr, "ERROR: could not write the pages of game %d (html/%s); they were removed\n", game.number,
                 game.mainPage().c_str());
    return PageResult::kNotWritten;
  }
  return appendRotationStatements(game.mainPage(), game.number, rotation) ? PageResult::kWritten
                                                                           : PageResult::kNotWritten;
}

PageResult writePages(const Report& r, std::FILE* rotation, FileSystem& file_system) {
  return writeGameFiles(gameFiles(r), rotation, file_system);
}
