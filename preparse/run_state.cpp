#include "run_state.h"

#include "clients.h"

namespace preparse {

std::FILE* fp_in = nullptr;
std::FILE* fp_out = nullptr;
std::FILE* fp_now = nullptr;

FixedText mapname;
FixedText gametype;
int OSP = 0;
bool game_open = false;

int total_shut = 0;
int shutdown_count = 0;

namespace {
FixedText g_unread_line;
bool g_has_unread_line = false;
}  // namespace

bool nextLine(FixedText& line) {
  if (g_has_unread_line) {
    g_has_unread_line = false;
    line = g_unread_line;
    return true;
  }
  return readLine(fp_now, line);
}

void unreadLine(const FixedText& line) {
  g_unread_line = line;
  g_has_unread_line = true;
}

void clearUnreadLine() { g_has_unread_line = false; }

void resetRunState() {
  fp_in = fp_out = fp_now = nullptr;
  mapname.clear();
  gametype.clear();
  OSP = 0;
  game_open = false;
  total_shut = 0;
  shutdown_count = 0;
  clearUnreadLine();
  validteam = 0;
  for (ClientRecord& record : dupq3players) record = ClientRecord{};
  init();
}

}  // namespace preparse
