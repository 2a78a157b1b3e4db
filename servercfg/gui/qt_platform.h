// The core's platform services answered with Qt widgets: message boxes and
// the open and save file prompts. Texts cross between the core (bytes) and
// Qt (QString) as Latin-1, one byte per character, so any byte a loaded file
// holds comes back unchanged when the box is committed.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "platform.h"

class QWidget;

namespace cvarsmith {

inline QString toQt(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQt(const QString& text) { return text.toLatin1().toStdString(); }

// Message boxes owned by `parent` (a null parent makes them free-standing).
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool askOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;

 private:
  QWidget* parent_;
};

// File dialogs owned by `parent`. The chosen path is returned in the file
// system's own encoding, so that the core can open it.
class QtFilePrompts final : public FilePrompts {
 public:
  explicit QtFilePrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  std::optional<ChosenFile> promptSaveFile(const FilePromptRequest& request) override;
  std::optional<ChosenFile> promptOpenFile(const FilePromptRequest& request) override;

 private:
  std::optional<ChosenFile> prompt(const FilePromptRequest& request, bool save);
  QWidget* parent_;
};

// The filters as QFileDialog reads them: "Config File (*.cfg)" stays, and the
// DOS pattern "*.*" (every file) becomes "*", which on every platform also
// matches names without a dot.
QStringList qtNameFilters(const std::vector<FileFilter>& filters);

}  // namespace cvarsmith
