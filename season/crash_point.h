// Named points between the steps of a season run at which the crash tests
// stop it. The run must lose or double-count nothing wherever it is killed;
// the tests check that for every point here (and for kills at random times).
#pragma once

namespace season {

// When the environment variable KS_KILL_AT equals `step`, the process kills
// itself with SIGKILL here, as a power cut or "kill -9" would stop it. In a
// normal run (KS_KILL_AT unset) this does nothing.
void crashPoint(const char* step);

}  // namespace season
