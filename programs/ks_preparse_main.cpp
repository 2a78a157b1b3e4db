// ks-preparse source.log target.log [1]
// Converts a dedicated server's log into the client-console form; with the
// third argument "1" an unfinished game is carried over to the next run.
#include "ks_preparse.h"

int main(int argc, char** argv) { return preparse::run(argc, argv); }
