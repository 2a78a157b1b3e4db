#include "kestrostats_c.h"

int main(int argc, char** argv) { return kestrostatsC(argc, argv); }
