// A main window over fake platform services, and ways to find its controls.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <optional>

#include "fakes.h"
#include "main_dialog.h"
#include "settings_page.h"
#include "small_dialogs.h"

namespace cvarsmith::testing {

// A fresh directory, removed with its contents at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("cvarsmith-gui-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

 private:
  std::filesystem::path path_;
};

class FakeRunner final : public ProcessRunner {
 public:
  int runs = 0;
  std::optional<int> runAndWait(const std::string&, const std::vector<std::string>&,
                                const std::string&) override {
    ++runs;
    return 0;
  }
};

// Records what the window asked to show instead of opening dialogs.
class FakeSmallDialogs final : public SmallDialogs {
 public:
  std::vector<std::string> importListings;
  int motdEdits = 0;
  int votableEdits = 0;
  int aboutShown = 0;
  void showImportProblems(QWidget*, const std::string& problems) override {
    importListings.push_back(problems);
  }
  void editMotd(QWidget*, ServerSettings&, FilePrompts&, MessageBoxes&, SettingsStore&) override {
    ++motdEdits;
  }
  void editVotableItems(QWidget*, VotableItemsRecord&) override { ++votableEdits; }
  void showAbout(QWidget*) override { ++aboutShown; }
};

// The first widget of type T below `root` whose own help key is `key`.
template <typename T>
T* withKey(QWidget* root, const std::string& key) {
  for (T* widget : root->findChildren<T*>()) {
    if (helpKeyAt(widget, widget->parentWidget()) == key) return widget;
  }
  ADD_FAILURE() << "no control with key " << key;
  return nullptr;
}

// The button (check box, radio button, push button) captioned `text`.
template <typename T = QAbstractButton>
T* captioned(QWidget* root, const QString& text) {
  for (T* widget : root->findChildren<T*>()) {
    if (widget->text() == text) return widget;
  }
  ADD_FAILURE() << "no control captioned " << text.toStdString();
  return nullptr;
}

// The control whose accessible name is `name`.
template <typename T = QWidget>
T* named(QWidget* root, const QString& name) {
  for (T* widget : root->findChildren<T*>()) {
    if (widget->accessibleName() == name) return widget;
  }
  ADD_FAILURE() << "no control named " << name.toStdString();
  return nullptr;
}

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() {
    fake.store.exists = true;
    window = std::make_unique<MainDialog>(startUpSettings(fake.store), fake.platform, runner, dialogs);
  }

  SettingsPage* page(Page which) { return window->page(which); }
  ServerSettings& settings() { return window->settings(); }

  // Moves the mouse onto `widget` (and off it, with `leave`).
  void hover(QWidget* widget);
  void leave(QWidget* widget);

  FakePlatform fake;
  FakeRunner runner;
  FakeSmallDialogs dialogs;
  std::unique_ptr<MainDialog> window;
};

inline void MainDialogTest::hover(QWidget* widget) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(widget, &enter);
}

inline void MainDialogTest::leave(QWidget* widget) {
  QEvent leaving(QEvent::Leave);
  QApplication::sendEvent(widget, &leaving);
}

}  // namespace cvarsmith::testing
