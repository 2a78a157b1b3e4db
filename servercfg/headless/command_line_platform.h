// The platform services answered from the command line: messages go to
// standard output (errors and warnings to standard error), questions get a
// fixed answer (OK unless told otherwise), and the file prompts answer with
// the file named by the current option. The clock is core's SystemClock.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform.h"

namespace cvarsmith {

class StreamMessages final : public MessageBoxes {
 public:
  StreamMessages(std::ostream& out, std::ostream& err, bool answerOk = true)
      : out_(out), err_(err), answerOk_(answerOk) {}
  void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool askOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool answerOk_;
};

class PresetFilePrompts final : public FilePrompts {
 public:
  // The path the next prompt answers with; without one, prompts are cancelled.
  void answerWith(std::optional<std::string> path) { answer_ = std::move(path); }
  std::optional<ChosenFile> promptSaveFile(const FilePromptRequest& request) override;
  std::optional<ChosenFile> promptOpenFile(const FilePromptRequest& request) override;

 private:
  std::optional<std::string> answer_;
};

}  // namespace cvarsmith
