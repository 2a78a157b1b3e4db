#include "line_event.h"

#include "line_names.h"
#include "players.h"

namespace {

FixedText colourFree(std::string_view line) {
  FixedText stripped;
  stripColorCodes(line, stripped);
  return stripped;
}

}  // namespace

LineEvent::LineEvent(const LineScan& line_scan)
    : scan(line_scan),
      stripped(colourFree(line_scan.text())),
      stripped_scan(line_scan.index(), stripped.view()),
      victim_name(getVictimName(line_scan)),
      attacker_name(getAttackerName(line_scan)),
      weapon(getWeapon(line_scan)) {}
