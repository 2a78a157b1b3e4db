// The command line of Cvarsmith without its dialog. Options are checked
// completely before any acts (a usage error changes nothing); the actions
// then run in the order given.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "mode_presets.h"

namespace cvarsmith {

struct HeadlessAction {
  enum class Kind {
    Preset,         // --preset MODE
    Executable,     // --exe PATH
    Write,          // --write FILE
    Explain,        // --explain NAME
    Load,           // --load FILE
    Set,            // --set NAME=VALUE
    Batch,          // --batch FILE
    SpawnListen,    // --spawn-listen
    Dedicated,      // --dedicated listen|private|public
    NetIp,          // --net-ip A.B.C.D
    NetPort,        // --net-port N
    HunkMegs,       // --hunkmegs N
    GameDirectory,  // --fs-game DIR
    ConfigName,     // --config-name NAME
    CvarRestart,    // --cvar-restart
    NoStartMap,     // --no-start-map
    StartMap,       // --start-map NAME
    NoLog,          // --no-log
    AdminLog,       // --admin-log NAME
  };
  Kind kind;
  std::string argument;                  // as given
  ModePreset preset = ModePreset::Ffa;   // Preset
  int number = 0;                        // NetPort, HunkMegs, Dedicated
  std::array<std::uint8_t, 4> ip{};      // NetIp
  std::string variable;                  // Set: the name before "="
  std::string value;                     // Set: the text after it
};

struct ParsedOptions {
  std::vector<HeadlessAction> actions;
  bool showHelp = false;
  bool answerYes = false;  // --yes: the mode_start question of --load is answered OK
  std::optional<std::string> error;  // a usage error, already worded
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

void printUsage(std::ostream& out);

}  // namespace cvarsmith
