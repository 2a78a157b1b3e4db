#include "kestrostats_s.h"

int main(int argc, char** argv) { return season::kestrostatsS(argc, argv); }
