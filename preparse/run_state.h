// Run state of ks-preparse: the streams, what is known of the current game,
// and the one reader through which every line of the input is taken.
#pragma once

#include <cstdio>

#include "text.h"

namespace preparse {

extern std::FILE* fp_in;   // the source log ("rb")
extern std::FILE* fp_out;  // the target ("wb"); every translator writes here
extern std::FILE* fp_now;  // the stream being read: the carry-over file, then fp_in

extern FixedText mapname;   // from the last usable "InitGame:" line
extern FixedText gametype;  // the server's g_gametype value, as text
extern int OSP;             // 1 once an "InitGame: " line shows an OSP server; 0 at game end
extern bool game_open;      // a game section has been begun and not yet ended

extern int total_shut;      // "ShutdownGame:" lines in the source (analyze)
extern int shutdown_count;  // such lines handled so far

// Reads the next line (at most 509 characters, line end kept) of fp_now. A
// line handed back with unreadLine() is returned first. False at the end of
// input.
//
// A physical line longer than 509 characters arrives in pieces; every piece
// after the first is a continuation (lineIsContinuation()). Its text begins
// somewhere inside the line, so it must never be taken for an event.
bool nextLine(FixedText& line);
// Whether the line last returned by nextLine() continues the one before it.
bool lineIsContinuation();
// Whether the line last returned by nextLine() was cut at the length limit,
// so that its physical line goes on in the next piece.
bool lineIsCut();
// True for a piece that fills the whole 509 characters without its line end.
bool isCutPiece(const FixedText& piece);
// Hands a line back so that the next nextLine() returns it. Used by readers
// that look ahead and meet a line that belongs to the main loop.
void unreadLine(const FixedText& line);
// Drops a handed-back line and forgets the pieces read so far (when the
// stream being read is replaced).
void clearUnreadLine();

// Resets every run global to its start value (streams are not closed).
void resetRunState();

// Resets what one game's lines teach the converter: map, game type, the OSP
// mark, the open game, the client records and their remembered names, and the
// team latch. Runs at every "ShutdownGame:", so that the translation of a game
// depends on its own lines only, exactly as in a run that begins after it.
void resetGameState();

}  // namespace preparse
