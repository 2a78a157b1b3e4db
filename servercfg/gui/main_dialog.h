// The Cvarsmith window: eight tab pages over ServerSettings, the buttons
// that write, load and launch, the mode presets, and the hover help.
//
// Leaving a tab commits its page (a failing box keeps the tab and the
// focus), carries over the duplicated file names, and shows the new page
// refreshed from the settings. Every operation that uses the whole settings
// commits the page shown first and stops when that fails.
#pragma once

#include <QDialog>
#include <array>
#include <string_view>

#include "config_writer.h"
#include "mode_presets.h"
#include "platform.h"
#include "settings_page.h"

class QLabel;
class QLineEdit;
class QTabWidget;

namespace cvarsmith {

class SmallDialogs;

inline constexpr const char* kMainWindowTitle = "Q3 OSP(v1.01) Cvarsmith";
inline constexpr const char* kInitialInformation = "More Info";

class MainDialog final : public QDialog, public PageActions {
 public:
  MainDialog(ServerSettings settings, Platform& platform, ProcessRunner& runner,
             SmallDialogs& dialogs, QWidget* parent = nullptr);

  ServerSettings& settings() { return settings_; }
  SettingsPage* page(Page which) const { return pages_[static_cast<std::size_t>(which)]; }
  Page currentPage() const { return static_cast<Page>(current_); }
  QTabWidget* tabs() const { return tabs_; }

  // Switches tabs as a click on the tab does; false when the page left
  // failed its commit (the tab stays).
  bool selectPage(Page next);

  // The "Variable" box and "Additional Information" for a control key on the
  // current tab ("" for no control).
  void showVariableInfo(std::string_view control);
  QString variableText() const;
  QString informationText() const;

  // The buttons under and beside the tabs.
  void generateCfg();
  void spawnListen();
  void loadCfg();
  void applyPreset(ModePreset preset);
  void showAbout();

  // What the pages' buttons ask for.
  void browse(BrowseTarget target) override;
  void editMotd() override;
  void editVotableItems() override;
  void generateBatchFile() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* buildTabs();
  QLayout* buildPresetRow();
  QLayout* buildSideColumn();
  QLayout* buildInformationArea();
  void installHoverHelp();

  bool commitCurrentPage();
  void refreshAllPages();
  void onTabChanged(int index);

  ServerSettings settings_;
  Platform& platform_;
  ProcessRunner& runner_;
  SmallDialogs& dialogs_;
  ConfigWriterMemory memory_;
  std::array<SettingsPage*, 8> pages_{};
  int current_ = 0;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* variable_ = nullptr;
  QLabel* information_ = nullptr;
};

}  // namespace cvarsmith
