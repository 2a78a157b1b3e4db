// Other: the map list and map queue, the starting map, network limits,
// bots and spectators.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "help_catalogue.h"
#include "pages.h"

namespace cvarsmith {

namespace {

class OtherTab final : public SettingsPage {
 public:
  explicit OtherTab(PageActions& actions) : SettingsPage(Page::Other, actions) {
    auto* left = new QVBoxLayout;
    left->addWidget(mapsGroup());
    left->addWidget(botsGroup());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(networkGroup());
    right->addWidget(spectatorsGroup());
    right->addStretch();
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(right);
  }

 private:
  QGroupBox* mapsGroup() {
    auto* grid = new QGridLayout;
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(label(QStringLiteral("Map File:"), "map_file"));
    fileRow->addWidget(text("map_file", CVARSMITH_FIELD(other.mapFile)), 1);
    fileRow->addWidget(browseButton("map_file", BrowseTarget::OtherMapFile));
    grid->addLayout(fileRow, 0, 0, 1, 2);

    grid->addWidget(flag(QStringLiteral("Auto Load"), "map_autoload", CVARSMITH_FIELD(other.autoLoad)), 1, 0);
    QCheckBox* queue = flag(QStringLiteral("Enable Queue"), "map_queue", CVARSMITH_FIELD(other.enableQueue));
    grid->addWidget(queue, 2, 0);
    struct QueueOption {
      const char* caption;
      const char* key;
      Field<bool> field;
    };
    const QueueOption options[] = {
        {"Rotate Maps", "map_rotate", CVARSMITH_FIELD(other.rotateMaps)},
        {"Random Map", "map_random", CVARSMITH_FIELD(other.randomMap)},
        {"Map Once", "map_once", CVARSMITH_FIELD(other.mapOnce)},
        {"No Count", "map_nocount", CVARSMITH_FIELD(other.noCount)},
        {"Map Halt", "map_halt", CVARSMITH_FIELD(other.mapHalt)},
    };
    std::vector<QWidget*> queueOptions;
    int line = 1;
    for (const QueueOption& option : options) {
      QCheckBox* box = flag(QString::fromLatin1(option.caption), option.key, option.field);
      grid->addWidget(box, line++, 1);
      queueOptions.push_back(box);
    }
    enableWhileChecked(queue, queueOptions);

    QCheckBox* starting = flag(QStringLiteral("Starting Map:"), kControlStartingMap,
                               CVARSMITH_FIELD(other.startingMapEnabled));
    QLineEdit* map = text(kControlStartingMap, CVARSMITH_FIELD(other.startingMap));
    enableWhileChecked(starting, {map});
    grid->addWidget(starting, line, 0);
    grid->addWidget(map, line, 1);
    return makeGroup(QStringLiteral("Maps"), grid);
  }

  QGroupBox* networkGroup() {
    struct Row {
      const char* caption;
      const char* minKey;
      const char* maxKey;
      Field<int> min;
      Field<int> max;
    };
    const Row rows[] = {
        {"Packets:", "server_maxpacketsmin", "server_maxpacketsmax", CVARSMITH_FIELD(other.packetsMin),
         CVARSMITH_FIELD(other.packetsMax)},
        {"Time Nudge:", "server_timenudgemin", "server_timenudgemax", CVARSMITH_FIELD(other.timeNudgeMin),
         CVARSMITH_FIELD(other.timeNudgeMax)},
        {"Ping:", "sv_minPing", "sv_maxPing", CVARSMITH_FIELD(other.pingMin), CVARSMITH_FIELD(other.pingMax)},
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Min")), 0, 1);
    grid->addWidget(label(QStringLiteral("Max")), 0, 2);
    int line = 1;
    for (const Row& row : rows) {
      grid->addWidget(label(QString::fromLatin1(row.caption), row.minKey), line, 0);
      grid->addWidget(integer(row.minKey, row.min), line, 1);
      grid->addWidget(integer(row.maxKey, row.max), line, 2);
      ++line;
    }
    grid->addWidget(label(QStringLiteral("Rate:"), "sv_maxRate"), line, 0);
    grid->addWidget(integer("sv_maxRate", CVARSMITH_FIELD(other.rateMax)), line, 2);
    ++line;
    grid->addWidget(flag(QStringLiteral("Pmove Fixed"), "pmove_fixed", CVARSMITH_FIELD(other.pmoveFixed)), line, 0);
    grid->addWidget(integer("pmove_msec", CVARSMITH_FIELD(other.pmoveMsec)), line, 1);
    grid->addWidget(label(QStringLiteral("(msec)"), "pmove_msec"), line, 2);
    return makeGroup(QStringLiteral("Network"), grid);
  }

  QGroupBox* botsGroup() {
    QCheckBox* enable = flag(QStringLiteral("Enable Bots"), "bot_enable", CVARSMITH_FIELD(other.enableBots));
    QLabel* minCaption = label(QStringLiteral("Min Players:"), "bot_minplayers");
    QLineEdit* minPlayers = integer("bot_minplayers", CVARSMITH_FIELD(other.botMinPlayers));
    QLabel* checkCaption = label(QStringLiteral("Check Time:"), "bot_checktime");
    QLineEdit* checkTime = integer("bot_checktime", CVARSMITH_FIELD(other.botCheckTime));
    QLabel* autoloadCaption = label(QStringLiteral("Autoload:"), "bot_autoload");
    QLineEdit* autoload = text("bot_autoload", CVARSMITH_FIELD(other.botAutoload));
    enableWhileChecked(enable, {minCaption, minPlayers, checkCaption, checkTime, autoloadCaption, autoload});

    auto* grid = new QGridLayout;
    grid->addWidget(enable, 0, 0, 1, 4);
    grid->addWidget(minCaption, 1, 0);
    grid->addWidget(minPlayers, 1, 1);
    grid->addWidget(checkCaption, 1, 2);
    grid->addWidget(checkTime, 1, 3);
    grid->addWidget(autoloadCaption, 2, 0);
    grid->addWidget(autoload, 2, 1, 1, 3);
    return makeGroup(QStringLiteral("Bots"), grid);
  }

  QGroupBox* spectatorsGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Spectator Inactivity:"), "g_spectatorInactivity"),
           integer("g_spectatorInactivity", CVARSMITH_FIELD(other.spectatorInactivity)));
    grid->addWidget(flag(QStringLiteral("Real Ping"), "server_realping", CVARSMITH_FIELD(other.realPing)), 1, 0);
    grid->addWidget(flag(QStringLiteral("Mute Spectators"), "match_mutespecs", CVARSMITH_FIELD(other.muteSpectators)), 2, 0);
    return makeGroup(QStringLiteral("Spectators"), grid);
  }
};

}  // namespace

SettingsPage* makeOtherPage(PageActions& actions) { return new OtherTab(actions); }

}  // namespace cvarsmith
