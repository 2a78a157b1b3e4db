// Voting: whether clients may vote, the vote limits, the modes offered, the
// mode file and starting mode, and what clients may vote on.
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

constexpr int kVoteAllowColumns = 4;

class VotingTab final : public SettingsPage {
 public:
  explicit VotingTab(PageActions& actions) : SettingsPage(Page::Voting, actions) {
    QCheckBox* enable = flag(QStringLiteral("Enable Voting"), "g_allowvote", CVARSMITH_FIELD(voting.enableVoting));
    QGroupBox* options = optionsGroup();
    QGroupBox* modes = modesGroup();
    QGroupBox* modeOptions = modeOptionsGroup();
    QGroupBox* allow = voteAllowGroup();
    QPushButton* items = button(QStringLiteral("Items/Power-ups"), kControlVoteAllow,
                                [this] { this->actions().editVotableItems(); });

    auto* left = new QVBoxLayout;
    left->addWidget(enable);
    left->addWidget(options);
    left->addWidget(modes);
    left->addWidget(items, 0, Qt::AlignLeft);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(modeOptions);
    right->addWidget(allow);
    right->addStretch();
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addLayout(right, 1);
    // A greyed group greys every control inside it.
    enableWhileChecked(enable, {options, modes, modeOptions, allow, items});
  }

 private:
  QGroupBox* optionsGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Vote Limit:"), "vote_limit"),
           integer("vote_limit", CVARSMITH_FIELD(voting.voteLimit), kVoteLimitRange));
    addRow(grid, 1, label(QStringLiteral("Vote Percent:"), "vote_percent"),
           integer("vote_percent", CVARSMITH_FIELD(voting.votePercent), kVotePercentRange));
    return makeGroup(QStringLiteral("Voting Options"), grid);
  }

  QGroupBox* modesGroup() {
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kAvailableModeCaptions.size(); ++i) {
      QCheckBox* mode = flag(QString::fromLatin1(kAvailableModeCaptions[i]), "server_availmodes",
                             [i](ServerSettings& s) -> bool& { return s.voting.availableModes[i]; });
      grid->addWidget(mode, static_cast<int>(i) % 3, static_cast<int>(i) / 3);
    }
    return makeGroup(QStringLiteral("Available Modes"), grid);
  }

  QGroupBox* modeOptionsGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Mode File:"), "mode_customfile"),
           text("mode_customfile", CVARSMITH_FIELD(voting.modeFile)),
           browseButton("mode_customfile", BrowseTarget::VotingModeFile));
    addRow(grid, 1, label(QStringLiteral("Mode Start:"), "mode_start"),
           integer("mode_start", CVARSMITH_FIELD(voting.modeStart), kModeStartRange));
    grid->setColumnStretch(1, 1);
    return makeGroup(QStringLiteral("Mode Options"), grid);
  }

  QGroupBox* voteAllowGroup() {
    auto* grid = new QGridLayout;
    int index = 0;
    for (const VoteAllowLine& line : kVoteAllowLines) {
      if (line.source != VoteAllowSource::Flag) continue;  // the masks have a dialog of their own
      const auto flagIndex = static_cast<std::size_t>(line.flagIndex);
      QCheckBox* box = flag(QString::fromLatin1(line.caption), kControlVoteAllow,
                            [flagIndex](ServerSettings& s) -> bool& { return s.voting.voteAllow[flagIndex]; });
      grid->addWidget(box, index / kVoteAllowColumns, index % kVoteAllowColumns);
      ++index;
    }
    return makeGroup(QStringLiteral("Vote Allow"), grid);
  }
};

}  // namespace

SettingsPage* makeVotingPage(PageActions& actions) { return new VotingTab(actions); }

}  // namespace cvarsmith
