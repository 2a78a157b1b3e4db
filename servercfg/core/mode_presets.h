// The five mode presets: each restores every default and then sets the
// values typical of one kind of server, after the user has confirmed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cvarsmith {

struct ServerSettings;
class MessageBoxes;
class SettingsStore;

enum class ModePreset { Ffa, OneVsOne, Tdm, Ctf, ClanArena };

// Who asks: the dialog's preset buttons, or the loader when a file sets
// mode_start. The question's caption and text differ.
enum class PresetCaller { Dialog, Loader };

inline constexpr const char* kPresetCaptionFromDialog = "Variable Reset";
inline constexpr const char* kPresetCaptionFromLoader = "mode_start Detected";

// The question shown before a preset is applied.
std::string presetQuestion(ModePreset preset, PresetCaller caller);

// Asks with OK and Cancel; on OK restores the defaults and applies the
// preset. Returns whether the user confirmed; on Cancel nothing changes.
bool applyModePreset(ServerSettings& settings, ModePreset preset, PresetCaller caller,
                     MessageBoxes& messages, SettingsStore& store);

// The preset's values, set on settings that already hold the defaults.
void setPresetValues(ServerSettings& settings, ModePreset preset);

// The preset a command-line name stands for: ffa, 1v1, tdm, ctf, ca.
std::optional<ModePreset> presetFromName(std::string_view name);

}  // namespace cvarsmith
