// The settings store on top of QSettings: on Windows the registry key
// HKEY_LOCAL_MACHINE\Software\Cvarsmith, elsewhere the file
// Cvarsmith/Cvarsmith.conf in the user's configuration directory
// ($XDG_CONFIG_HOME, by default ~/.config).
#pragma once

#include <memory>

#include "platform.h"

class QSettings;

namespace cvarsmith {

class QSettingsStore final : public SettingsStore {
 public:
  QSettingsStore();
  ~QSettingsStore() override;

  bool keyExists() override;
  std::optional<std::string> readValue(std::string_view name) override;
  bool writeValue(std::string_view name, const std::string& value, bool createKey) override;

 private:
  std::unique_ptr<QSettings> settings_;
};

// The game installer's own record of the executable path (on Windows the
// value INSTALLEXEPATH of HKEY_LOCAL_MACHINE\Software\Id), the first guess
// of the "First Use" dialog; nothing elsewhere or when it is missing.
std::optional<std::string> installerExecutablePath();

}  // namespace cvarsmith
