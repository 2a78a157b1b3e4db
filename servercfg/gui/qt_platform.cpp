#include "qt_platform.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace cvarsmith {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

int runMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                  MessageIcon icon, QMessageBox::StandardButtons buttons) {
  QMessageBox box(qtIcon(icon), toQt(caption), toQt(text), buttons, parent);
  return box.exec();
}

}  // namespace

void QtMessageBoxes::showMessage(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
  runMessageBox(parent_, text, caption, icon, QMessageBox::Ok);
}

bool QtMessageBoxes::askOkCancel(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
  return runMessageBox(parent_, text, caption, icon, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

QStringList qtNameFilters(const std::vector<FileFilter>& filters) {
  QStringList result;
  for (const FileFilter& filter : filters) {
    QString description = toQt(filter.description);
    const qsizetype patternStart = description.lastIndexOf(QStringLiteral(" ("));
    if (patternStart >= 0) description.truncate(patternStart);
    const QString pattern =
        filter.pattern == "*.*" ? QStringLiteral("*") : toQt(filter.pattern);
    result << description + QStringLiteral(" (") + pattern + QStringLiteral(")");
  }
  return result;
}

std::optional<ChosenFile> QtFilePrompts::promptSaveFile(const FilePromptRequest& request) {
  return prompt(request, true);
}

std::optional<ChosenFile> QtFilePrompts::promptOpenFile(const FilePromptRequest& request) {
  return prompt(request, false);
}

std::optional<ChosenFile> QtFilePrompts::prompt(const FilePromptRequest& request, bool save) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(qtNameFilters(request.filters));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(toQt(request.defaultExtension));
  if (!request.initialName.empty()) dialog.selectFile(toQt(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;

  const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  return ChosenFile{QFile::encodeName(path).toStdString(),
                    QFile::encodeName(QFileInfo(path).fileName()).toStdString()};
}

}  // namespace cvarsmith
