// Stand-ins for the platform services, recording what the core asked for.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

namespace cvarsmith::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

class FakeMessages final : public MessageBoxes {
 public:
  bool answerOk = true;
  std::vector<ShownMessage> shown;
  std::vector<ShownMessage> asked;

  void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    shown.push_back({text, caption, icon});
  }
  bool askOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override {
    asked.push_back({text, caption, icon});
    return answerOk;
  }
};

class FakeFilePrompts final : public FilePrompts {
 public:
  std::optional<ChosenFile> answer;
  std::vector<FilePromptRequest> requests;

  std::optional<ChosenFile> promptSaveFile(const FilePromptRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::optional<ChosenFile> promptOpenFile(const FilePromptRequest& request) override {
    requests.push_back(request);
    return answer;
  }
};

class FakeStore final : public SettingsStore {
 public:
  bool exists = false;
  std::map<std::string, std::string, std::less<>> values;

  bool keyExists() override { return exists; }
  std::optional<std::string> readValue(std::string_view name) override {
    auto found = values.find(name);
    if (!exists || found == values.end()) return std::nullopt;
    return found->second;
  }
  bool writeValue(std::string_view name, const std::string& value, bool createKey) override {
    if (!exists && !createKey) return false;
    exists = true;
    values[std::string(name)] = value;
    return true;
  }
};

// 7 December 2024, 9:05:03 local time.
class FixedClock final : public Clock {
 public:
  std::tm localNow() override {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
  }
};

struct FakePlatform {
  FakeMessages messages;
  FakeFilePrompts files;
  FakeStore store;
  FixedClock clock;
  Platform platform{messages, files, store, clock};
};

}  // namespace cvarsmith::testing
