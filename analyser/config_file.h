// The key/value configuration files of the command-line programs.
//
// A key line is exactly a key (with its colon, nothing else); the whole
// next line, whatever it holds, is the value, its line end cut. A line
// starting with "#" where a key line is expected is a comment; any other
// line is ignored. A key given twice takes its last value, and a key on the
// last line keeps the setting as it was.
#pragma once

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "text.h"

struct TextSetting {
  std::string_view key;
  FixedText* value;  // as written, for the configuration listings
  std::string_view default_value;
  // A yes/no setting's switch: on exactly when the value is "yes" (files
  // have always been read so; "Yes" is off). Set with the value.
  bool* yes = nullptr;
};

// Gives every setting its default.
void setDefaults(std::span<const TextSetting> settings);

// Reads the settings from an open file. Key lines that are not in
// `settings` are offered to `other_key` with the file positioned at their
// value line; it returns true when it took the key.
void readSettings(std::FILE* file, std::span<const TextSetting> settings,
                  const std::function<bool(std::string_view key, std::FILE* file)>& other_key = {});

// How reading a configuration file ended.
enum class ConfigRead {
  kRead,        // read to its end
  kCannotOpen,  // missing, unreadable, or a folder
  kCannotRead,  // opened, but a read failed on the way: nothing of it is to be trusted
};

// The one reader of every program's configuration file: opens `path`,
// reads the settings over their current values (as readSettings does) and
// closes it, checking every read.
ConfigRead readConfigFile(const std::string& path, std::span<const TextSetting> settings,
                          const std::function<bool(std::string_view key, std::FILE* file)>& other_key = {});

// Reads a value line (line end cut); false at the end of the file.
bool readValueLine(std::FILE* file, FixedText& value);

// The name of the server whose games a season working directory feeds
// (server_name:, shared by kestrostats-s and kestrostats-site): the
// configured name, or, when none is configured, the working directory's own
// name ("season" at the root). Cut to kServerNameBytes bytes, the size of
// its database columns, so that every program compares the same bytes.
inline constexpr std::size_t kServerNameBytes = 64;
std::string seasonServerName(std::string_view configured);
