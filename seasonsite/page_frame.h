// The frame every season page shares: head, stylesheets, the script, the
// site header and the footer, in the dark theme of the game pages.
#pragma once

#include <string>

namespace site {

struct PageFrame {
  std::string title;  // the page's own title, plain text; escaped here
  std::string site;   // relative path from the page to the season folder: "" or "../"
  std::string pages;  // relative path from the page to the game pages and the site's
                      // stylesheet and images: "../" for the season folder in html/
  std::string site_title;  // site_title: of the configuration; empty: not set
};

// Appends everything up to the page's own content: the title is
// "<site title> - <page title>", the header names the site title (or
// "season"), and a bar links the season's main pages.
void beginPage(std::string& out, const PageFrame& frame);
// Appends the footer and closes the page.
void endPage(std::string& out, const PageFrame& frame);

}  // namespace site
