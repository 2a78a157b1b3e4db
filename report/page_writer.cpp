#include "page_writer.h"

std::FILE* fpw = nullptr;
std::FILE* fp_sql_gamestats = nullptr;

// The pages arrive with the report; until then a written game produces no
// file.
void makeHtml() {}
