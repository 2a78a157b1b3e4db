// Statements that bring tables made by earlier versions up to date.
#pragma once

#include <string>

namespace season {

// A statement run only when a condition on the schema holds: tables made by
// earlier versions are brought up to date once, and the statement does
// nothing on every later run. Neither text may hold a single quote.
void writeMigration(std::string& out, const char* condition, const char* statement);

// The condition that `table` has no column `column`.
std::string lacksColumn(const char* table, const char* column);

}  // namespace season
