#include "command_line_platform.h"

#include <ostream>

#include "install_paths.h"

namespace cvarsmith {

void StreamMessages::showMessage(const std::string& text, const std::string&, MessageIcon icon) {
  (icon == MessageIcon::None ? out_ : err_) << text << '\n';
}

bool StreamMessages::askOkCancel(const std::string&, const std::string&, MessageIcon) {
  return answerOk_;
}

std::optional<ChosenFile> PresetFilePrompts::promptSaveFile(const FilePromptRequest&) {
  if (!answer_) return std::nullopt;
  return ChosenFile{*answer_, splitExecutablePath(*answer_).fileName};
}

std::optional<ChosenFile> PresetFilePrompts::promptOpenFile(const FilePromptRequest& request) {
  return promptSaveFile(request);
}

}  // namespace cvarsmith
