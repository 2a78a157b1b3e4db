// Translators of server-log events into client-console lines.
//
// While a game is open, every line is offered to each translator in turn
// (addClient, delClient, printChat, printCtfStats, printKills, printItems,
// then scanWepnStats); each recognises its own kind of line and writes zero
// or more console lines to fp_out. Names written are the client records'
// colour-coded names, which end in "^7".
#pragma once

#include <string_view>

namespace preparse {

// "ClientUserinfoChanged: " lines with a team and a model: joins, team
// changes and renames. Updates the client's record and its remembered name.
void addClient(std::string_view line);

// "ClientDisconnect:" and "ClientConnect:" lines: an occupied slot is
// reported as disconnected and freed. A connect on a slot still in use thus
// reports the previous holder as gone.
void delClient(std::string_view line);

// "say: " lines: "name^7: message". Lines that mention rcon or a password in
// any letter case are never written.
void printChat(std::string_view line);

// OSP's flag events ("Flag_Capture:" and the rest) and "Round starts!".
void printCtfStats(std::string_view line);

// "Kill: " lines: the obituary of the cause; world and environment deaths
// name the victim only. Updates the records of killer and victim.
void printKills(std::string_view line);

// "Item: " lines: health, armour and power-up pickups, and on servers without
// OSP the pickup of the enemy flag.
void printItems(std::string_view line);

// Offers one line to every translator in the fixed order. A chat line goes
// to printChat only: a player's text must never pass for a server event.
void translateLine(std::string_view line);

}  // namespace preparse
