// What kestrostats-admin reads from the season database, with MariaDB
// Connector/C: whole small results as rows of texts. The statements hold no
// text from a user or the database but numbers the program read and
// hexadecimal literals (admin_sql.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database_reader.h"

namespace admin {

using Cell = std::optional<std::string>;  // none for NULL
using Rows = std::vector<std::vector<Cell>>;

class AdminReader {
 public:
  AdminReader();
  ~AdminReader();
  AdminReader(const AdminReader&) = delete;
  AdminReader& operator=(const AdminReader&) = delete;

  // False with the reason in `error` when the server cannot be reached or
  // refuses the login.
  bool connect(const site::DatabaseLogin& login, std::string& error);

  // Every row of `statement`'s result. False with the reason in `error`.
  bool query(const std::string& statement, Rows& rows, std::string& error);

  // The one number `statement` selects (0 when there is no row or NULL).
  bool number(const std::string& statement, long long& value, std::string& error);

 private:
  struct Connection;
  std::unique_ptr<Connection> c_;
};

}  // namespace admin
