#include "clients.h"

namespace preparse {

std::array<ClientRecord, kClientRecords> q3players;
std::array<ClientRecord, kClientRecords> dupq3players;
int validteam = 0;

void init() {
  for (ClientRecord& record : q3players) {
    record.name.assign(kUnknownPlayer);
    record.team = '0';
    record.flag_carrier = 0;
    record.introduced = false;
  }
  for (ClientRecord& record : dupq3players) record.team = '0';
}

bool isFree(const ClientRecord& record) { return contains(record.name, kUnknownPlayer); }

void freeRecord(ClientRecord& record) {
  record.name.assign(kUnknownPlayer);
  record.introduced = false;
}

int clientSlot(long long number) {
  return (number >= 0 && number <= kCatchAllClient) ? static_cast<int>(number) : kCatchAllClient;
}

const char* xteam(char team) {
  if (team == '1') return "RED";
  if (team == '2') return "BLUE";
  return "UNKNOWN";
}

const char* oteam(char team) {
  if (team == '1') return "BLUE";
  if (team == '2') return "RED";
  return "UNKNOWN";
}

}  // namespace preparse
