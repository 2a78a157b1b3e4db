#include "qprocess_runner.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace cvarsmith {

std::optional<int> QProcessRunner::runAndWait(const std::string& program,
                                              const std::vector<std::string>& arguments,
                                              const std::string& workingDirectory) {
  QStringList qtArguments;
  for (const std::string& argument : arguments) qtArguments << QString::fromStdString(argument);

  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments(qtArguments);
  process.setWorkingDirectory(QString::fromStdString(workingDirectory));
  // The server's console is the user's terminal.
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.setInputChannelMode(QProcess::ForwardedInputChannel);
  process.start();
  if (!process.waitForStarted(-1)) return std::nullopt;
  process.waitForFinished(-1);  // the game runs as long as the user plays
  if (process.exitStatus() != QProcess::NormalExit) return -1;
  return process.exitCode();
}

}  // namespace cvarsmith
