// Saves a PNG of the Cvarsmith window with each of its tabs shown, on Qt's
// offscreen platform unless another is chosen. The settings are the
// program's defaults; nothing is read from or written to the real store.
//
// Usage: cvarsmith_screenshots OUTPUT_DIRECTORY
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <map>

#include "logos.h"
#include "main_dialog.h"
#include "qprocess_runner.h"
#include "qt_platform.h"
#include "small_dialogs.h"
#include "system_clock.h"

namespace {

// Keeps values for this run only.
class MemoryStore final : public cvarsmith::SettingsStore {
 public:
  bool keyExists() override { return true; }
  std::optional<std::string> readValue(std::string_view name) override {
    auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
  }
  bool writeValue(std::string_view name, const std::string& value, bool) override {
    values_[std::string(name)] = value;
    return true;
  }

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// "Weapons and Armor" becomes "weapons-and-armor".
QString fileNameOf(int index, const QString& tabLabel) {
  QString name = tabLabel.trimmed().toLower();
  name.replace(QLatin1Char(' '), QLatin1Char('-'));
  return QStringLiteral("cvarsmith-%1-%2.png").arg(index + 1).arg(name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cvarsmith_screenshots OUTPUT_DIRECTORY\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QDir output(QString::fromLocal8Bit(argv[1]));
  if (!output.exists() && !QDir().mkpath(output.path())) {
    std::fprintf(stderr, "cvarsmith_screenshots: cannot create %s\n", argv[1]);
    return 1;
  }

  MemoryStore store;
  cvarsmith::SystemClock clock;
  cvarsmith::QProcessRunner runner;
  cvarsmith::QtMessageBoxes messages;
  cvarsmith::QtFilePrompts prompts;
  cvarsmith::Platform platform{messages, prompts, store, clock};
  cvarsmith::ModalSmallDialogs dialogs;
  cvarsmith::MainDialog window(cvarsmith::startUpSettings(store), platform, runner, dialogs);
  window.show();

  int status = 0;
  for (int i = 0; i < window.tabs()->count(); ++i) {
    window.selectPage(static_cast<cvarsmith::Page>(i));
    window.showVariableInfo("");
    QApplication::processEvents();
    const QString path = output.filePath(fileNameOf(i, window.tabs()->tabText(i)));
    if (!window.grab().save(path)) {
      std::fprintf(stderr, "cvarsmith_screenshots: cannot write %s\n", qPrintable(path));
      status = 1;
    } else {
      std::printf("%s\n", qPrintable(path));
    }
  }
  return status;
}
