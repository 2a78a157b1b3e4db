// Text for the site's pages: escaping, player names in colour, file names
// and number formats.
//
// Everything that comes from the database is untrusted. It reaches a page
// only through these functions, which escape it for text and for quoted
// attribute values alike and turn bytes that are not UTF-8 into U+FFFD, so
// no name, quote, tag or page name can add markup, script or an attribute.
#pragma once

#include <cstddef>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "utf8_text.h"

namespace site {

// Appends `text` made valid (validUtf8) with & < > " ' written as character
// references: safe in element content and in double- or single-quoted
// attribute values.
void appendEscaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

// Appends a player name with its colour codes drawn as the game pages draw
// them ("<font color=#RRGGBB>" runs; "^^" a literal "^"; F, f, B, b and N
// dropped; "^X" with six hex digits a colour of its own), every character
// escaped. A "^X" not followed by six hex digits takes the colour the game
// pages give a short one, so no byte of a name lands in an attribute.
void appendColouredName(std::string& out, std::string_view raw_name);

// The bytes of `text` as lower-case hexadecimal: a file name that is safe and
// different for every different text.
std::string hexOf(std::string_view text);

// `text` for an href: every byte other than ASCII letters, digits and
// "-._~/" as %XX. The result needs no further escaping.
std::string urlEncoded(std::string_view text);

// A number with a fixed count of decimals ("12.50"); "-" for none.
std::string fixed(double value, int decimals);
std::string fixed(std::optional<double> value, int decimals);
// A percentage with one decimal and a sign: "47.3 %"; "-" for none.
std::string percent(std::optional<double> value);

// The heading cells of a table the page script does not sort.
inline void plainHeadings(std::string& out, std::initializer_list<const char*> headings) {
  for (const char* h : headings) {
    out += "<th class=\"neutralHighlight\" scope=\"col\">";
    out += h;
    out += "</th>";
  }
}

// The heading cells of a sortable table: each heading's text and how the
// page script sorts its column ("text", "num").
template <std::size_t N>
void sortableHeadings(std::string& out, const char* const (&headings)[N][2]) {
  for (const auto& h : headings) {
    out += "<th class=\"neutralHighlight\" data-sort=\"";
    out += h[1];
    out += "\" scope=\"col\">";
    out += h[0];
    out += "</th>";
  }
}

}  // namespace site
