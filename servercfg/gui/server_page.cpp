// Server: the host name and client limits, server behaviour, the passwords,
// enforced demo recording, the custom client options and the MOTD button.
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

struct NumberRow {
  const char* caption;
  const char* key;
  Field<int> field;
};

struct FlagRow {
  const char* caption;
  const char* key;
  Field<bool> field;
};

class ServerTab final : public SettingsPage {
 public:
  explicit ServerTab(PageActions& actions) : SettingsPage(Page::Server, actions) {
    auto* right = new QVBoxLayout;
    right->addWidget(passwordsGroup());
    right->addWidget(recordingGroup());
    right->addWidget(customClientGroup());
    auto* motd = button(QStringLiteral("MOTD"), kControlMotdButton, [this] { this->actions().editMotd(); });
    right->addWidget(motd, 0, Qt::AlignLeft);
    right->addStretch();
    auto* columns = new QHBoxLayout(this);
    columns->addWidget(serverSettingsGroup(), 0, Qt::AlignTop);
    columns->addLayout(right);
  }

 private:
  QGroupBox* serverSettingsGroup() {
    auto* grid = new QGridLayout;
    QLineEdit* hostname = text("sv_hostname", CVARSMITH_FIELD(server.hostname), kTextFieldLimit);
    grid->addWidget(label(QStringLiteral("Hostname:"), "sv_hostname"), 0, 0);
    grid->addWidget(hostname, 0, 1, 1, 3);

    const NumberRow numbers[] = {
        {"Max Clients:", "sv_maxclients", CVARSMITH_FIELD(server.maxClients)},
        {"Private Clients:", "sv_privateClients", CVARSMITH_FIELD(server.privateClients)},
        {"Game Clients:", "g_maxGameClients", CVARSMITH_FIELD(server.gameClients)},
        {"Max Suicides:", "match_maxsuicides", CVARSMITH_FIELD(server.maxSuicides)},
        {"Gravity:", "g_gravity", CVARSMITH_FIELD(server.gravity)},
        {"Speed:", "g_speed", CVARSMITH_FIELD(server.speed)},
        {"Inactivity:", "g_inactivity", CVARSMITH_FIELD(server.inactivity)},
        {"Knockback:", "g_knockback", CVARSMITH_FIELD(server.knockback)},
    };
    int row = 1;
    for (const NumberRow& number : numbers) {
      grid->addWidget(label(QString::fromLatin1(number.caption), number.key), row, 0);
      grid->addWidget(integer(number.key, number.field), row, 1);
      ++row;
    }
    grid->addWidget(label(QStringLiteral("Player Always:"), "player_always"), row, 0);
    grid->addWidget(text("player_always", CVARSMITH_FIELD(server.playerAlways)), row, 1, 1, 3);

    const FlagRow flags[] = {
        {"Allow Download", "sv_allowDownload", CVARSMITH_FIELD(server.allowDownload)},
        {"Allow Cheats", "sv_cheats", CVARSMITH_FIELD(server.allowCheats)},
        {"Pure Server", "sv_pure", CVARSMITH_FIELD(server.pureServer)},
        {"Smooth Clients", "g_smoothclients", CVARSMITH_FIELD(server.smoothClients)},
        {"OSP Game Name", "osp_gamename", CVARSMITH_FIELD(server.ospGameName)},
    };
    auto* flagColumn = new QVBoxLayout;
    for (const FlagRow& f : flags) flagColumn->addWidget(flag(QString::fromLatin1(f.caption), f.key, f.field));
    QCheckBox* auth = flag(QStringLiteral("OSP Authentication"), "server_ospauth", CVARSMITH_FIELD(server.ospAuthentication));
    QCheckBox* enhanced = flag(QStringLiteral("Enhanced Authentication"), "server_ospauth", CVARSMITH_FIELD(server.enhancedAuthentication));
    enableWhileChecked(auth, {enhanced});
    flagColumn->addWidget(auth);
    flagColumn->addWidget(enhanced);
    // Present for the record, but not offered.
    QCheckBox* floodProtect = flag(QStringLiteral("Flood Protect"), nullptr, CVARSMITH_FIELD(server.floodProtect));
    floodProtect->setEnabled(false);
    floodProtect->setVisible(false);
    flagColumn->addWidget(floodProtect);
    flagColumn->addStretch();
    grid->addLayout(flagColumn, 1, 2, row - 1, 2);
    grid->setColumnMinimumWidth(2, 12);
    return makeGroup(QStringLiteral("Server Settings"), grid);
  }

  QGroupBox* passwordsGroup() {
    struct TextRow {
      const char* caption;
      const char* key;
      Field<std::string> field;
    };
    const TextRow rows[] = {
        {"Server Password:", "g_password", CVARSMITH_FIELD(server.serverPassword)},
        {"Private Password:", "g_privatePassword", CVARSMITH_FIELD(server.privatePassword)},
        {"Referee Password:", "ref_password", CVARSMITH_FIELD(server.refereePassword)},
        {"rcon Password:", "rconPassword", CVARSMITH_FIELD(server.rconPassword)},
    };
    auto* grid = new QGridLayout;
    int line = 0;
    for (const TextRow& row : rows) {
      addRow(grid, line++, label(QString::fromLatin1(row.caption), row.key), text(row.key, row.field));
    }
    return makeGroup(QStringLiteral("Passwords"), grid);
  }

  QGroupBox* recordingGroup() {
    QCheckBox* record = flag(QStringLiteral("Record Demos"), "server_record", CVARSMITH_FIELD(server.recordDemos));
    QCheckBox* name = flag(QStringLiteral("Server Name"), "server_record", CVARSMITH_FIELD(server.serverName));
    QCheckBox* time = flag(QStringLiteral("Server Time"), "server_record", CVARSMITH_FIELD(server.serverTime));
    enableWhileChecked(record, {name, time});
    auto* grid = new QGridLayout;
    grid->addWidget(record, 0, 0);
    grid->addWidget(name, 1, 0);
    grid->addWidget(time, 2, 0);
    grid->addWidget(flag(QStringLiteral("End-Level Screenshots"), "server_record",
                         CVARSMITH_FIELD(server.endLevelScreenshots)), 0, 1);
    grid->addWidget(flag(QStringLiteral("Alternate Recording Style"), "server_record",
                         CVARSMITH_FIELD(server.alternateRecordingStyle)), 1, 1);
    return makeGroup(QStringLiteral("Server Recording"), grid);
  }

  QGroupBox* customClientGroup() {
    const FlagRow flags[] = {
        {"125Hz Sampling", "server_customclient", CVARSMITH_FIELD(server.sampling125Hz)},
        {"Custom Graphics", "server_customclient", CVARSMITH_FIELD(server.customGraphics)},
        {"No Timer", "server_customclient", CVARSMITH_FIELD(server.noTimer)},
        {"OSP Hud", "server_customclient", CVARSMITH_FIELD(server.ospHud)},
        {"True Lightning", "server_customclient", CVARSMITH_FIELD(server.trueLightning)},
    };
    auto* grid = new QGridLayout;
    int index = 0;
    for (const FlagRow& f : flags) {
      grid->addWidget(flag(QString::fromLatin1(f.caption), f.key, f.field), index % 3, index / 3);
      ++index;
    }
    return makeGroup(QStringLiteral("Custom Client"), grid);
  }
};

}  // namespace

SettingsPage* makeServerPage(PageActions& actions) { return new ServerTab(actions); }

}  // namespace cvarsmith
