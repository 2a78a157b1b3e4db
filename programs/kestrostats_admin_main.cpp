#include "admin_program.h"

int main(int argc, char** argv) { return admin::kestrostatsAdmin(argc, argv); }
