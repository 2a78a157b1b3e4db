// The dialogs the main window opens: "Message Of The Day", "Votable Items
// and Power-ups", "Import", "First Use" and the about box. The main window
// opens them through SmallDialogs, so that its tests can answer them.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "installation_check.h"
#include "server_settings.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace cvarsmith {

class FilePrompts;
class MessageBoxes;

// The MOTD of the Server page. Closing it (with "OK" or otherwise) copies
// the boxes back, unless a line is too long: then the message is shown, the
// focus goes to that line and the dialog stays open.
class MotdDialog final : public QDialog {
 public:
  // `browse` asks for a MOTD file; it answers the name to show, or nothing.
  MotdDialog(const MotdRecord& motd, MessageBoxes& messages,
             std::function<std::optional<std::string>()> browse, QWidget* parent = nullptr);
  const MotdRecord& motd() const { return motd_; }
  // Copies the boxes into motd(); false (with the message) when a line is too long.
  bool takeBoxes();
  void done(int result) override;

 private:
  MotdRecord motd_;
  MessageBoxes& messages_;
  QLineEdit* gameMotd_;
  QLineEdit* motdFile_;
  std::array<QLineEdit*, 8> lines_{};
};

// The two votable masks of the Voting page, one check box per bit. Closing
// the dialog packs the boxes back into the masks; bits that no box stands
// for (from a loaded file) stay as they were.
class VotableItemsDialog final : public QDialog {
 public:
  explicit VotableItemsDialog(const VotableItemsRecord& record, QWidget* parent = nullptr);
  VotableItemsRecord record() const;

 private:
  VotableItemsRecord opened_;
  std::array<QCheckBox*, 10> items_{};
  std::array<QCheckBox*, 8> powerups_{};
};

// The lines the loader could not apply.
class ImportDialog final : public QDialog {
 public:
  explicit ImportDialog(const std::string& problems, QWidget* parent = nullptr);
  QString listing() const;

 private:
  QPlainTextEdit* text_;
};

// Asks on first use where the game's executable is.
class FirstUseWindow final : public QDialog, public FirstUseDialog {
 public:
  FirstUseWindow(FilePrompts& prompts, QWidget* parent = nullptr);
  std::optional<std::string> confirmExecutablePath(const std::string& suggestedPath) override;
  QString path() const;

 private:
  QLineEdit* path_;
};

// The about box: the program's name and version and its credits.
class AboutBox final : public QDialog {
 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

class SmallDialogs {
 public:
  virtual ~SmallDialogs() = default;
  virtual void showImportProblems(QWidget* parent, const std::string& problems) = 0;
  // Edits settings.motd; the "Browse" uses the prompts and the store.
  virtual void editMotd(QWidget* parent, ServerSettings& settings, FilePrompts& prompts,
                        MessageBoxes& messages, SettingsStore& store) = 0;
  virtual void editVotableItems(QWidget* parent, VotableItemsRecord& record) = 0;
  virtual void showAbout(QWidget* parent) = 0;
};

// Opens each dialog modally and waits for it.
class ModalSmallDialogs final : public SmallDialogs {
 public:
  void showImportProblems(QWidget* parent, const std::string& problems) override;
  void editMotd(QWidget* parent, ServerSettings& settings, FilePrompts& prompts,
                MessageBoxes& messages, SettingsStore& store) override;
  void editVotableItems(QWidget* parent, VotableItemsRecord& record) override;
  void showAbout(QWidget* parent) override;
};

}  // namespace cvarsmith
