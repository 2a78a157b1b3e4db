// Gameplay: the game type, the match limits, the rule options, overtime and
// timeouts.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "help_catalogue.h"
#include "pages.h"

namespace cvarsmith {

namespace {

constexpr int kSinglePlayer = 2;  // exists in the list, but cannot be picked

class GameplayTab final : public SettingsPage {
 public:
  explicit GameplayTab(PageActions& actions) : SettingsPage(Page::Gameplay, actions) {
    auto* left = new QVBoxLayout;
    left->addWidget(gameTypeGroup());
    left->addWidget(overtimeGroup());
    left->addWidget(timeoutsGroup());
    left->addStretch();
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addWidget(variablesGroup(), 0, Qt::AlignTop);
    columns->addWidget(optionsGroup(), 0, Qt::AlignTop);
  }

 private:
  QGroupBox* gameTypeGroup() {
    std::vector<QString> captions;
    for (const char* caption : kGameTypeCaptions) captions.emplace_back(caption);
    std::vector<QRadioButton*> types = choice(captions, "g_gametype", CVARSMITH_FIELD(gameplay.gameType));
    types[kSinglePlayer]->setEnabled(false);
    types[kSinglePlayer]->setVisible(false);
    auto* column = new QVBoxLayout;
    for (QRadioButton* type : types) column->addWidget(type);
    return makeGroup(QStringLiteral("Game Type"), column);
  }

  QGroupBox* variablesGroup() {
    struct Row {
      const char* caption;
      const char* key;
      Field<int> field;
    };
    const Row rows[] = {
        {"Time Limit:", "timelimit", CVARSMITH_FIELD(gameplay.timeLimit)},
        {"Frag Limit:", "fraglimit", CVARSMITH_FIELD(gameplay.fragLimit)},
        {"Capture Limit:", "capturelimit", CVARSMITH_FIELD(gameplay.captureLimit)},
        {"Round Limit (CA):", "roundlimit", CVARSMITH_FIELD(gameplay.roundLimitCa)},
        {"Round Timer (CA):", "match_roundtimer", CVARSMITH_FIELD(gameplay.roundTimerCa)},
        {"Force Respawn:", "g_forceRespawn", CVARSMITH_FIELD(gameplay.forceRespawn)},
        {"Min. Players:", "match_minplayers", CVARSMITH_FIELD(gameplay.minPlayers)},
        {"Max Players per Team:", "team_maxplayers", CVARSMITH_FIELD(gameplay.maxPlayersPerTeam)},
        {"Ready Percentage:", "match_readypercent", CVARSMITH_FIELD(gameplay.readyPercentage)},
        {"Win By Score (1v1):", "match_winbyscore", CVARSMITH_FIELD(gameplay.winByScore1v1)},
    };
    auto* grid = new QGridLayout;
    int line = 0;
    for (const Row& row : rows) {
      addRow(grid, line++, label(QString::fromLatin1(row.caption), row.key),
             integer(row.key, row.field));
    }
    return makeGroup(QStringLiteral("Game Variables"), grid);
  }

  QGroupBox* optionsGroup() {
    struct Option {
      const char* caption;
      const char* key;
      Field<bool> field;
    };
    const Option options[] = {
        {"All Captains", "team_allcaptain", CVARSMITH_FIELD(gameplay.allCaptains)},
        {"Auto Join", "g_teamautojoin", CVARSMITH_FIELD(gameplay.autoJoin)},
        {"Challenge Mode", "server_cq3", CVARSMITH_FIELD(gameplay.challengeMode)},
        {"Falling Damage", kControlFallingDamage, CVARSMITH_FIELD(gameplay.fallingDamage)},
        {"Fixed FOV", kControlFixedFov, CVARSMITH_FIELD(gameplay.fixedFov)},
        {"Force Balance", "g_teamforcebalance", CVARSMITH_FIELD(gameplay.forceBalance)},
        {"Instagib", "match_instagib", CVARSMITH_FIELD(gameplay.instagib)},
        {"Late Join", "match_latejoin", CVARSMITH_FIELD(gameplay.lateJoin)},
        {"No Captains", "team_nocontrols", CVARSMITH_FIELD(gameplay.noCaptains)},
        {"No Footsteps", kControlNoFootsteps, CVARSMITH_FIELD(gameplay.noFootsteps)},
        {"Promode", "server_promode", CVARSMITH_FIELD(gameplay.promode)},
        {"Team Ready", "team_noteamready", CVARSMITH_FIELD(gameplay.teamReady)},
        {"Respawn (CA)", "match_carespawn", CVARSMITH_FIELD(gameplay.respawnCa)},
    };
    auto* column = new QVBoxLayout;
    for (const Option& option : options) {
      column->addWidget(flag(QString::fromLatin1(option.caption), option.key, option.field));
    }
    QCheckBox* warmup = flag(QStringLiteral("Warmup:"), "g_dowarmup", CVARSMITH_FIELD(gameplay.warmup));
    QLineEdit* seconds = integer("g_warmup", CVARSMITH_FIELD(gameplay.warmupSeconds));
    QLabel* unit = label(QStringLiteral("(sec)"), "g_warmup");
    auto* warmupRow = new QHBoxLayout;
    warmupRow->addWidget(warmup);
    warmupRow->addWidget(seconds);
    warmupRow->addWidget(unit);
    warmupRow->addStretch();
    column->addLayout(warmupRow);
    enableWhileChecked(warmup, {seconds, unit});
    return makeGroup(QStringLiteral("Options"), column);
  }

  QGroupBox* overtimeGroup() {
    QCheckBox* overtime = flag(QStringLiteral("Overtime"), "match_overtime", CVARSMITH_FIELD(gameplay.overtime));
    QCheckBox* suddenDeath = flag(QStringLiteral("Sudden Death"), "match_overtime", CVARSMITH_FIELD(gameplay.suddenDeath));
    QCheckBox* timed = flag(QStringLiteral("Sudden Death-Timed"), "match_overtime", CVARSMITH_FIELD(gameplay.suddenDeathTimed));
    QLabel* roundsCaption = label(QStringLiteral("Rounds:"), "match_overtimecount");
    QLineEdit* rounds = integer("match_overtimecount", CVARSMITH_FIELD(gameplay.overtimeRounds));
    QLabel* lengthCaption = label(QStringLiteral("Length:"), "match_overtimelength");
    QLineEdit* length = integer("match_overtimelength", CVARSMITH_FIELD(gameplay.overtimeLengthMinutes));
    QLabel* minutes = label(QStringLiteral("(min)"), "match_overtimelength");

    auto* grid = new QGridLayout;
    grid->addWidget(overtime, 0, 0, 1, 3);
    grid->addWidget(suddenDeath, 1, 0, 1, 3);
    grid->addWidget(timed, 2, 0, 1, 3);
    addRow(grid, 3, roundsCaption, rounds);
    addRow(grid, 4, lengthCaption, length, minutes);
    enableWhileChecked(overtime, {suddenDeath, timed, roundsCaption, rounds, lengthCaption, length, minutes});
    return makeGroup(QStringLiteral("Overtime"), grid);
  }

  QGroupBox* timeoutsGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Timeouts per Team:"), "match_timeoutcount"),
           integer("match_timeoutcount", CVARSMITH_FIELD(gameplay.timeoutsPerTeam)));
    addRow(grid, 1, label(QStringLiteral("Timeout Length:"), "match_timeoutlength"),
           integer("match_timeoutlength", CVARSMITH_FIELD(gameplay.timeoutLength)));
    return makeGroup(QStringLiteral("Timeouts"), grid);
  }
};

}  // namespace

SettingsPage* makeGameplayPage(PageActions& actions) { return new GameplayTab(actions); }

}  // namespace cvarsmith
