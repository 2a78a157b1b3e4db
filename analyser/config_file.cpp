#include "config_file.h"

#include <filesystem>
#include <system_error>

namespace {

void setValue(const TextSetting& setting, std::string_view value) {
  setting.value->assign(value);
  if (setting.yes != nullptr) *setting.yes = setting.value->view() == "yes";
}

}  // namespace

void setDefaults(std::span<const TextSetting> settings) {
  for (const TextSetting& s : settings) setValue(s, s.default_value);
}

bool readValueLine(std::FILE* file, FixedText& value) {
  if (!readLine(file, value)) return false;
  stripNewLineChars(value);
  return true;
}

void readSettings(std::FILE* file, std::span<const TextSetting> settings,
                  const std::function<bool(std::string_view key, std::FILE* file)>& other_key) {
  FixedText line;
  while (readLine(file, line)) {
    if (line[0] == '#') continue;
    stripNewLineChars(line);
    bool taken = false;
    for (const TextSetting& s : settings) {
      if (line.view() != s.key) continue;
      FixedText value;
      if (readValueLine(file, value)) setValue(s, value);
      taken = true;
      break;
    }
    if (!taken && other_key) other_key(line.view(), file);
  }
}

ConfigRead readConfigFile(const std::string& path, std::span<const TextSetting> settings,
                          const std::function<bool(std::string_view key, std::FILE* file)>& other_key) {
  std::FILE* file = openInputFile(path.c_str());
  if (file == nullptr) return ConfigRead::kCannotOpen;
  readSettings(file, settings, other_key);
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  return read_error ? ConfigRead::kCannotRead : ConfigRead::kRead;
}

std::string seasonServerName(std::string_view configured) {
  std::string name(configured);
  if (name.empty()) {
    std::error_code error;
    name = std::filesystem::current_path(error).filename().string();
  }
  if (name.empty()) name = "season";
  if (name.size() > kServerNameBytes) name.resize(kServerNameBytes);
  return name;
}
