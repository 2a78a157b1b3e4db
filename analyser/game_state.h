// Run and game state of the log reader, shared by both drivers.
//
// These are the program's globals under their established names. The
// per-game part is reset by the driver's initGlobals() after every game;
// g_mod, g_log_type and g_game_count live for the whole run.
#pragma once

#include <cstdio>

#include "text.h"

inline constexpr int kGameEnds = 13;  // g_reset_count value that closes the current game
inline constexpr int kFirstGameCount = 1000;  // g_game_count before the first written game

// Game types (g_gametype).
inline constexpr int kFreeForAll = 0;
inline constexpr int kTeamDeathmatch = 1;
inline constexpr int kCaptureTheFlag = 2;
inline constexpr int kClanArena = 3;

// Teams (Q3Player::team).
inline constexpr int kNoTeam = 0;
inline constexpr int kRed = 1;
inline constexpr int kBlue = 2;

extern FixedText g_logfile;        // path of the log named on the command line
extern FixedText g_time_now;       // run start, "%Y-%m-%d,%H-%M-%S" local time (page names)
extern int g_realtime_stats;       // 1 when kestrostats-c runs in realtime mode
extern std::FILE* fp;              // the log being read; replaced by the converted log
extern int g_log_type;             // 0 console log, 1 server log (switched once)
extern int g_mod;                  // 1 after the OSP client banner, 0 after "RE_Shutdown( 0 )"
extern int g_game_count;           // number of the last written game, from 1000
extern int g_reset_count;          // kGameEnds: close the current game now
extern int g_make_html;            // 1 = the current game will be written; 0 = warm-up
extern int g_connect_sequence;     // reconnect detector: 0, 1, 2, 13
extern int g_gametype;             // kFreeForAll .. kClanArena
extern int g_int_swap;             // re-entry counter of the current game
extern int g_ca_win_red;           // clan-arena round wins
extern int g_ca_win_blue;
extern FixedText g_mapname;        // map of the current game, lower case; "" when unseen
