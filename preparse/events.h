// Translators of server-log events into client-console lines.
//
// While a game is open, every line is offered to the translators (addClient,
// delClient, printChat, printCtfStats, printKills, printItems, then
// scanWepnStats); each recognises its own event keyword at the start of the
// line (after its time stamp, see eventText) and writes zero or more console
// lines to fp_out. Names written are the client records' colour-coded names,
// which end in "^7".
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

// "say: " and "sayteam: " lines: "name^7: message" and "(name^7): message".
// Written only when the sender is an introduced client (see ClientRecord),
// whose name the console reader knows and so reads the line as chat and
// nothing else; the sender is the longest such name that the text begins
// with, followed by ": ". Lines that mention rcon or a password in any
// letter case are never written.
void printChat(std::string_view line);

// OSP's flag events ("Flag_Capture:" and the rest) and "Round starts!".
void printCtfStats(std::string_view line);

// "Kill: " lines: the obituary of the cause; world and environment deaths
// name the victim only. Updates the records of killer and victim; the names
// the obituary shows are introduced to the reader.
void printKills(std::string_view line);

// "Item: " lines: health, armour and power-up pickups, and on servers without
// OSP the pickup of the enemy flag.
void printItems(std::string_view line);

// Offers one line to the translators. Each acts on its own event keyword
// only, the word the line begins with after its time stamp, so a keyword in
// a player's name or chat text never passes for a server event.
void translateLine(std::string_view line);

}  // namespace preparse
