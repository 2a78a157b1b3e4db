#include "next_steps.h"

#include <cstdio>

#include "config_file.h"
#include "shell_launch.h"

namespace setup {

namespace fs = std::filesystem;

namespace {

// The log the shipped service follows: where a Linux dedicated server run by
// a user "quake3" writes it by default (~/.q3a/osp/games.log).
constexpr const char* kShippedLog = "/home/quake3/.q3a/osp/games.log";
constexpr const char* kShippedWorkDir = "/srv/kestrostats";

// A path in a unit's list or command line, where a space would split it.
std::string unitWord(const std::string& path) {
  return path.find_first_of(" \t") == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace

DatabaseSettings readDatabaseSettings(const std::string& config_text) {
  FixedText host, name, user, pass, port;
  const TextSetting table[] = {
      {"db_host:", &host, ""}, {"db_name:", &name, ""}, {"db_user:", &user, ""},
      {"db_pass:", &pass, ""}, {"db_port:", &port, ""},
  };
  setDefaults(table);
  DatabaseSettings settings;
  if (!config_text.empty()) {
    std::FILE* file = fmemopen(const_cast<char*>(config_text.data()), config_text.size(), "r");
    if (file != nullptr) {
      readSettings(file, table);
      std::fclose(file);
    }
  }
  settings.host = host.view();
  settings.name = name.view();
  settings.user = user.view();
  settings.port = port.view();
  settings.has_password = !pass.empty();
  return settings;
}

std::string accountHost(const std::string& db_host, const std::string& this_host) {
  // A client that reaches the server over the loopback address is seen from
  // that address (also when the server resolves no names); "localhost" is
  // the local socket.
  if (db_host.empty() || db_host == "localhost") return "localhost";
  if (db_host == "127.0.0.1" || db_host == "::1") return db_host;
  return this_host.empty() ? "THIS_HOST" : this_host;
}

std::string sqlString(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') quoted += c;
    quoted += c;
  }
  return quoted + "'";
}

std::string sqlIdentifier(const std::string& name) {
  std::string quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += c;
    quoted += c;
  }
  return quoted + "`";
}

std::string nextSteps(const DatabaseSettings& db, const Surroundings& where) {
  const std::string dir = where.work_dir.string();
  const std::string cfg = (where.work_dir / "s-default.cfg").string();
  const std::string user = kServiceUser;
  std::string text = "\nNext steps for " + dir + ":\n";
  int step = 0;
  auto heading = [&](const std::string& what) { text += "\n" + std::to_string(++step) + ". " + what + "\n"; };
  auto command = [&](const std::string& line) { text += "     " + line + "\n"; };

  if (!where.user_exists || !where.owned_by_user) {
    heading("The season's user " + user + ", owning this directory (the service runs as " + user + "):");
    if (!where.user_exists) {
      command("systemd-sysusers " + shellWord((where.share_dir / "systemd/kestrostats.sysusers").string()));
    }
    command("chown -R " + user + ":" + user + " " + shellWord(dir));
  }

  if (db.name.empty() || db.user.empty()) {
    heading("The database: name it in " + cfg + " (db_host:, db_name:, db_user:, db_pass:) and run");
    command("kestrostats-setup " + shellWord(dir) + "   # again, for the database account to create");
  } else {
    const std::string account = sqlString(db.user) + "@" + sqlString(accountHost(db.host, where.this_host));
    heading("The database account, as the database's administrator on " +
            (db.host.empty() ? std::string("localhost") : db.host) + (db.port.empty() ? "" : " port " + db.port) +
            " (for instance in mariadb -u root):");
    if (accountHost(db.host, where.this_host) == where.this_host && !where.this_host.empty()) {
      text += "   (" + sqlString(where.this_host) + " is this machine as the database server sees it: put its name or\n"
              "   address there)\n";
    }
    command("CREATE USER " + account + " IDENTIFIED BY 'PASSWORD';");
    command("GRANT ALL PRIVILEGES ON " + sqlIdentifier(db.name) + ".* TO " + account + ";");
    text += "   PASSWORD stands for the password of db_pass: in " + cfg +
            (db.has_password ? "" : ", which is still empty: put one there first") +
            ".\n   The first season run creates the database " + db.name + " and its tables.\n";
  }

  heading("The first season, by hand, on the game server's live log (" + user +
          " must be able to read it: \"Log access\" in the README's server part):");
  command("cd " + shellWord(dir) + " && runuser -u " + user + " -- ./kestrostats-s " + kShippedLog);
  text += "   (the log a Linux dedicated server run by the user quake3 writes; name yours). It prints\n"
          "   what it counted and exits 0 when every step succeeded.\n";

  heading("The timer, a season every five minutes:");
  if (!where.units_installed) {
    command("cp " + shellWord((where.share_dir / "systemd/kestrostats-season.service").string()) + " " +
            shellWord((where.share_dir / "systemd/kestrostats-season.timer").string()) + " /etc/systemd/system/");
  }
  text += "   The service follows " + std::string(kShippedLog) + " from " + kShippedWorkDir +
          "; for another log or directory add\n"
          "   /etc/systemd/system/kestrostats-season.service.d/local.conf (systemctl edit kestrostats-season.service):\n";
  command("[Service]");
  if (dir != kShippedWorkDir) {
    command("WorkingDirectory=" + dir);
    command("ReadWritePaths=" + unitWord(dir));
  }
  command("ExecStart=");
  command("ExecStart=" + unitWord((where.work_dir / "kestrostats-s").string()) + " -q /path/to/games.log");
  text += "   then\n";
  command("systemctl daemon-reload");
  command("systemctl enable --now kestrostats-season.timer");
  command("journalctl -u kestrostats-season.service   # what the runs printed");
  return text;
}

}  // namespace setup
