// Files: the server's logs, the other files it reads, and its directories.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages.h"

namespace cvarsmith {

namespace {

class FilesTab final : public SettingsPage {
 public:
  explicit FilesTab(PageActions& actions) : SettingsPage(Page::Files, actions) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(logGroup());
    column->addWidget(otherFilesGroup());
    column->addWidget(directoriesGroup());
    column->addStretch();
  }

 private:
  QGroupBox* logGroup() {
    auto* grid = new QGridLayout;
    addLogRow(grid, 0, QStringLiteral("Log File:"), "g_log", CVARSMITH_FIELD(files.logFileEnabled),
              CVARSMITH_FIELD(files.logFileName), BrowseTarget::LogFile);
    addLogRow(grid, 1, QStringLiteral("Admin Log:"), "admin_log", CVARSMITH_FIELD(files.adminLogEnabled),
              CVARSMITH_FIELD(files.adminLogName), BrowseTarget::AdminLog);

    QCheckBox* extra = flag(QStringLiteral("Extra Stat Logging"), "log_stat", CVARSMITH_FIELD(files.extraStatLogging));
    QCheckBox* console = flag(QStringLiteral("Log to Console"), "log_stat", CVARSMITH_FIELD(files.logToConsole));
    enableWhileChecked(extra, {console});
    auto* options = new QGridLayout;
    options->addWidget(flag(QStringLiteral("OSP Log Format"), "log_default", CVARSMITH_FIELD(files.ospLogFormat)), 0, 0);
    options->addWidget(flag(QStringLiteral("Synchronize Log"), "g_logSync", CVARSMITH_FIELD(files.synchronizeLog)), 1, 0);
    options->addWidget(extra, 0, 1);
    options->addWidget(console, 1, 1);
    grid->addLayout(options, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return makeGroup(QStringLiteral("Log File Options"), grid);
  }

  void addLogRow(QGridLayout* grid, int row, const QString& caption, const char* key,
                 Field<bool> enabled, Field<std::string> name, BrowseTarget target) {
    QCheckBox* box = flag(caption, key, std::move(enabled));
    QLineEdit* file = text(key, std::move(name), kTextFieldLimit);
    QPushButton* browse = browseButton(key, target);
    addRow(grid, row, box, file, browse);
    enableWhileChecked(box, {file, browse});
  }

  QGroupBox* otherFilesGroup() {
    struct FileRow {
      const char* caption;
      const char* key;
      Field<std::string> field;
      BrowseTarget target;
    };
    const FileRow rows[] = {
        {"Filter File:", "filter_file", CVARSMITH_FIELD(files.filterFile), BrowseTarget::FilterFile},
        {"Map File:", "map_file", CVARSMITH_FIELD(files.mapFile), BrowseTarget::FilesMapFile},
        {"GFX File:", "server_gfxspecific", CVARSMITH_FIELD(files.gfxFile), BrowseTarget::GfxFile},
        {"Player File:", "player_file", CVARSMITH_FIELD(files.playerFile), BrowseTarget::PlayerFile},
        {"MOTD File:", "server_motdfile", CVARSMITH_FIELD(files.motdFile), BrowseTarget::FilesMotdFile},
        {"Mode File:", "mode_customfile", CVARSMITH_FIELD(files.modeFile), BrowseTarget::FilesModeFile},
    };
    auto* grid = new QGridLayout;
    int line = 0;
    for (const FileRow& row : rows) {
      addRow(grid, line++, label(QString::fromLatin1(row.caption), row.key), text(row.key, row.field),
             browseButton(row.key, row.target));
    }
    grid->setColumnStretch(1, 1);
    return makeGroup(QStringLiteral("Other Files"), grid);
  }

  QGroupBox* directoriesGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Decal Directory:"), "decal_directory"),
           text("decal_directory", CVARSMITH_FIELD(files.decalDirectory)));
    addRow(grid, 1, label(QStringLiteral("Viewcam Directory:"), "viewcam_directory"),
           text("viewcam_directory", CVARSMITH_FIELD(files.viewcamDirectory)));
    grid->setColumnStretch(1, 1);
    return makeGroup(QStringLiteral("Directories"), grid);
  }
};

}  // namespace

SettingsPage* makeFilesPage(PageActions& actions) { return new FilesTab(actions); }

}  // namespace cvarsmith
