// One tab page of the main dialog: its controls, each bound to a setting of
// ServerSettings, the check boxes that enable or grey other controls, and the
// help key of every control that the hover help looks up.
//
// A page is refreshed from the settings (controls show the record) and
// committed into them (the record takes the controls). A commit checks every
// box first; when one fails, nothing is stored, the message is shown and the
// focus goes back to that box.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "browse_targets.h"
#include "field_checks.h"
#include "server_settings.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cvarsmith {

class MessageBoxes;

// What the pages' buttons ask of the main dialog.
class PageActions {
 public:
  virtual ~PageActions() = default;
  virtual void browse(BrowseTarget target) = 0;
  virtual void editMotd() = 0;
  virtual void editVotableItems() = 0;
  virtual void generateBatchFile() = 0;
};

// The control key of the help catalogue that a widget shows on hover.
void setHelpKey(QWidget* widget, const char* key);
// The key of `widget` or of its nearest ancestor up to (not including)
// `outermost`; "" when none has one.
std::string helpKeyAt(const QWidget* widget, const QWidget* outermost);

// A titled box around `layout`.
QGroupBox* makeGroup(const QString& title, QLayout* layout);

// Binds a setting of the given type: returns a reference into the settings.
template <typename T>
using Field = std::function<T&(ServerSettings&)>;
#define CVARSMITH_FIELD(path) [](ServerSettings& s) -> auto& { return s.path; }

class SettingsPage : public QWidget {
 public:
  SettingsPage(Page page, PageActions& actions);

  Page page() const { return page_; }
  // The controls show the settings (which are only read).
  void refresh(ServerSettings& settings);
  // The settings take the controls; false when a box failed its check.
  bool commit(ServerSettings& settings, MessageBoxes& messages);
  // Enables or greys the dependent controls from their check boxes.
  void updateEnabledControls();

 protected:
  PageActions& actions() { return actions_; }

  QCheckBox* flag(const QString& caption, const char* key, Field<bool> field);
  QLineEdit* integer(const char* key, Field<int> field,
                     std::optional<IntegerRange> range = std::nullopt);
  QLineEdit* real(const char* key, Field<double> field);
  // `limit` 0: any length.
  QLineEdit* text(const char* key, Field<std::string> field, std::size_t limit = 0);
  QLineEdit* shownOnly(const QString& value);
  QLabel* label(const QString& caption, const char* key = nullptr);
  QPushButton* button(const QString& caption, const char* key, std::function<void()> onClick);
  QPushButton* browseButton(const char* key, BrowseTarget target);
  // One radio button per caption; the setting is the index of the checked one.
  std::vector<QRadioButton*> choice(const std::vector<QString>& captions, const char* key,
                                    Field<int> field);
  QComboBox* list(const std::vector<QString>& items, const char* key, Field<int> field);

  // A control bound by hand: `commit` returns the message when it fails.
  void bind(QWidget* widget, std::function<void(ServerSettings&)> refresh,
            std::function<std::optional<std::string>(ServerSettings&)> commit);

  void enableWhileChecked(QAbstractButton* box, std::vector<QWidget*> dependents);
  void greyWhileChecked(QAbstractButton* box, std::vector<QWidget*> dependents);

  // Grid rows: a caption and a box (with an optional unit or button after it).
  static void addRow(QGridLayout* grid, int row, QWidget* caption, QWidget* box,
                     QWidget* after = nullptr);

 private:
  struct Binding {
    QWidget* widget;
    std::function<void(ServerSettings&)> refresh;
    // The message when the control's value cannot be stored.
    std::function<std::optional<std::string>(ServerSettings&)> commit;
  };
  struct EnableRule {
    QAbstractButton* box;
    bool enabledWhenChecked;
    std::vector<QWidget*> dependents;
  };
  void addEnableRule(QAbstractButton* box, bool enabledWhenChecked,
                     std::vector<QWidget*> dependents);

  Page page_;
  PageActions& actions_;
  std::vector<Binding> bindings_;
  std::vector<EnableRule> enableRules_;
};

}  // namespace cvarsmith
