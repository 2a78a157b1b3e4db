// Command Line: where the game is installed, the options of the server's
// command line, how it runs, and the start script.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "help_catalogue.h"
#include "pages.h"

namespace cvarsmith {

namespace {

// The four bytes of an IP address, each in a box of its own.
class IpAddressBox final : public QWidget {
 public:
  IpAddressBox() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      if (i > 0) row->addWidget(new QLabel(QStringLiteral(".")));
      bytes_[i] = new QSpinBox;
      bytes_[i]->setRange(0, 255);
      bytes_[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
      bytes_[i]->setAlignment(Qt::AlignRight);
      bytes_[i]->setFixedWidth(40);
      row->addWidget(bytes_[i]);
    }
    row->addStretch();
  }

  void show(const std::array<std::uint8_t, 4>& address) {
    for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i]->setValue(address[i]);
  }
  std::array<std::uint8_t, 4> address() const {
    std::array<std::uint8_t, 4> result{};
    for (std::size_t i = 0; i < bytes_.size(); ++i) result[i] = static_cast<std::uint8_t>(bytes_[i]->value());
    return result;
  }

 private:
  std::array<QSpinBox*, 4> bytes_{};
};

class CommandLineTab final : public SettingsPage {
 public:
  explicit CommandLineTab(PageActions& actions) : SettingsPage(Page::CommandLine, actions) {
    auto* lower = new QHBoxLayout;
    lower->addWidget(optionsGroup(), 1);
    auto* dedicatedColumn = new QVBoxLayout;
    dedicatedColumn->addWidget(dedicatedGroup());
    dedicatedColumn->addStretch();
    dedicatedColumn->addWidget(button(QStringLiteral("Generate Batch File"), kControlGenerateBatch,
                                      [this] { this->actions().generateBatchFile(); }));
    lower->addLayout(dedicatedColumn);
    auto* column = new QVBoxLayout(this);
    column->addWidget(locationGroup());
    column->addLayout(lower);
    column->addStretch();
  }

 private:
  QGroupBox* locationGroup() {
    auto* row = new QHBoxLayout;
    row->addWidget(label(QStringLiteral("Quake Executable Path:"), kControlExecutablePath));
    row->addWidget(text(kControlExecutablePath, CVARSMITH_FIELD(commandLine.executablePath)), 1);
    row->addWidget(browseButton(kControlExecutablePath, BrowseTarget::Executable));
    return makeGroup(QStringLiteral("Quake III Arena Location"), row);
  }

  QGroupBox* optionsGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Active Game Directory:"), "fs_game"),
           text("fs_game", CVARSMITH_FIELD(commandLine.gameDirectory)));
    addRow(grid, 1, label(QStringLiteral("Allocated Memory:"), "com_hunkmegs"),
           integer("com_hunkmegs", CVARSMITH_FIELD(commandLine.hunkMegs)));
    addRow(grid, 2, label(QStringLiteral("Server Config File Name:"), "exec"),
           text("exec", CVARSMITH_FIELD(commandLine.configFileName)),
           browseButton("exec", BrowseTarget::ServerConfigFile));

    QCheckBox* netIp = flag(QStringLiteral("Net IP:"), "net_ip", CVARSMITH_FIELD(commandLine.netIpEnabled));
    auto* address = new IpAddressBox;
    address->setAccessibleName(QStringLiteral("IP Address"));
    setHelpKey(address, "net_ip");
    bind(address, [address](ServerSettings& s) { address->show(s.commandLine.netIp); },
         [address](ServerSettings& s) -> std::optional<std::string> {
           s.commandLine.netIp = address->address();
           return std::nullopt;
         });
    enableWhileChecked(netIp, {address});
    addRow(grid, 3, netIp, address);

    QCheckBox* netPort = flag(QStringLiteral("Net Port:"), "net_port", CVARSMITH_FIELD(commandLine.netPortEnabled));
    QLineEdit* port = integer("net_port", CVARSMITH_FIELD(commandLine.netPort));
    enableWhileChecked(netPort, {port});
    addRow(grid, 4, netPort, port);

    grid->addWidget(flag(QStringLiteral("Reset Cvars"), "cvar_restart", CVARSMITH_FIELD(commandLine.resetCvars)), 5, 0);
    grid->setColumnStretch(1, 1);
    return makeGroup(QStringLiteral("Command Line Options"), grid);
  }

  QGroupBox* dedicatedGroup() {
    auto* column = new QVBoxLayout;
    for (QRadioButton* option : choice({QStringLiteral("Listen"), QStringLiteral("Private"), QStringLiteral("Public")},
                                       "dedicated", CVARSMITH_FIELD(commandLine.dedicated))) {
      column->addWidget(option);
    }
    return makeGroup(QStringLiteral("Dedicated"), column);
  }
};

}  // namespace

SettingsPage* makeCommandLinePage(PageActions& actions) { return new CommandLineTab(actions); }

}  // namespace cvarsmith
