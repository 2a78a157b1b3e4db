#include "page_frame.h"

#include "html_text.h"

namespace site {

void beginPage(std::string& out, const PageFrame& f) {
  out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  appendEscaped(out, f.site_title.empty() ? std::string("kestro stats") : f.site_title);
  out += " - ";
  appendEscaped(out, f.title);
  out += "</title>\n<link rel=\"stylesheet\" href=\"";
  appendEscaped(out, f.pages + "c-kestro.css");
  out += "\">\n<link rel=\"stylesheet\" href=\"";
  appendEscaped(out, f.site + "season.css");
  out += "\">\n<script src=\"";
  appendEscaped(out, f.site + "season.js");
  out += "\" defer></script>\n</head>\n<body class=\"ksSeason\">\n";
  out += "<table class=\"ksHeader\" width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"4\">\n<tr>\n";
  out += "<td class=\"ksHeader\" align=\"left\" valign=\"middle\"><a href=\"";
  appendEscaped(out, f.site + "index.html");
  out += "\"><img src=\"";
  appendEscaped(out, f.pages + "images/logo-kestro.gif");
  out += "\" width=\"150\" height=\"48\" alt=\"kestro stats\"></a></td>\n";
  out += "<td class=\"ksHeader\" align=\"right\" valign=\"middle\"><b class=\"ksSiteTitle\">";
  appendEscaped(out, f.site_title.empty() ? std::string("season") : f.site_title);
  out += "</b><br>Quake III Arena &middot; OSP&nbsp;</td>\n</tr>\n</table>\n<nav class=\"ksNav\">";
  static constexpr const char* kLinks[][2] = {
      {"index.html", "season"}, {"games.html", "games"}, {"maps.html", "maps"}, {"all.html", "all players"}};
  for (const auto& link : kLinks) {
    if (&link != &kLinks[0]) out += " &middot; ";
    out += "<a href=\"";
    appendEscaped(out, f.site + link[0]);
    out += "\">";
    out += link[1];
    out += "</a>";
  }
  out += "</nav>\n<main>\n";
}

void endPage(std::string& out, const PageFrame& f) {
  out += "</main>\n<div class=\"ksFooter\">made with <a href=\"";
  appendEscaped(out, f.pages + "about.html");
  out += "\">kestro stats</a> &middot; by the project's contributors</div>\n</body>\n</html>\n";
}

}  // namespace site
