#include "clients.h"

namespace preparse {

bool isFree(const ClientRecord& record) { return contains(record.name, kUnknownPlayer); }

void freeRecord(ClientRecord& record) {
  record.name.assign(kUnknownPlayer);
  record.introduced = false;
}

int clientSlot(long long number) {
  return (number >= 0 && number <= kCatchAllClient) ? static_cast<int>(number) : kCatchAllClient;
}

std::string_view xteam(char team) {
  if (team == '1') return "RED";
  if (team == '2') return "BLUE";
  return "UNKNOWN";
}

std::string_view oteam(char team) {
  if (team == '1') return "BLUE";
  if (team == '2') return "RED";
  return "UNKNOWN";
}

}  // namespace preparse
