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
    : LineEvent(line_scan, getLineNames(line_scan)) {}

LineEvent::LineEvent(const LineScan& line_scan, LineNames names)
    : scan(line_scan),
      stripped(colourFree(line_scan.text())),
      stripped_scan(LineScan::colourFreeCopy(line_scan, stripped.view())),
      victim_name(names.victim),
      attacker_name(names.attacker),
      weapon(getWeapon(line_scan)) {}
