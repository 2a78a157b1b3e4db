// Small text readers for server-log lines: the field scanner that reads
// words and numbers the way the server's own formats are laid out, and the
// event test that finds a line's event keyword.
#pragma once

#include <string_view>

#include "text.h"

namespace preparse {

// Reads blank-separated fields from a text from left to right, as sscanf's
// "%s" and "%d" do: each read skips leading white space first. Numbers of any
// length are accepted and saturate, so no input overflows.
class FieldScanner {
 public:
  explicit FieldScanner(std::string_view text) : rest_(text) {}
  // One word (the run of non-blank characters); cut to 509 characters when
  // stored. False when only white space is left.
  bool word(FixedText* out = nullptr);
  // The same, the word as a view of the text.
  bool word(std::string_view& out);
  // An optionally signed decimal number. False (nothing consumed but white
  // space) when no digit follows.
  bool number(long long& out);

 private:
  std::string_view rest_;
};

// The text from the first occurrence of `keyword` to the end of `line`;
// empty when the keyword is absent.
std::string_view fromKeyword(std::string_view line, std::string_view keyword);

// The text after the first occurrence of `keyword`; empty when absent.
std::string_view afterKeyword(std::string_view line, std::string_view keyword);

// The text up to the first occurrence of `end` (all of it when absent).
std::string_view upTo(std::string_view text, std::string_view end);

// The position of the last occurrence of `word` in `text`; npos when absent.
std::size_t lastOccurrence(std::string_view text, std::string_view word);

// Reads "keyword number" at the first occurrence of `keyword`, as "%s%d"
// would. False when the keyword is absent or no number follows it.
bool readClientNumber(std::string_view line, std::string_view keyword, long long& number);

// The line's event text: the line without its leading blanks and its time
// stamp. Servers stamp their lines as minutes and seconds ("  0:00 ",
// "981:21 "), as seconds with a tenth ("19.6 "), or not at all (a server's
// console log); the stamp is a word of digits, ":" and "." that begins with a
// digit. The event keyword ("Kill:", "InitGame:", ...) is the word the event
// text begins with; everything after it is the event's own text, player names
// and chat included, and never counts as a keyword.
std::string_view eventText(std::string_view line);

// True when `text` contains `lower_word` (given in lower case) in any letter
// case of ASCII A-Z.
bool containsIgnoringCase(std::string_view text, std::string_view lower_word);

// True when the line is the event `keyword`: its event text begins with it.
bool isEvent(std::string_view line, std::string_view keyword);

}  // namespace preparse
