#include "run_dialog.h"

#include <QApplication>

#include "installation_check.h"
#include "logos.h"
#include "main_dialog.h"
#include "qprocess_runner.h"
#include "qsettings_store.h"
#include "qt_platform.h"
#include "small_dialogs.h"
#include "system_clock.h"

namespace cvarsmith {

bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

int runDialog(int& argc, char** argv) {
  QApplication application(argc, argv);
  application.setWindowIcon(programIcon());

  QSettingsStore store;
  SystemClock clock;
  QProcessRunner runner;
  QtMessageBoxes messages;
  QtFilePrompts prompts;
  Platform platform{messages, prompts, store, clock};

  ServerSettings settings = startUpSettings(store);
  FirstUseWindow firstUse(prompts);
  if (checkInstallation(settings.commandLine, store, installerExecutablePath(), firstUse) ==
      InstallationCheck::ExitProgram) {
    return 0;
  }

  ModalSmallDialogs dialogs;
  MainDialog window(std::move(settings), platform, runner, dialogs);
  messages.setParent(&window);
  prompts.setParent(&window);
  window.exec();
  return 0;
}

}  // namespace cvarsmith
