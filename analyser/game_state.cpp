#include "game_state.h"

FixedText g_logfile;
FixedText g_time_now;
int g_realtime_stats = 0;
std::FILE* fp = nullptr;
int g_log_type = 0;
int g_mod = 0;
int g_game_count = kFirstGameCount;
int g_reset_count = 0;
int g_make_html = 1;
int g_connect_sequence = 0;
int g_gametype = kFreeForAll;
int g_int_swap = 0;
int g_ca_win_red = 0;
int g_ca_win_blue = 0;
FixedText g_mapname;
