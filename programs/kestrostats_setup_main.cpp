// kestrostats-setup: prepares a season working directory from an
// installation (cmake --install), and fills html/images/maps/ with the map
// pictures of the server's own archives; then says what to do next.
//
// Exit status: 0 done (also after --help); 1 wrong command line or no
// installation found; 3 a game archive could not be read (everything else
// was done); 5 a file or folder could not be written, or a folder on the way
// is a symbolic link.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "manifest.h"
#include "map_pictures.h"
#include "next_steps.h"
#include "run_status.h"
#include "working_dir.h"

namespace fs = std::filesystem;

namespace {

// The suite's exit statuses, but for a game archive that could not be read
// (an input, as a log is for the season), which is 3 here.
int exitStatusOfSetup(Failure failure) { return failure == Failure::kLog ? 3 : exitStatusOf(failure); }

const char* kUsage =
    "usage: kestrostats-setup [--game GAME_DIR] [--share DIR] WORK_DIR\n"
    "  Prepares WORK_DIR for kestrostats-s: links to the installed programs, the\n"
    "  default configurations, the page header and footer and the site files in\n"
    "  html/. Files you edited, and files of your own, are never replaced.\n"
    "  --game GAME_DIR  the server's game folder (holding baseq3/ and osp/): its\n"
    "                   .pk3 archives' levelshots/<map>.jpg go to html/images/maps/\n"
    "  --share DIR      the installation's share folder (default: found from this\n"
    "                   program's place, ../share/kestrostats)\n"
    "  It ends with the next steps: the database account, the first season, the\n"
    "  timer. Nothing is written through a symbolic link below WORK_DIR, and the\n"
    "  configuration holding the password is readable by its owner only.\n";

struct Options {
  fs::path work_dir;
  fs::path game_dir;
  fs::path share_dir;
  bool help = false;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      return true;
    }
    if ((arg == "--game" || arg == "--share") && i + 1 < argc) {
      (arg == "--game" ? options.game_dir : options.share_dir) = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return false;
    } else if (options.work_dir.empty()) {
      options.work_dir = arg;
    } else {
      return false;
    }
  }
  return !options.work_dir.empty();
}

// This program's folder; the installation's share folder lies at a fixed
// place from it.
fs::path programFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path();
}

void list(const char* what, const std::vector<std::string>& paths) {
  for (const std::string& p : paths) std::printf("  %s %s\n", what, p.c_str());
}

// New files at the top are named; those in folders are counted per folder,
// so that the next steps are not lost below seventy lines.
void listNew(const std::vector<std::string>& paths) {
  std::map<std::string, std::size_t> per_folder;
  for (const std::string& p : paths) {
    std::size_t slash = p.find('/');
    if (slash == std::string::npos) {
      std::printf("  new:     %s\n", p.c_str());
    } else {
      ++per_folder[p.substr(0, slash + 1)];
    }
  }
  for (const auto& [folder, count] : per_folder) {
    std::printf("  new:     %s (%zu file%s)\n", folder.c_str(), count, count == 1 ? "" : "s");
  }
}

bool unitInstalled() {
  std::error_code ec;
  for (const char* folder : {"/etc/systemd/system", "/usr/lib/systemd/system", "/lib/systemd/system"}) {
    if (fs::exists(fs::path(folder) / "kestrostats-season.service", ec)) return true;
  }
  return false;
}

void printNextSteps(const fs::path& work_dir, const fs::path& share_dir) {
  setup::Surroundings where;
  std::error_code ec;
  where.work_dir = fs::absolute(work_dir, ec).lexically_normal();
  if (where.work_dir.has_filename() == false && where.work_dir.has_parent_path()) {
    where.work_dir = where.work_dir.parent_path();
  }
  where.share_dir = fs::absolute(share_dir, ec).lexically_normal();
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0) where.this_host = host;
  where.units_installed = unitInstalled();
  if (const passwd* user = ::getpwnam(setup::kServiceUser)) {
    where.user_exists = true;
    struct stat info;
    where.owned_by_user = ::stat(work_dir.c_str(), &info) == 0 && info.st_uid == user->pw_uid;
  }
  // Read as every other file below the directory: never through a link.
  setup::WorkTree tree(work_dir);
  std::string config, error;
  if (!tree.read("s-default.cfg", config, error)) config.clear();
  std::fputs(setup::nextSteps(setup::readDatabaseSettings(config), where).c_str(), stdout);
}

// Places every map picture found; returns the count placed.
std::size_t placeMapPictures(setup::WorkingDirectory& work, const setup::MapPictures& found) {
  std::size_t placed = 0;
  for (const auto& [map, bytes] : found.pictures) {
    if (work.placeFile("html/images/maps/" + map + ".jpg", bytes)) ++placed;
  }
  return placed;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return exitStatusOfSetup(Failure::kUsage);
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return exitStatusOfSetup(std::fflush(stdout) == 0 && !std::ferror(stdout) ? Failure::kNone : Failure::kWrite);
  }
  fs::path bin_dir = programFolder();
  if (options.share_dir.empty()) options.share_dir = bin_dir / KS_SHARE_FROM_BIN;
  if (!fs::is_regular_file(options.share_dir / "s-default.cfg")) {
    printError("no installation in " + options.share_dir.string() + " (give --share DIR)");
    return exitStatusOfSetup(Failure::kUsage);
  }
  std::error_code ec;
  fs::create_directories(options.work_dir, ec);
  std::string error;
  setup::Manifest manifest;
  if (!manifest.load(options.work_dir, error)) {
    printError(error);
    return exitStatusOfSetup(Failure::kWrite);
  }
  setup::SetupReport report;
  setup::WorkingDirectory work(options.work_dir, manifest, report);
  setup::prepareWorkingDirectory(work, options.share_dir, bin_dir);

  bool archive_failed = false;
  if (!options.game_dir.empty()) {
    std::vector<fs::path> archives = setup::gameArchives(options.game_dir);
    setup::MapPictures found = setup::readMapPictures(archives);
    std::size_t placed = placeMapPictures(work, found);
    std::printf("Map pictures: %zu found in %zu archives of %s\n", placed, archives.size(), options.game_dir.c_str());
    for (const std::string& e : found.errors) printError(e);
    archive_failed = !found.errors.empty();
  }
  if (!manifest.save(options.work_dir, error)) report.errors.push_back(error);

  std::printf("Working directory %s:\n", options.work_dir.c_str());
  listNew(report.written);
  list("updated:", report.updated);
  list("kept (edited or yours):", report.kept);
  for (const std::string& w : report.warnings) std::fprintf(stderr, "WARNING: %s\n", w.c_str());
  for (const std::string& e : report.errors) printError(e);
  if (report.errors.empty()) printNextSteps(options.work_dir, options.share_dir);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    printError("could not write the report to standard output");
    return exitStatusOfSetup(Failure::kWrite);
  }
  // A file not written weighs more than a picture not found.
  if (!report.errors.empty()) return exitStatusOfSetup(Failure::kWrite);
  return exitStatusOfSetup(archive_failed ? Failure::kLog : Failure::kNone);
}
