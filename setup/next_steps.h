// What the admin does after the set-up, for this working directory: the
// database account, the first season by hand, the timer.
#pragma once

#include <filesystem>
#include <string>

namespace setup {

// The user the shipped service runs the season as (its User=), created by
// the package or by the shipped sysusers.d entry.
inline constexpr const char* kServiceUser = "kestrostats";

// The database settings of a season configuration. The password itself is
// never kept: only whether there is one.
struct DatabaseSettings {
  std::string host;
  std::string name;
  std::string user;
  std::string port;    // db_port:, when the configuration has one
  bool has_password = false;
};

// Reads them from the text of a season configuration (the shared key/value
// format).
DatabaseSettings readDatabaseSettings(const std::string& config_text);

// The MariaDB account host that a client reaching `db_host` is seen from:
// the same machine for a local server, else this machine (`this_host`).
std::string accountHost(const std::string& db_host, const std::string& this_host);

// `text` as a quoted SQL string, and `name` as a quoted identifier.
std::string sqlString(const std::string& text);
std::string sqlIdentifier(const std::string& name);

struct Surroundings {
  std::filesystem::path work_dir;   // absolute
  std::filesystem::path share_dir;  // the installation's share folder
  std::string this_host;            // this machine's name
  bool units_installed = false;     // the service is in a systemd unit folder (the package)
  bool user_exists = false;         // kServiceUser is known to the system
  bool owned_by_user = false;       // the working directory belongs to kServiceUser
};

// The text printed at the end of a set-up: numbered steps, each with the
// commands to run. The password appears only as a placeholder.
std::string nextSteps(const DatabaseSettings& db, const Surroundings& where);

}  // namespace setup
