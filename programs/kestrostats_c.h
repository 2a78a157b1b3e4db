// kestrostats-c: one game log in, one report per finished game out.
//
// The run: read the command line and the report configuration, read the log
// through the console's line pipeline (console_run.h), then clean up and
// print a summary.
#pragma once

// The whole program; returns the exit status.
int kestrostatsC(int argc, char** argv);
