#include "admin_reader.h"

#include <mysql.h>

#include <cstdlib>

namespace admin {

struct AdminReader::Connection {
  Connection() : mysql(mysql_init(nullptr)) {}
  ~Connection() {
    if (mysql != nullptr) mysql_close(mysql);
  }
  MYSQL* mysql;
};

namespace {

std::string serverError(MYSQL* c, const char* what) {
  return std::string(what) + ": " + mysql_error(c) + " (error " + std::to_string(mysql_errno(c)) + ")";
}

}  // namespace

AdminReader::AdminReader() = default;
AdminReader::~AdminReader() = default;

bool AdminReader::connect(const site::DatabaseLogin& login, std::string& error) {
  c_ = std::make_unique<Connection>();
  return site::loginTo(c_->mysql, login, error);
}

bool AdminReader::query(const std::string& statement, Rows& rows, std::string& error) {
  rows.clear();
  MYSQL* c = c_->mysql;
  if (mysql_real_query(c, statement.data(), statement.size()) != 0) {
    error = serverError(c, "the database refused a query");
    return false;
  }
  MYSQL_RES* result = mysql_store_result(c);
  if (result == nullptr) {
    error = serverError(c, "reading a query's result failed");
    return false;
  }
  const unsigned fields = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    std::vector<Cell> cells;
    for (unsigned i = 0; i < fields; ++i) {
      if (row[i] == nullptr) {
        cells.emplace_back(std::nullopt);
      } else {
        cells.emplace_back(std::string(row[i], lengths[i]));
      }
    }
    rows.push_back(std::move(cells));
  }
  mysql_free_result(result);
  return true;
}

bool AdminReader::number(const std::string& statement, long long& value, std::string& error) {
  Rows rows;
  if (!query(statement, rows, error)) return false;
  value = 0;
  if (!rows.empty() && !rows[0].empty() && rows[0][0]) value = std::strtoll(rows[0][0]->c_str(), nullptr, 10);
  return true;
}

}  // namespace admin
