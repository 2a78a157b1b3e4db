#include "page_frame.h"

#include "html_text.h"

namespace site {

void beginPage(std::string& out, const PageFrame& f) {
  out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
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
  out += "<td class=\"ksHeader\" align=\"right\" valign=\"middle\"><b>season</b><br>Quake III Arena &middot; "
         "OSP&nbsp;</td>\n</tr>\n</table>\n<main>\n";
}

void endPage(std::string& out, const PageFrame& f) {
  out += "</main>\n<div class=\"ksFooter\">made with <a href=\"";
  appendEscaped(out, f.pages + "about.html");
  out += "\">kestro stats</a> &middot; by the project's contributors</div>\n</body>\n</html>\n";
}

}  // namespace site
