#include "realtime_log.h"

#include <cstdio>
#include <cstdlib>

#include "game_state.h"
#include "player_sql.h"
#include "season_config.h"
#include "shell_command.h"
#include "run_summary.h"
#include "text.h"

namespace season {

namespace {

bool holdsCompleteGame(std::FILE* log) {
  FixedText line;
  bool started = false;
  while (readLine(log, line)) {
    if (contains(line, "InitGame:")) started = true;
    if (started && contains(line, "ShutdownGame:")) return true;
  }
  return false;
}

// Appends the snapshot to the archive, line by line.
void appendToArchive(const std::string& snapshot) {
  std::string archive_name(g_logfile.view());
  stripIllegalFilenameChars(archive_name);
  archive_name = std::string(g_config_backup_dir.view()) + toLowerCase(archive_name);
  std::FILE* archive = std::fopen(archive_name.c_str(), "ab");
  std::FILE* source = std::fopen(snapshot.c_str(), "rb");
  if (archive == nullptr || source == nullptr) {
    std::printf("ERROR: could not open files for append\n");
  } else {
    // Byte for byte, so that no line is cut at a NUL or a long line's piece.
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, source)) > 0) std::fwrite(buffer, 1, n, archive);
  }
  if (archive != nullptr) std::fclose(archive);
  if (source != nullptr) std::fclose(source);
}

long fileSize(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return -1;
  std::fseek(file, 0, SEEK_END);
  long size = std::ftell(file);
  std::fclose(file);
  return size;
}

}  // namespace

void verifyLogfile(std::string_view name) {
  std::printf("\n%s\n", kRule);
  std::printf(" Verifying logfile (%s)\n", std::string(name).c_str());
  std::printf("%s\n", kRule);
  std::FILE* log = std::fopen(std::string(name).c_str(), "rb");
  bool complete = log != nullptr && holdsCompleteGame(log);
  if (log != nullptr) std::fclose(log);
  if (complete) return;
  std::printf(" Realtime log file does not have a complete game yet.\n");
  std::printf(" Leaving log intact. Stats will be analysed and updated on next run.\n");
  fpclose(fp);
  fpclose(fp_sql);
  std::printf("%s\n\n", kRule);
  std::exit(0);
}

std::string snapshotRealtimeLog() {
  std::printf(" - creating backup... (this may take a while)\n");
  std::string snapshot = "kestro_realtime_backup_" + std::string(g_logfile.view());
  stripIllegalFilenameChars(snapshot);
  std::remove(snapshot.c_str());
  runCommand("cp \"" + quotedValue(g_logfile) + "\" \"" + quotedValue(snapshot) + "\" > tmp-s");
  // Emptying the live log without a full copy would lose its games.
  if (fileSize(snapshot) != fileSize(std::string(g_logfile.view()))) {
    std::printf("ERROR: could not copy the realtime log; leaving it intact for the next run\n");
    return {};
  }
  std::printf(" - truncating realtime logfile (%s)\n", g_logfile.c_str());
  deleteFile(g_logfile.c_str());
  appendToArchive(snapshot);
  return snapshot;
}

void deleteFile(const char* name) {
  std::FILE* file = std::fopen(name, "w");
  if (file != nullptr) std::fclose(file);
}

}  // namespace season
