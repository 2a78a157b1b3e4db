#include "page_writer.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "teams.h"
#include "text.h"

namespace {

// Page file names keep within what every file system accepts, however long
// the clan tags of a game are.
constexpr std::size_t kMaxPageNameStem = 200;

std::string pageStem(const Game& game, const Run& run) {
  std::string stem = "kestrostats_";
  if (run.realtime_stats) {
    stem += "realtime";
  } else {
    std::string clans;
    detectClans(game, clans);
    stem += std::string(run.time_now.view()) + "_" + std::to_string(run.game_count) + "_" + clans;
  }
  if (stem.size() > kMaxPageNameStem) stem.resize(kMaxPageNameStem);
  stem += "_";
  stripIllegalFilenameChars(stem);
  return stem;
}

// A file as the pages copy it: line by line, in 509-character pieces, each
// piece up to its first NUL byte.
std::string readSiteFile(const FixedText& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  FixedText line;
  while (readLine(file, line)) text.append(line.view());
  std::fclose(file);
  return text;
}

// Name colours, indexed by the colour code's character code modulo 8.
constexpr const char* kNameColours[8] = {"#555555", "#FF0000", "#00FF00", "#FFFF00",
                                         "#4444FF", "#00FFFF", "#FF00FF", "#FFFFFF"};

bool isDroppedCode(char c) { return c == 'F' || c == 'f' || c == 'B' || c == 'b' || c == 'N'; }

// The conversions the report's fragments use, formatted without the C
// library's printf machinery (a page is mostly numbers in cells): "%%", "%d",
// "%s", "%0.2f" and "%.2f" (two decimals), "%0.2d" and "%.2d" (at least two
// digits). The bytes are exactly printf's. Returns false, having appended
// nothing, when the format holds any other conversion.
bool appendFormatted(std::string& out, const char* format, va_list args) {
  const std::size_t before = out.size();
  va_list list;
  va_copy(list, args);
  const char* plain = format;
  const char* f = format;
  bool known = true;
  // The plain text between conversions is found with strchr, which is much
  // quicker than a loop over the characters on a page of long fragments.
  for (; (f = std::strchr(f, '%')) != nullptr; ++f) {
    out.append(plain, static_cast<std::size_t>(f - plain));
    char number[64];
    char* end = number;
    const char* after = f + 1;  // the characters after the "%"
    // "0.2x" and ".2x": the letter after the precision; the characters are
    // tested one by one, so the terminator stops the test in time.
    const bool two = (after[0] == '0' && after[1] == '.' && after[2] == '2') || (after[0] == '.' && after[1] == '2');
    const char letter = two ? after[after[0] == '0' ? 3 : 2] : after[0];
    if (!two && letter == '%') {
      out += '%';
    } else if (!two && letter == 's') {
      out += va_arg(list, const char*);
    } else if (!two && letter == 'd') {
      end = std::to_chars(number, number + sizeof number, va_arg(list, int)).ptr;
      out.append(number, static_cast<std::size_t>(end - number));
    } else if (two && letter == 'f') {
      const std::to_chars_result result =
          std::to_chars(number, number + sizeof number, va_arg(list, double), std::chars_format::fixed, 2);
      if (result.ec != std::errc()) {  // hundreds of digits: the C library formats it
        known = false;
        break;
      }
      out.append(number, static_cast<std::size_t>(result.ptr - number));
    } else if (two && letter == 'd') {
      int value = va_arg(list, int);
      end = std::to_chars(number, number + sizeof number, value).ptr;
      std::string_view digits(number, static_cast<std::size_t>(end - number));
      if (value < 0) {
        out += '-';
        digits.remove_prefix(1);
      }
      if (digits.size() < 2) out += '0';
      out += digits;
    } else {
      known = false;
      break;
    }
    f = two ? after + (after[0] == '0' ? 3 : 2) : after;  // at the conversion's letter
    plain = f + 1;
  }
  va_end(list);
  if (!known) {
    out.resize(before);
    return false;
  }
  out.append(plain);
  return true;
}

}  // namespace

SiteFiles loadSiteFiles(const ReportConfig& config) {
  return {readSiteFile(config.header_file), readSiteFile(config.footer_file)};
}

Report::Report(const Game& g, const Run& r, const ReportConfig& c, const SiteFiles& s)
    : game(g), run(r), config(c), site(s) {
  const std::string stem = pageStem(game, run);
  out_filename_stats = stem + "main." + std::string(config.file_extension.view());
  out_filename_wepns = stem + "wpn." + std::string(config.file_extension.view());
  out_filename_json = stem + "game.json";
  main_page_.reserve(64 * 1024);
  weapon_page_.reserve(64 * 1024);
}

int Report::wr(const char* format, ...) {
  const std::size_t before = current_->size();
  va_list args;
  va_start(args, format);
  bool done = appendFormatted(*current_, format, args);
  va_end(args);
  if (done) return static_cast<int>(current_->size() - before);
  // A conversion the quick path does not know: the C library formats it.
  char text[1024];
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return n;
  if (static_cast<std::size_t>(n) < sizeof text) {
    current_->append(text, static_cast<std::size_t>(n));
    return n;
  }
  std::string long_text(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(long_text.data(), long_text.size(), format, args);
  va_end(args);
  current_->append(long_text.data(), static_cast<std::size_t>(n));
  return n;
}

void Report::wrText(std::string_view text) { current_->append(text); }

void htmlWriteQ3String(Report& r, std::string_view name) {
  bool colours = r.config.use_name_colors;
  r.wrText(colours ? "<font color=#FFFFFF>" : "<font size=\"0\">");
  const int n = static_cast<int>(name.size());
  int i = 0;
  while (i < n - 1) {
    char c = name[i + 1];
    if (name[i] != '^' || c == '^') {
      r.wrText(name.substr(i, 1));
      i += 1;
    } else if (!colours || isDroppedCode(c)) {
      i += 2;
    } else if ((c == 'X' || c == 'x') && n - i >= 7) {
      // "^X" and six hex digits: a colour of its own.
      r.wrText("</font>");
      r.wrText("<font color=#");
      r.wrText(name.substr(i + 2, 6));
      r.wrText(">");
      i += 8;
    } else {
      r.wrText("</font>");
      r.wrText("<font color=");
      r.wrText(kNameColours[static_cast<unsigned char>(c) % 8]);
      r.wrText(">");
      i += 2;
    }
  }
  if (i == n - 1) r.wrText(name.substr(i, 1));
  r.wrText("</font>");
}

void htmlReadHeader(Report& r) { r.wrText(r.site.header); }

void htmlReadFooter(Report& r) { r.wrText(r.site.footer); }

void htmlWriteStylesheetLink(Report& r) {
  r.wr("<LINK REL=stylesheet HREF=\"%s\" TYPE=\"text/css\">\n", r.config.stylesheet.c_str());
}

// The title bar and the credits name the product and its contributors and
// link to the product's own page (about.html beside the reports).
void htmlTitleTable(Report& r) {
  r.wrText("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%>\n");
  r.wrText("<tr>\n");
  r.wrText("<td CLASS=\"neutral\" ALIGN=LEFT>&nbsp;<A HREF=\"about.html\">kestro stats</A> by "
           "<A HREF=\"about.html#contributors\">the project's contributors</A></td>\n");
  r.wrText("<td CLASS=\"neutral\" ALIGN=RIGHT><A HREF=\"about.html\">about kestro stats</A>&nbsp;</td>\n");
  r.wrText("</tr>\n");
  r.wrText("</table>\n");
}

void htmlPrintMapImage(Report& r) {
  r.wr("<IMG name=MAP src=images/maps/%s.jpg WIDTH=160 HEIGHT=128 onError=\"loadDefaultMap();\">",
       r.game.mapname.c_str());
}

void htmlDrawCreditsTable(Report& r) {
  r.wrText("\n<table  CLASS=\"neutralHighlight\" WIDTH=100% BORDER=0 CELLSPACING=0 CELLPADDING=2>\n");
  r.wrText("<tr><td CLASS=\"neutralHighlight\" COLSPAN=3><center><b><A HREF=\"about.html\">kestro stats</A> by "
           "<A HREF=\"about.html#contributors\">the project's contributors</A></b></center></td></tr>\n");
  r.wrText("<tr>\n");
  r.wrText("<td WIDTH=33.33% CLASS=\"neutral\" VALIGN=BOTTOM><center><A HREF=\"about.html#osp\">"
           "<IMG SRC=images/logo-osp.gif BORDER=0 TITLE=\"the OSP modification\"><br><br>about.html#osp</A></center>"
           "</td>\n");
  r.wrText("<td WIDTH=33.33% CLASS=\"neutral\"><center><A HREF=\"about.html\">"
           "<IMG SRC=images/logo-kestro.gif BORDER=0 TITLE=\"kestro stats\"><br><br>about.html</A></center></td>\n");
  r.wrText("<td WIDTH=33.33% CLASS=\"neutral\" VALIGN=BOTTOM><center><A HREF=\"about.html#contributors\">"
           "<IMG SRC=images/logo-team.gif BORDER=0 TITLE=\"the project's contributors\"><br><br>"
           "about.html#contributors</A></center></td>\n");
  r.wrText("</tr>\n");
  r.wrText("<tr>\n");
  r.wrText("<td CLASS=\"neutralHighlight\"><center>[ additional coding and suggestions: the project's contributors "
           "]</center></td>\n");
  r.wrText("<td CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  r.wrText("<td CLASS=\"neutralHighlight\"><center>[ additional testing and suggestions: the project's contributors "
           "]</center></td>\n");
  r.wrText("</tr>\n");
  r.wrText("</table>\n");
}
