#include "vote_allow.h"

namespace cvarsmith {

const std::array<VoteAllowLine, kVoteAllowLineCount> kVoteAllowLines = {{
    {"altgraphics", "Alt Graphics", VoteAllowSource::Flag, 0},
    {"allcaptain", "All Captains", VoteAllowSource::Flag, 1},
    {"armordamage", "Armor Damage", VoteAllowSource::Flag, 2},
    {"capturelimit", "Capture Limit", VoteAllowSource::Flag, 3},
    {"ca_startrespawn", "Start Respawn", VoteAllowSource::Flag, 4},
    {"ca_warmupfire", "Warmup Fire", VoteAllowSource::Flag, 5},
    {"cq3", "Challenge Mode", VoteAllowSource::Flag, 6},
    {"dropitems", "Drop Items", VoteAllowSource::Flag, 7},
    {"falling", "Falling Damage", VoteAllowSource::Flag, 8},
    {"fastrail", "Fast Rail", VoteAllowSource::Flag, 9},
    {"fraglimit", "Frag Limit", VoteAllowSource::Flag, 10},
    {"hook", "Hook", VoteAllowSource::Flag, 11},
    {"instagib", "Instagib", VoteAllowSource::Flag, 12},
    {"items", "Items", VoteAllowSource::VotableItemsMask, -1},
    {"kick", "Kick", VoteAllowSource::Flag, 13},
    {"lgcooldown", "LG Cooldown", VoteAllowSource::Flag, 14},
    {"map", "Map", VoteAllowSource::Flag, 15},
    {"machinegun", "Machine Gun", VoteAllowSource::Flag, 16},
    {"maxpackets", "Max Packets", VoteAllowSource::Flag, 17},
    {"mutespecs", "Mute Spectators", VoteAllowSource::Flag, 18},
    {"notimer", "No Client Timer", VoteAllowSource::Flag, 19},
    {"osphud", "OSP Hud", VoteAllowSource::Flag, 20},
    {"overtime", "Overtime", VoteAllowSource::Flag, 21},
    {"pmove", "Pmove Fixed", VoteAllowSource::Flag, 22},
    {"poweruprespawn", "P-up Respawn", VoteAllowSource::Flag, 23},
    {"powerups", "Power Ups", VoteAllowSource::VotablePowerupsMask, -1},
    {"promode", "Promode", VoteAllowSource::Flag, 24},
    {"reload", "Rail Reload", VoteAllowSource::Flag, 25},
    {"referee", "Referee", VoteAllowSource::Flag, 26},
    {"respawn", "Respawn", VoteAllowSource::Flag, 27},
    {"roundlimit", "Round Limit", VoteAllowSource::Flag, 28},
    {"teamdamage", "Team Damage", VoteAllowSource::Flag, 29},
    {"thrufloors", "Through Floors", VoteAllowSource::Flag, 30},
    {"timelimit", "Time Limit", VoteAllowSource::Flag, 31},
    {"timenudge", "Time Nudge", VoteAllowSource::Flag, 32},
    {"weaponrespawn", "Weapon Respawn", VoteAllowSource::Flag, 33},
}};

}  // namespace cvarsmith
