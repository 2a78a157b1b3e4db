// One line of a server .cfg file taken apart into its first three words, and
// the number conversions the loader applies to a value word.
#pragma once

#include <string>
#include <string_view>

namespace cvarsmith {

// The words of a line. The three are filled as far as the line goes even
// when the line is not a complete command (`complete` false).
struct ConfigLineWords {
  std::string keyword;
  std::string name;
  std::string value;
  bool complete = false;
};

// Splits `line` (white space: blank, tab, line feed, carriage return,
// vertical tab, form feed):
// - the keyword is the first run of non-blank characters; a line of fewer
//   than two words is not complete;
// - the name is a double-quoted text (up to the next double quote or line
//   feed; incomplete without the closing quote) or the next run of
//   non-blank characters;
// - the value is empty when the line ends after the name, a double-quoted
//   text (complete only with its closing quote), or the next run of
//   non-blank characters ending early at a "//" comment.
// Anything after the value is ignored.
ConfigLineWords splitConfigLine(std::string_view line);

// Whether a text value can stand between the double quotes of a .cfg line
// and be read back the same: no double quote, carriage return or line feed.
bool fitsInConfigLine(std::string_view text);

// The value's leading whole number: optional blanks, an optional sign and
// digits; 0 when there are none. Values beyond the int range are clamped.
int configInteger(std::string_view value);

// The value's leading decimal number (sign, digits, a decimal point,
// exponent); 0 when there is none or it does not fit a double.
double configReal(std::string_view value);

}  // namespace cvarsmith
