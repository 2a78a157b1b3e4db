// One cleaned console line, read once.
//
// The steps of the pipeline all ask the same questions of a line: which
// keywords it holds, what it says without colour codes, whose line it is,
// who else it names, which weapon. A LineEvent answers them once, when the
// line has passed the keyword tables; the steps are then handlers that read
// the event and change the game, in a fixed order.
#pragma once

#include <string_view>

#include "keyword_index.h"
#include "line_names.h"
#include "text.h"

struct LineEvent {
  // `scan` is the scan of the cleaned line, which must outlive the event.
  explicit LineEvent(const LineScan& scan);
  LineEvent(const LineEvent&) = delete;
  LineEvent& operator=(const LineEvent&) = delete;

  std::string_view line() const { return scan.text(); }

  const LineScan& scan;          // the cleaned line's keywords
  FixedText stripped;            // the line without colour codes
  LineScan stripped_scan;        // its keywords
  std::string_view victim_name;  // the line's subject (getVictimName); kNoQuote when none
  std::string_view attacker_name;  // its second name or value (getAttackerName); kNoQuote when none
  int weapon;                    // getWeapon: kGauntlet..kSuicide, or kNoKill

 private:
  LineEvent(const LineScan& scan, LineNames names);
};
