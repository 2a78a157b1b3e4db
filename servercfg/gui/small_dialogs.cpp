#include "small_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "browse_targets.h"
#include "field_checks.h"
#include "game_items.h"
#include "logos.h"
#include "platform.h"
#include "qt_platform.h"
#include "settings_page.h"

namespace cvarsmith {

namespace {

QPushButton* plainButton(const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setAutoDefault(false);
  return button;
}

QHBoxLayout* buttonRow(QPushButton* button) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(button);
  return row;
}

}  // namespace

// --- Message Of The Day -----------------------------------------------------

MotdDialog::MotdDialog(const MotdRecord& motd, MessageBoxes& messages,
                       std::function<std::optional<std::string>()> browse, QWidget* parent)
    : QDialog(parent), motd_(motd), messages_(messages) {
  setWindowTitle(QStringLiteral("Message Of The Day"));
  auto* grid = new QGridLayout;
  gameMotd_ = new QLineEdit(toQt(motd.gameMotd));
  grid->addWidget(new QLabel(QStringLiteral("Game MOTD:")), 0, 0);
  grid->addWidget(gameMotd_, 0, 1, 1, 2);
  motdFile_ = new QLineEdit(toQt(motd.motdFile));
  QPushButton* browseButton = plainButton(QStringLiteral("Browse"));
  connect(browseButton, &QPushButton::clicked, this, [this, browse] {
    if (std::optional<std::string> chosen = browse()) motdFile_->setText(toQt(*chosen));
  });
  grid->addWidget(new QLabel(QStringLiteral("MOTD File:")), 1, 0);
  grid->addWidget(motdFile_, 1, 1);
  grid->addWidget(browseButton, 1, 2);
  auto* note = new QLabel(QStringLiteral(
      "NOTE: A MOTD File other than 'none' will override any server_motdX settings below)."));
  note->setWordWrap(true);
  grid->addWidget(note, 2, 0, 1, 3);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    lines_[i] = new QLineEdit(toQt(motd.lines[i]));
    lines_[i]->setMinimumWidth(380);
    const int row = 3 + static_cast<int>(i);
    grid->addWidget(new QLabel(QStringLiteral("Line %1:").arg(i + 1)), row, 0);
    grid->addWidget(lines_[i], row, 1, 1, 2);
  }
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addLayout(buttonRow(ok));
}

bool MotdDialog::takeBoxes() {
  MotdRecord taken = motd_;
  taken.gameMotd = fromQt(gameMotd_->text());
  taken.motdFile = fromQt(motdFile_->text());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    taken.lines[i] = fromQt(lines_[i]->text());
    if (auto problem = checkTextLength(taken.lines[i], kTextFieldLimit)) {
      messages_.showMessage(*problem, "Cvarsmith", MessageIcon::Exclamation);
      lines_[i]->setFocus(Qt::OtherFocusReason);
      lines_[i]->selectAll();
      return false;
    }
  }
  motd_ = std::move(taken);
  return true;
}

void MotdDialog::done(int result) {
  if (takeBoxes()) QDialog::done(result);
}

// --- Votable Items and Power-ups --------------------------------------------

VotableItemsDialog::VotableItemsDialog(const VotableItemsRecord& record, QWidget* parent)
    : QDialog(parent), opened_(record) {
  setWindowTitle(QStringLiteral("Votable Items and Power-ups"));
  auto* itemsGrid = new QGridLayout;
  for (std::size_t bit = 0; bit < items_.size(); ++bit) {
    items_[bit] = new QCheckBox(QString::fromLatin1(kVotableItemCaptions[bit]));
    items_[bit]->setChecked((record.itemsMask >> bit) & 1);
    itemsGrid->addWidget(items_[bit], static_cast<int>(bit) % 5, static_cast<int>(bit) / 5);
  }
  auto* powerupsGrid = new QGridLayout;
  for (std::size_t bit = 0; bit < powerups_.size(); ++bit) {
    powerups_[bit] = new QCheckBox(QString::fromLatin1(kVotablePowerupCaptions[bit]));
    powerups_[bit]->setChecked((record.powerupsMask >> bit) & 1);
    powerupsGrid->addWidget(powerups_[bit], static_cast<int>(bit) % 4, static_cast<int>(bit) / 4);
  }
  auto* close = new QPushButton(QStringLiteral("Close"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(makeGroup(QStringLiteral("Items"), itemsGrid));
  boxes->addWidget(makeGroup(QStringLiteral("Power Ups"), powerupsGrid));
  auto* column = new QVBoxLayout(this);
  column->addLayout(boxes);
  column->addLayout(buttonRow(close));
}

namespace {

// `mask` with its lowest bits taken from the boxes, one bit per box.
template <std::size_t N>
int packBoxes(int mask, const std::array<QCheckBox*, N>& boxes) {
  for (std::size_t bit = 0; bit < N; ++bit) {
    if (boxes[bit]->isChecked()) {
      mask |= 1 << bit;
    } else {
      mask &= ~(1 << bit);
    }
  }
  return mask;
}

}  // namespace

VotableItemsRecord VotableItemsDialog::record() const {
  return {packBoxes(opened_.itemsMask, items_), packBoxes(opened_.powerupsMask, powerups_)};
}

// --- Import -----------------------------------------------------------------

ImportDialog::ImportDialog(const std::string& problems, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Import"));
  text_ = new QPlainTextEdit;
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFont(QStringLiteral("monospace")));
  // The listing separates its entries with CR LF; the box wants plain line feeds.
  QString shown = problems.empty() ? QStringLiteral("No Errors Found") : toQt(problems);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
  text_->setPlainText(shown);
  text_->setMinimumSize(480, 220);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(QStringLiteral("There were problems importing the following lines:")));
  column->addWidget(text_);
  column->addLayout(buttonRow(ok));
}

QString ImportDialog::listing() const { return text_->toPlainText(); }

// --- First Use --------------------------------------------------------------

FirstUseWindow::FirstUseWindow(FilePrompts& prompts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("First Use"));
  auto* welcomeText = new QLabel(QStringLiteral(
      "Please verify the location of your Quake III Arena installation in the box below.  This "
      "value will be stored in your registry for use within the program.\n\nIf you wish to "
      "change this location at a later time, specify the new location on the 'Command Line' "
      "tab on the main window."));
  welcomeText->setWordWrap(true);
  auto* welcome = new QVBoxLayout;
  welcome->addWidget(welcomeText);

  path_ = new QLineEdit;
  path_->setMinimumWidth(320);
  QPushButton* browse = plainButton(QStringLiteral("Browse"));
  connect(browse, &QPushButton::clicked, this, [this, &prompts] {
    std::optional<ChosenFile> chosen = prompts.promptOpenFile(browseRequest(BrowseTarget::Executable));
    if (chosen) path_->setText(toQt(chosen->fullPath));
  });
  auto* location = new QHBoxLayout;
  location->addWidget(new QLabel(QStringLiteral("Quake Executable Path:")));
  location->addWidget(path_, 1);
  location->addWidget(browse);

  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  QPushButton* exitProgram = plainButton(QStringLiteral("Exit Program"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(exitProgram, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(exitProgram);

  auto* column = new QVBoxLayout(this);
  column->addWidget(makeGroup(QStringLiteral("Welcome!"), welcome));
  column->addWidget(makeGroup(QStringLiteral("Quake III Arena Location"), location));
  column->addLayout(buttons);
}

std::optional<std::string> FirstUseWindow::confirmExecutablePath(const std::string& suggestedPath) {
  path_->setText(toQt(suggestedPath));
  if (exec() != QDialog::Accepted) return std::nullopt;
  return fromQt(path_->text());
}

QString FirstUseWindow::path() const { return path_->text(); }

// --- About ------------------------------------------------------------------

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Cvarsmith"));
  auto* logo = new QLabel;
  logo->setPixmap(authorsLogo());
  auto* credits = new QLabel(QStringLiteral(
      "<b>Cvarsmith Version 1.3</b><br><br>"
      "Server configuration generator for the OSP Tourney DM/CA/CTF<br>"
      "modification of Quake III Arena.<br><br>"
      "Written by kqz^morvo."));
  auto* top = new QHBoxLayout;
  top->addWidget(logo, 0, Qt::AlignTop);
  top->addWidget(credits);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addLayout(buttonRow(ok));
}

// --- Opening them -----------------------------------------------------------

void ModalSmallDialogs::showImportProblems(QWidget* parent, const std::string& problems) {
  ImportDialog(problems, parent).exec();
}

void ModalSmallDialogs::editMotd(QWidget* parent, ServerSettings& settings, FilePrompts& prompts,
                                 MessageBoxes& messages, SettingsStore& store) {
  auto browse = [&]() -> std::optional<std::string> {
    ServerSettings scratch = settings;
    if (!browseForFile(scratch, BrowseTarget::MotdDialogFile, prompts, store)) return std::nullopt;
    return scratch.motd.motdFile;
  };
  MotdDialog dialog(settings.motd, messages, browse, parent);
  dialog.exec();
  settings.motd = dialog.motd();
}

void ModalSmallDialogs::editVotableItems(QWidget* parent, VotableItemsRecord& record) {
  VotableItemsDialog dialog(record, parent);
  dialog.exec();
  record = dialog.record();
}

void ModalSmallDialogs::showAbout(QWidget* parent) { AboutBox(parent).exec(); }

}  // namespace cvarsmith
