// The rotating per-game report pages of a season.
#pragma once

namespace season {

// Has kestrostats-c write the pages of the log just read, applies the page
// rotation in the database and deletes the pages that fell out of it.
void generateGameStats();

}  // namespace season
