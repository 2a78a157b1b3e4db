#include "schema_migration.h"

namespace season {

void writeMigration(std::string& out, const char* condition, const char* statement) {
  out += "SET @ks_step=IF((";
  out += condition;
  out += ")>0, '";
  out += statement;
  out += "', 'DO 0');\n";
  out += "PREPARE ks_migration FROM @ks_step; EXECUTE ks_migration; DEALLOCATE PREPARE ks_migration;\n";
}

std::string lacksColumn(const char* table, const char* column) {
  return std::string("SELECT COUNT(*)=0 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
                     "TABLE_NAME='") + table + "' AND COLUMN_NAME='" + column + "'";
}

}  // namespace season
