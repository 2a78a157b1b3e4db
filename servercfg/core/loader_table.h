// The variables the .cfg loader recognises: one row per variable the writer
// writes (sv_hostname twice; the first match wins), each naming the setting
// that receives the value and how the value is read. Every row reads back
// into the setting the writer takes the variable from.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "game_items.h"
#include "server_settings.h"

namespace cvarsmith {

enum class LoaderKind { Flag = 1, Integer = 2, Real = 3, Text = 4, Decoded = 5 };

using FlagTarget = bool& (*)(ServerSettings&);
using IntegerTarget = int& (*)(ServerSettings&);
using RealTarget = double& (*)(ServerSettings&);
struct TextTarget {
  std::string& (*text)(ServerSettings&);
  std::size_t maxLength;  // longer values are cut to this many characters
  // The check box that switches the named file on (the two log files): a
  // loaded name ticks it; an empty value, or `offName`, clears it.
  bool& (*box)(ServerSettings&) = nullptr;
  const char* offName = nullptr;
};
struct ReplacementTarget {  // an integer row: the value is 2 to the power of the choice
  Replaceable item;
};
using DecodedTarget = void (*)(ServerSettings&, int value);
struct NoTarget {};  // accepted and read, but no setting receives it (g_needpass)

using LoaderTarget = std::variant<NoTarget, FlagTarget, IntegerTarget, RealTarget, TextTarget,
                                  ReplacementTarget, DecodedTarget>;

struct LoaderEntry {
  const char* name;  // as the writer spells it; matched ignoring case
  LoaderKind kind;
  // Identifies the row; numbered in blocks of 50 by page, Gameplay from 0 to
  // Other from 300, so code / 50 is the page.
  int code;
  LoaderTarget target;
  // Loading the row changes which controls of its page are enabled.
  bool refresh = false;
  bool invert = false;  // flags: the setting is set when the value is 0
};

inline constexpr std::size_t kLoaderEntryCount = 195;
extern const std::array<LoaderEntry, kLoaderEntryCount> kLoaderEntries;

// The first row whose name equals `name` ignoring case; null when none does.
const LoaderEntry* findLoaderEntry(std::string_view name);

// The page a row belongs to.
Page loaderEntryPage(const LoaderEntry& entry);

enum class ValueOutcome {
  Applied,
  Shortened,  // a text longer than its box, applied cut to the box's limit
  Refused,    // nothing changed
};

// Applies a value word to the row's settings: flags become 1 for a non-zero
// integer (inverted rows for 0), integers and reals take the converted
// value without a range check, texts the word itself (cut to the field's
// limit; a log file name also sets its box), decoded rows set every setting
// their value stands for. Refused, changing nothing: a replace_ value that
// is not a power of two from 1 to 8192, and a text that the writer could
// not write back (one holding a double quote or a carriage return).
ValueOutcome applyLoaderValue(ServerSettings& settings, const LoaderEntry& entry,
                              std::string_view value);

}  // namespace cvarsmith
