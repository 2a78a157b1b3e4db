#include "page_writer.h"

#include <cstdarg>
#include <cstdlib>
#include <filesystem>

#include "game_state.h"
#include "main_tables.h"
#include "reportconfig.h"
#include "teams.h"
#include "text.h"
#include "weapon_page.h"

std::FILE* fpw = nullptr;
std::FILE* fp_sql_gamestats = nullptr;
std::string out_filename_stats;
std::string out_filename_wepns;
int g_failed_games = 0;

namespace {

// Page file names keep within what every file system accepts, however long
// the clan tags of a game are.
constexpr std::size_t kMaxPageNameStem = 200;

// True once a write, flush or close of the current game's pages failed.
bool g_page_failed = false;

// Pages are written under a temporary name and renamed into place once both
// are complete, so that a visitor (or the season's page rotation) never sees
// a page cut short by a full disk, and a realtime page that fails keeps its
// last good version.
std::string pagePath(const std::string& name) { return "html/" + name; }
std::string partPath(const std::string& name) { return "html/" + name + ".part"; }

void removePartialPages() {
  std::remove(partPath(out_filename_stats).c_str());
  std::remove(partPath(out_filename_wepns).c_str());
}

[[noreturn]] void failToOpenPage() {
  std::printf("ERROR: couldnt open file to write\n");
  std::fprintf(stderr, "ERROR: could not open a page of game %d for writing in html/\n", g_game_count);
  if (fpw != nullptr) std::fclose(fpw);
  fpw = nullptr;
  removePartialPages();
  std::exit(1);
}

std::FILE* openPage(const std::string& name, const char* mode) {
  std::FILE* page = std::fopen(partPath(name).c_str(), mode);
  if (page == nullptr) failToOpenPage();
  return page;
}

// Closes the open page, noting any failed write.
void closePage() {
  if (fpw == nullptr) return;
  bool failed = std::ferror(fpw) != 0;
  if (std::fclose(fpw) != 0) failed = true;
  fpw = nullptr;
  if (failed) g_page_failed = true;
}

void appendRotationStatements() {
  if (fp_sql_gamestats == nullptr) return;
  std::fprintf(fp_sql_gamestats, "SELECT @oldestHtml:=MIN(html) from gamestats;\n");
  std::fprintf(fp_sql_gamestats, "UPDATE gamestats SET html='%s' WHERE html=@oldestHtml LIMIT 1;\n",
               out_filename_stats.c_str());
  if (std::fflush(fp_sql_gamestats) != 0 || std::ferror(fp_sql_gamestats) != 0) {
    std::fprintf(stderr, "ERROR: could not add game %d to db_sql_gamestats.txt\n", g_game_count);
    g_failed_games += 1;
  }
}

// Moves both finished pages into place and enters the main page into the
// rotation; a game whose pages failed leaves nothing behind.
void finishPages() {
  closePage();
  bool wrote_weapon_page = std::filesystem::exists(partPath(out_filename_wepns));
  if (!g_page_failed) {
    if (std::rename(partPath(out_filename_stats).c_str(), pagePath(out_filename_stats).c_str()) != 0 ||
        (wrote_weapon_page &&
         std::rename(partPath(out_filename_wepns).c_str(), pagePath(out_filename_wepns).c_str()) != 0)) {
      g_page_failed = true;
    }
  }
  if (g_page_failed) {
    removePartialPages();
    std::printf("ERROR: could not write the pages of game %d\n", g_game_count);
    std::fprintf(stderr, "ERROR: could not write the pages of game %d (html/%s); they were removed\n", g_game_count,
                 out_filename_stats.c_str());
    g_failed_games += 1;
    g_page_failed = false;
    return;
  }
  appendRotationStatements();
}

// Names both pages of the game, appends the rotation statements and opens
// the main page.
void openMainPage() {
  std::string stem = "kestrostats_";
  if (g_realtime_stats == 1) {
    stem += "realtime";
  } else {
    std::string clans;
    detectClans(clans);
    stem += std::string(g_time_now.view()) + "_" + std::to_string(g_game_count) + "_" + clans;
  }
  if (stem.size() > kMaxPageNameStem) stem.resize(kMaxPageNameStem);
  stem += "_";
  stripIllegalFilenameChars(stem);
  out_filename_stats = stem + "main." + std::string(g_config_file_extension.view());
  out_filename_wepns = stem + "wpn." + std::string(g_config_file_extension.view());
  g_page_failed = false;
  fpw = openPage(out_filename_stats, "w");
}

// Copies a file into the page line by line (long lines in 509-character
// pieces); a missing file is skipped.
void copyFileIntoPage(const FixedText& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) wrText(line);
  std::fclose(file);
}

// Name colours, indexed by the colour code's character code modulo 8.
constexpr const char* kNameColours[8] = {"#555555", "#FF0000", "#00FF00", "#FFFF00",
                                         "#4444FF", "#00FFFF", "#FF00FF", "#FFFFFF"};

bool isDroppedCode(char c) { return c == 'F' || c == 'f' || c == 'B' || c == 'b' || c == 'N'; }

}  // namespace

int wr(const char* format, ...) {
  if (fpw == nullptr) openMainPage();
  va_list args;
  va_start(args, format);
  int written = std::vfprintf(fpw, format, args);
  va_end(args);
  return written;
}

void wrText(std::string_view text) {
  if (fpw == nullptr) openMainPage();
  std::fwrite(text.data(), 1, text.size(), fpw);
}

void htmlWriteQ3String(std::string_view name) {
  bool colours = isYes(g_config_use_name_colors);
  wr(colours ? "<font color=#FFFFFF>" : "<font size=\"0\">");
  const int n = static_cast<int>(name.size());
  int i = 0;
  while (i < n - 1) {
    char c = name[i + 1];
    if (name[i] != '^' || c == '^') {
      wrText(name.substr(i, 1));
      i += 1;
    } else if (!colours || isDroppedCode(c)) {
      i += 2;
    } else if ((c == 'X' || c == 'x') && n - i >= 7) {
      // "^X" and six hex digits: a colour of its own.
      wr("</font>");
      wr("<font color=#");
      wrText(name.substr(i + 2, 6));
      wr(">");
      i += 8;
    } else {
      wr("</font>");
      wr("<font color=%s>", kNameColours[static_cast<unsigned char>(c) % 8]);
      i += 2;
    }
  }
  if (i == n - 1) wrText(name.substr(i, 1));
  wr("</font>");
}

void htmlReadHeader() { copyFileIntoPage(g_config_header_file); }

void htmlReadFooter() { copyFileIntoPage(g_config_footer_file); }

void htmlWriteStylesheetLink() { wr("<LINK REL=stylesheet HREF=\"%s\" TYPE=\"text/css\">\n", g_config_stylesheet.c_str()); }

// The title bar and the credits name the product and its contributors and
// link to the product's own page (about.html beside the reports).
void htmlTitleTable() {
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  wr("<tr>\n");
  wr("<td CLASS=\"neutral\" ALIGN=LEFT>&nbsp;<A HREF=\"about.html\">kestro stats</A> by "
     "<A HREF=\"about.html#contributors\">the project's contributors</A></td>\n");
  wr("<td CLASS=\"neutral\" ALIGN=RIGHT><A HREF=\"about.html\">about kestro stats</A>&nbsp;</td>\n");
  wr("</tr>\n");
  wr("</table>\n");
}

void htmlPrintMapImage() {
  wr("<IMG name=MAP src=images/maps/%s.jpg WIDTH=160 HEIGHT=128 onError=\"loadDefaultMap();\">", g_mapname.c_str());
}

void htmlDrawCreditsTable() {
  wr("\n<table  CLASS=\"neutralHighlight\" WIDTH=100%% BORDER=0 CELLSPACING=0 CELLPADDING=2>\n");
  wr("<tr><td CLASS=\"neutralHighlight\" COLSPAN=3><center><b><A HREF=\"about.html\">kestro stats</A> by "
     "<A HREF=\"about.html#contributors\">the project's contributors</A></b></center></td></tr>\n");
  wr("<tr>\n");
  wr("<td WIDTH=33.33%% CLASS=\"neutral\" VALIGN=BOTTOM><center><A HREF=\"about.html#osp\">"
     "<IMG SRC=images/logo-osp.gif BORDER=0 TITLE=\"the OSP modification\"><br><br>about.html#osp</A></center></td>\n");
  wr("<td WIDTH=33.33%% CLASS=\"neutral\"><center><A HREF=\"about.html\">"
     "<IMG SRC=images/logo-kestro.gif BORDER=0 TITLE=\"kestro stats\"><br><br>about.html</A></center></td>\n");
  wr("<td WIDTH=33.33%% CLASS=\"neutral\" VALIGN=BOTTOM><center><A HREF=\"about.html#contributors\">"
     "<IMG SRC=images/logo-team.gif BORDER=0 TITLE=\"the project's contributors\"><br><br>"
     "about.html#contributors</A></center></td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td CLASS=\"neutralHighlight\"><center>[ additional coding and suggestions: the project's contributors "
     "]</center></td>\n");
  wr("<td CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  wr("<td CLASS=\"neutralHighlight\"><center>[ additional testing and suggestions: the project's contributors "
     "]</center></td>\n");
  wr("</tr>\n");
  wr("</table>\n");
}

void switchToWeaponPage() {
  closePage();
  fpw = openPage(out_filename_wepns, "w");
}

void switchBackToMainPage() {
  closePage();
  fpw = openPage(out_filename_stats, "a");
}

void makeHtml() {
  wr("<html>\n");
  wr("<head>");
  wr("<title>kestro stats</title>\n");
  htmlWriteStylesheetLink();
  wr("<script language=\"JavaScript\">\n");
  wr("function loadDefaultMap()\n");
  wr("{ document.MAP.src=\"images/maps/default.gif\"; }\n");
  wr("</script>\n");
  wr("</head>\n");
  wr("<body>\n");
  wr("<center>\n");
  htmlReadHeader();
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%% >\n");
  wr("<tr>\n");
  wr("<td>\n");
  htmlDrawTeamStatTable();
  wr("<br>");
  wr("</td>\n");
  wr("</tr>");
  wr("<tr>\n");
  wr("<td>\n");
  htmlTitleTable();
  wr("<br>");
  wr("</td>\n");
  wr("</tr>");
  wr("<tr>");
  wr("<td>");
  htmlDrawPlayerListTable();
  wr("</td>");
  wr("</tr>");
  if (g_gametype != kFreeForAll) {
    wr("<tr>");
    wr("<td>");
    wr("<br>");
    htmlDrawPlayerStatTable();
    wr("</td>");
    wr("</tr>");
  }
  if (isYes(g_config_make_weapon_stats)) {
    wr("<tr><td>");
    wr("<br>");
    htmlDrawWeaponTable();
    wr("</td></tr>\n");
  }
  wr("<tr><td>");
  htmlDrawCreditsTable();
  wr("</td></tr>\n");
  wr("</table>\n");
  wr("</center>\n");
  htmlReadFooter();
  wr("</body>\n");
  wr("</html>\n");
  finishPages();
}
