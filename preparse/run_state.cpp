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
bool g_unread_is_continuation = false;
bool g_line_is_continuation = false;  // of the line last returned
bool g_line_is_cut = false;           // of the line last returned
}  // namespace

bool isCutPiece(const FixedText& piece) {
  return piece.size() == kMaxTextLength && piece[kMaxTextLength - 1] != '\n';
}

bool nextLine(FixedText& line) {
  if (g_has_unread_line) {
    g_has_unread_line = false;
    line = g_unread_line;
    g_line_is_continuation = g_unread_is_continuation;
    g_line_is_cut = isCutPiece(line);
    return true;
  }
  if (!readLine(fp_now, line)) return false;
  g_line_is_continuation = g_line_is_cut;
  g_line_is_cut = isCutPiece(line);
  return true;
}

bool lineIsContinuation() { return g_line_is_continuation; }

bool lineIsCut() { return g_line_is_cut; }

void unreadLine(const FixedText& line) {
  g_unread_line = line;
  g_unread_is_continuation = g_line_is_continuation;
  g_has_unread_line = true;
}

void clearUnreadLine() {
  g_has_unread_line = false;
  g_line_is_continuation = false;
  g_line_is_cut = false;
}

void resetGameState() {
  mapname.clear();
  gametype.clear();
  OSP = 0;
  game_open = false;
  validteam = 0;
  for (ClientRecord& record : dupq3players) record = ClientRecord{};
  init();
}

void resetRunState() {
  fp_in = fp_out = fp_now = nullptr;
  total_shut = 0;
  shutdown_count = 0;
  clearUnreadLine();
  resetGameState();
}

}  // namespace preparse
