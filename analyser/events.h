// Flag events and the console's bookkeeping lines: map, OSP banner, models,
// renames, disconnects, re-entries, clan-arena rounds and the client's own
// reconnect commands.
#pragma once

#include <string>

#include <string_view>

#include "player.h"

struct Game;
struct LineEvent;
struct Run;

// Applies a capture-the-flag message to its subject (record 65 when unknown).
void updateCTFStats(Game& game, const LineEvent& event);

// The map a "Current map: " line names, lower case ("" when it names none).
std::string mapOfLine(std::string_view line);

// Clears the flag mark of every player of `team`, and of the cut 29-character
// record of every long name.
void resetHaveFlag(Game& game, Team team);

// Handles the bookkeeping lines before any other step of the pipeline (the
// OSP banner sets, and the renderer shutdown clears, run.osp_client). True when
// the line is fully handled, false when the pipeline goes on.
bool updateMiscInfo(Game& game, Run& run, const LineEvent& event);

// Markers appended to a raw name, which retire the record: later lines of
// the name no longer match it. They are undone before the report.
inline constexpr std::string_view kDisconnectMarker = "^7<font color=#CC6600>&nbsp;x</font>";
