// Small text readers for server-log lines: the field scanner that reads
// words and numbers the way the server's own formats are laid out, and the
// test that tells a chat line from an event line.
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

// Reads "keyword number" at the first occurrence of `keyword`, as "%s%d"
// would. False when the keyword is absent or no number follows it.
bool readClientNumber(std::string_view line, std::string_view keyword, long long& number);

// True for a chat line: the word that ends at the line's first ": " is
// "say", "sayteam" or "tell" (the time stamp in front of it holds no ": ").
// A chat line carries a player's free text, so keywords inside it must never
// be taken for server events.
bool isChatLine(std::string_view line);

// True when the line holds `keyword` as a server event: it contains the
// keyword and is no chat line.
bool holdsEvent(std::string_view line, std::string_view keyword);

}  // namespace preparse
