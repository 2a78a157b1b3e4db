// The "Vote Allow" group of the Voting page and the 36 vote_allow_ lines the
// writer produces from it. Two of the lines carry the masks of the "Votable
// Items and Power-ups" record instead of a flag of the group.
#pragma once

#include <array>
#include <cstddef>

namespace cvarsmith {

inline constexpr std::size_t kVoteAllowFlagCount = 34;
using VoteAllowFlags = std::array<bool, kVoteAllowFlagCount>;

constexpr VoteAllowFlags allVoteAllowFlagsSet() {
  VoteAllowFlags flags{};
  for (bool& flag : flags) flag = true;
  return flags;
}

enum class VoteAllowSource { Flag, VotableItemsMask, VotablePowerupsMask };

struct VoteAllowLine {
  const char* suffix;   // the variable is "vote_allow_" followed by this
  const char* caption;  // the check box, or the dialog the mask comes from
  VoteAllowSource source;
  int flagIndex;  // index into VoteAllowFlags for a Flag line, else -1
};

inline constexpr std::size_t kVoteAllowLineCount = 36;

// In the order the lines are written.
extern const std::array<VoteAllowLine, kVoteAllowLineCount> kVoteAllowLines;

}  // namespace cvarsmith
