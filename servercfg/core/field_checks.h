// The checks the dialog makes when it copies a page's boxes into the page's
// record: whole numbers (a few of them within a range), the one real number,
// and texts of limited length. Each check gives either the value or the
// message that the dialog shows before it puts the focus back on the box.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cvarsmith {

struct IntegerRange {
  int minimum;
  int maximum;
};

// The boxes whose values the dialog keeps within a range.
inline constexpr IntegerRange kInstagibReloadRange{100, 5000};
inline constexpr IntegerRange kModeStartRange{-1, 99};
inline constexpr IntegerRange kVoteLimitRange{-1, 999};
inline constexpr IntegerRange kVotePercentRange{1, 100};

// "Hostname:", the log file and admin log names and the eight MOTD lines.
inline constexpr std::size_t kTextFieldLimit = 255;

template <typename T>
struct FieldCheck {
  std::optional<T> value;  // nothing when the check failed
  std::string message;     // why, when it failed
};

// A whole number: optional blanks, an optional sign, digits, optional
// blanks, and nothing else; it must fit in 32 bits ("Please enter an
// integer.") and lie within `range` when one is given ("Please enter an
// integer between MIN and MAX.").
FieldCheck<int> checkIntegerField(std::string_view text,
                                  std::optional<IntegerRange> range = std::nullopt);

// A finite decimal number such as 3 or 2.5 ("Please enter a number.").
FieldCheck<double> checkRealField(std::string_view text);

// "Please enter no more than LIMIT characters." when `text` is longer. Texts
// are kept one byte per character (Latin-1), so bytes are characters.
std::optional<std::string> checkTextLength(std::string_view text, std::size_t limit);

}  // namespace cvarsmith
