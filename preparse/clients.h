// Client records of ks-preparse: what the converter knows about each client
// slot of the server while a game is being translated.
//
// The server numbers its clients 0..63; record 64 catches every number
// outside 0..64 (the world's killer number 1022, garbage), so that no line of
// any log can index outside the tables.
#pragma once

#include <array>
#include <string_view>

#include "text.h"

namespace preparse {

inline constexpr int kClientRecords = 65;
inline constexpr int kCatchAllClient = 64;

// Name of a record that no client holds. The colour codes make it a name no
// real player is likely to contain.
inline constexpr const char* kUnknownPlayer =
    "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1Unknown Player";

struct ClientRecord {
  FixedText name;         // colour-coded name ending in "^7"
  char team = '0';        // '0' free, '1' red, '2' blue, '3' spectator
  int flag_carrier = 0;   // 1 after a non-OSP flag pickup
  // The console reader knows the client under `name` in the current game
  // section: join lines or an obituary with this name have been written, and
  // no disconnect since. Only such a client's chat is written (printChat).
  bool introduced = false;
};

using ClientTable = std::array<ClientRecord, kClientRecords>;

bool isFree(const ClientRecord& record);
// Gives the record's slot up: name back to the unknown-player marker, no
// longer introduced; team and the remembered name stay.
void freeRecord(ClientRecord& record);

// Maps any client number onto a record index: 0..64 stay, everything else
// becomes the catch-all record 64.
int clientSlot(long long number);

// Team words for a team character: own team and opposing team.
std::string_view xteam(char team);
std::string_view oteam(char team);

}  // namespace preparse
