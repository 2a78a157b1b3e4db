// ProcessRunner on QProcess: the program is started directly (no shell
// parses the arguments), in its own working directory, with the caller's
// standard input, output and error.
#pragma once

#include "platform.h"

namespace cvarsmith {

class QProcessRunner final : public ProcessRunner {
 public:
  std::optional<int> runAndWait(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::string& workingDirectory) override;
};

}  // namespace cvarsmith
