// TagSift [-?] [-s] [-i file] [-r file] [-o file] [-l number] [-m number] [-w]
// Writes the clan tags found in a name list and its reversed twin.
#include "tagsift.h"

int main(int argc, char** argv) { return tagsift::run(argc, argv); }
