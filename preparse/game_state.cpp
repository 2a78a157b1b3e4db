#include "game_state.h"

namespace preparse {

void GameState::init() {
  for (ClientRecord& record : q3players) {
    record.name.assign(kUnknownPlayer);
    record.team = '0';
    record.flag_carrier = 0;
    record.introduced = false;
  }
  for (ClientRecord& record : dupq3players) record.team = '0';
}

void GameState::reset() {
  mapname.clear();
  gametype.clear();
  OSP = 0;
  game_open = false;
  validteam = 0;
  facts = ServerFacts{};
  for (ClientRecord& record : dupq3players) record = ClientRecord{};
  init();
}

}  // namespace preparse
