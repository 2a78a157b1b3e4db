#include "main_dialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "config_loader.h"
#include "help_catalogue.h"
#include "logos.h"
#include "pages.h"
#include "qt_platform.h"
#include "server_launch.h"
#include "small_dialogs.h"

namespace cvarsmith {

namespace {

constexpr int kVariableBoxLimit = 255;
constexpr int kInformationLines = 6;

QPushButton* mainButton(const QString& caption, const char* key) {
  auto* button = new QPushButton(caption);
  button->setAutoDefault(false);
  setHelpKey(button, key);
  return button;
}

QLabel* picture(const QPixmap& pixmap, const char* key) {
  auto* shown = new QLabel;
  shown->setPixmap(pixmap);
  shown->setAlignment(Qt::AlignCenter);
  setHelpKey(shown, key);
  return shown;
}

}  // namespace

MainDialog::MainDialog(ServerSettings settings, Platform& platform, ProcessRunner& runner,
                       SmallDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)), platform_(platform), runner_(runner),
      dialogs_(dialogs) {
  setWindowTitle(QString::fromLatin1(kMainWindowTitle));
  setWindowIcon(programIcon());

  auto* left = new QVBoxLayout;
  left->addWidget(buildTabs(), 1);
  left->addLayout(buildPresetRow());
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(buildSideColumn());
  auto* column = new QVBoxLayout(this);
  column->addLayout(top, 1);
  column->addLayout(buildInformationArea());

  // The nearest a portable window has to an entry in the system menu.
  auto* menus = new QMenuBar;
  QMenu* help = menus->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("&About Cvarsmith..."), this, [this] { showAbout(); });
  column->setMenuBar(menus);

  refreshAllPages();
  installHoverHelp();
}

QWidget* MainDialog::buildTabs() {
  tabs_ = new QTabWidget;
  const std::array makers = {makeGameplayPage, makeServerPage,  makeFilesPage, makeWeaponsPage,
                             makeItemsPage,    makeVotingPage, makeOtherPage, makeCommandLinePage};
  for (std::size_t i = 0; i < makers.size(); ++i) {
    pages_[i] = makers[i](*this);
    tabs_->addTab(pages_[i], QString::fromLatin1(kPageTabLabels[i]));
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { onTabChanged(index); });
  return tabs_;
}

QLayout* MainDialog::buildPresetRow() {
  struct Preset {
    const char* caption;
    const char* key;
    ModePreset preset;
  };
  const Preset presets[] = {
      {"Free For All", kControlPresetFfa, ModePreset::Ffa},
      {"1v1", kControlPreset1v1, ModePreset::OneVsOne},
      {"Team DM", kControlPresetTdm, ModePreset::Tdm},
      {"Capture The Flag", kControlPresetCtf, ModePreset::Ctf},
      {"Clan Arena", kControlPresetCa, ModePreset::ClanArena},
  };
  auto* row = new QHBoxLayout;
  for (const Preset& preset : presets) {
    QPushButton* button = mainButton(QString::fromLatin1(preset.caption), preset.key);
    const ModePreset mode = preset.preset;
    connect(button, &QPushButton::clicked, this, [this, mode] { applyPreset(mode); });
    row->addWidget(button);
  }
  return row;
}

QLayout* MainDialog::buildSideColumn() {
  auto* column = new QVBoxLayout;
  column->addWidget(picture(modificationLogo(), kControlModLogo));
  column->addWidget(picture(authorsLogo(), kControlAuthorsLogo));
  column->addStretch();
  QPushButton* generate = mainButton(QStringLiteral("Generate .cfg"), kControlGenerateCfg);
  generate->setDefault(true);
  QPushButton* spawn = mainButton(QStringLiteral("Spawn Listen"), kControlSpawnListen);
  QPushButton* load = mainButton(QStringLiteral("Load .cfg"), kControlLoadCfg);
  QPushButton* exitButton = mainButton(QStringLiteral("Exit"), kControlExit);
  connect(generate, &QPushButton::clicked, this, [this] { generateCfg(); });
  connect(spawn, &QPushButton::clicked, this, [this] { spawnListen(); });
  connect(load, &QPushButton::clicked, this, [this] { loadCfg(); });
  connect(exitButton, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
  for (QPushButton* button : {generate, spawn, load, exitButton}) column->addWidget(button);
  return column;
}

QLayout* MainDialog::buildInformationArea() {
  variable_ = new QLineEdit;
  variable_->setReadOnly(true);
  variable_->setMaxLength(kVariableBoxLimit);
  variable_->setFocusPolicy(Qt::NoFocus);
  auto* variableRow = new QVBoxLayout;
  variableRow->addWidget(variable_);

  information_ = new QLabel(QString::fromLatin1(kInitialInformation));
  information_->setWordWrap(true);
  information_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  information_->setMinimumHeight(information_->fontMetrics().lineSpacing() * kInformationLines);
  information_->setTextFormat(Qt::PlainText);
  auto* informationRow = new QVBoxLayout;
  informationRow->addWidget(information_);

  auto* area = new QVBoxLayout;
  area->addWidget(makeGroup(QStringLiteral("Variable"), variableRow));
  area->addWidget(makeGroup(QStringLiteral("Additional Information"), informationRow));
  return area;
}

void MainDialog::installHoverHelp() {
  for (QWidget* widget : findChildren<QWidget*>()) widget->installEventFilter(this);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  // Leave comes before the Enter of the next control, so moving onto the
  // page's background shows what is under the mouse there.
  if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
      const QWidget* under = event->type() == QEvent::Enter ? widget : widget->parentWidget();
      showVariableInfo(helpKeyAt(under, this));
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // Escape must not close the main window; only "Exit" (or the window's own
  // close button) does.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainDialog::showVariableInfo(std::string_view control) {
  const HelpEntry entry = lookupHelp(settings_, currentPage(), control);
  variable_->setText(toQt(entry.syntax));
  information_->setText(toQt(entry.help));
}

QString MainDialog::variableText() const { return variable_->text(); }
QString MainDialog::informationText() const { return information_->text(); }

bool MainDialog::commitCurrentPage() { return page(currentPage())->commit(settings_, platform_.messages); }

void MainDialog::refreshAllPages() {
  for (SettingsPage* shown : pages_) shown->refresh(settings_);
}

void MainDialog::onTabChanged(int index) {
  if (index == current_) return;
  // Back to the page being left until its commit has passed, so that a
  // failing box is on screen with the focus.
  {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(current_);
  }
  selectPage(static_cast<Page>(index));
}

bool MainDialog::selectPage(Page next) {
  if (next == currentPage()) return true;
  if (!commitCurrentPage()) return false;
  carryOverLeftPage(settings_, currentPage(), platform_.store);
  current_ = static_cast<int>(next);
  page(next)->refresh(settings_);
  const QSignalBlocker block(tabs_);
  tabs_->setCurrentIndex(current_);
  return true;
}

void MainDialog::generateCfg() {
  if (!commitCurrentPage()) return;
  writeConfig(settings_, memory_, WriteMode::Prompted, currentPage(), platform_);
  refreshAllPages();
}

void MainDialog::spawnListen() {
  if (!commitCurrentPage()) return;
  spawnListenServer(settings_, memory_, currentPage(), platform_, runner_);
  refreshAllPages();
}

void MainDialog::loadCfg() {
  // The page shown is not committed: the file's values replace it.
  LoadReport report = loadConfig(settings_, platform_);
  if (report.outcome != LoadOutcome::Loaded) return;
  if (!report.problems.empty()) dialogs_.showImportProblems(this, report.problems);
  refreshAllPages();
}

void MainDialog::applyPreset(ModePreset preset) {
  if (applyModePreset(settings_, preset, PresetCaller::Dialog, platform_.messages, platform_.store)) {
    refreshAllPages();
  }
}

void MainDialog::showAbout() { dialogs_.showAbout(this); }

void MainDialog::browse(BrowseTarget target) {
  if (!commitCurrentPage()) return;
  if (browseForFile(settings_, target, platform_.files, platform_.store)) {
    page(currentPage())->refresh(settings_);
  }
}

void MainDialog::editMotd() {
  dialogs_.editMotd(this, settings_, platform_.files, platform_.messages, platform_.store);
}

void MainDialog::editVotableItems() { dialogs_.editVotableItems(this, settings_.votableItems); }

void MainDialog::generateBatchFile() {
  if (!commitCurrentPage()) return;
  writeServerBatch(settings_, platform_);
  page(currentPage())->refresh(settings_);
}

}  // namespace cvarsmith
