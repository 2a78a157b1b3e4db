#include "working_dir.h"

#include <gtest/gtest.h>

#include "program_runner.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

// One run of the set-up rules in `dir`, as the program makes it.
struct SetupRun {
  explicit SetupRun(const kstest::TempDir& dir) : path(dir.path()) {
    std::string error;
    EXPECT_TRUE(manifest.load(path, error)) << error;
  }
  ~SetupRun() {
    std::string error;
    EXPECT_TRUE(manifest.save(path, error)) << error;
  }
  fs::path path;
  Manifest manifest;
  SetupReport report;
  WorkingDirectory work{path, manifest, report};
};

TEST(WorkingDirectory, NewFilesArePlacedAndItsOwnUneditedFilesUpdated) {
  kstest::TempDir dir;
  {
    SetupRun run(dir);
    EXPECT_TRUE(run.work.placeFile("html/c-kestro.css", "v1"));
    EXPECT_EQ(run.report.written, (std::vector<std::string>{"html/c-kestro.css"}));
  }
  {
    SetupRun run(dir);
    EXPECT_TRUE(run.work.placeFile("html/c-kestro.css", "v2"));
    EXPECT_EQ(run.report.updated, (std::vector<std::string>{"html/c-kestro.css"}));
  }
  EXPECT_EQ(dir.read("html/c-kestro.css"), "v2");
}

TEST(WorkingDirectory, EditedFilesAndTheAdminsOwnFilesAreNeverReplaced) {
  kstest::TempDir dir;
  {
    SetupRun run(dir);
    run.work.placeFile("s-default.cfg", "v1");
  }
  dir.write("s-default.cfg", "edited by the admin");
  dir.write("html/images/maps/q3dm17.jpg", "the admin's own picture");
  {
    SetupRun run(dir);
    EXPECT_TRUE(run.work.placeFile("s-default.cfg", "v2"));
    EXPECT_TRUE(run.work.placeFile("html/images/maps/q3dm17.jpg", "from an archive"));
    EXPECT_EQ(run.report.kept, (std::vector<std::string>{"s-default.cfg", "html/images/maps/q3dm17.jpg"}));
  }
  EXPECT_EQ(dir.read("s-default.cfg"), "edited by the admin");
  EXPECT_EQ(dir.read("html/images/maps/q3dm17.jpg"), "the admin's own picture");
  // The admin's edit stays the admin's, also in later runs.
  {
    SetupRun run(dir);
    run.work.placeFile("s-default.cfg", "v3");
  }
  EXPECT_EQ(dir.read("s-default.cfg"), "edited by the admin");
}

TEST(WorkingDirectory, ProgramsAreLinkedUnlessSomethingOfTheirNameIsThere) {
  kstest::TempDir dir;
  dir.write("bin/kestrostats-s", "program");
  dir.write("bin/kestrostats-c", "program");
  dir.write("work/kestrostats-c", "the admin's copy");
  Manifest manifest;
  SetupReport report;
  WorkingDirectory work(dir.path() / "work", manifest, report);
  const fs::path bin = dir.path() / "bin";
  EXPECT_TRUE(work.linkProgram("kestrostats-s", bin / "kestrostats-s"));
  EXPECT_TRUE(work.linkProgram("kestrostats-c", bin / "kestrostats-c"));
  EXPECT_TRUE(work.linkProgram("kestrostats-s", bin / "kestrostats-s"));  // a rerun
  EXPECT_EQ(fs::read_symlink(dir.path() / "work/kestrostats-s"), bin / "kestrostats-s");
  EXPECT_EQ(dir.read("work/kestrostats-c"), "the admin's copy");
  EXPECT_EQ(report.written, (std::vector<std::string>{"kestrostats-s"}));
  EXPECT_EQ(report.kept, (std::vector<std::string>{"kestrostats-c"}));
}

TEST(WorkingDirectory, AFileThatCannotBeWrittenIsAnError) {
  kstest::TempDir dir;
  dir.write("html", "a file where a folder should be");
  SetupRun run(dir);
  EXPECT_FALSE(run.work.placeFile("html/c-kestro.css", "v1"));
  EXPECT_FALSE(run.report.errors.empty());
}

}  // namespace
}  // namespace setup
