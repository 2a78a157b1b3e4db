// The frame every season page shares: head, stylesheets, the script, the
// site header and the footer, in the dark theme of the game pages.
#pragma once

#include <string>

namespace site {

struct PageFrame {
  std::string title;  // plain text; escaped here
  std::string site;   // relative path from the page to the season folder: "" or "../"
  std::string pages;  // relative path from the page to the game pages and the site's
                      // stylesheet and images: "../" for the season folder in html/
};

// Appends everything up to the page's own content.
void beginPage(std::string& out, const PageFrame& frame);
// Appends the footer and closes the page.
void endPage(std::string& out, const PageFrame& frame);

}  // namespace site
