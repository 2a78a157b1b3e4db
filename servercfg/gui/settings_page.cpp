#include "settings_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

#include "platform.h"
#include "qt_platform.h"

namespace cvarsmith {

namespace {

constexpr const char* kHelpKeyProperty = "cvarsmithHelpKey";
constexpr const char* kFieldErrorCaption = "Cvarsmith";
constexpr int kNumberBoxWidth = 64;

}  // namespace

void setHelpKey(QWidget* widget, const char* key) {
  if (key != nullptr && *key != '\0') widget->setProperty(kHelpKeyProperty, QString::fromLatin1(key));
}

std::string helpKeyAt(const QWidget* widget, const QWidget* outermost) {
  for (const QWidget* w = widget; w != nullptr && w != outermost; w = w->parentWidget()) {
    const QVariant key = w->property(kHelpKeyProperty);
    if (key.isValid()) return key.toString().toStdString();
  }
  return {};
}

QGroupBox* makeGroup(const QString& title, QLayout* layout) {
  auto* group = new QGroupBox(title);
  group->setLayout(layout);
  return group;
}

SettingsPage::SettingsPage(Page page, PageActions& actions) : page_(page), actions_(actions) {}

void SettingsPage::refresh(ServerSettings& settings) {
  for (const Binding& binding : bindings_) binding.refresh(settings);
  updateEnabledControls();
}

bool SettingsPage::commit(ServerSettings& settings, MessageBoxes& messages) {
  ServerSettings draft = settings;
  for (const Binding& binding : bindings_) {
    if (std::optional<std::string> problem = binding.commit(draft)) {
      messages.showMessage(*problem, kFieldErrorCaption, MessageIcon::Exclamation);
      binding.widget->setFocus(Qt::OtherFocusReason);
      if (auto* box = qobject_cast<QLineEdit*>(binding.widget)) box->selectAll();
      return false;
    }
  }
  settings = std::move(draft);
  return true;
}

void SettingsPage::updateEnabledControls() {
  for (const EnableRule& rule : enableRules_) {
    const bool enabled = rule.box->isChecked() == rule.enabledWhenChecked;
    for (QWidget* dependent : rule.dependents) dependent->setEnabled(enabled);
  }
}

QCheckBox* SettingsPage::flag(const QString& caption, const char* key, Field<bool> field) {
  auto* box = new QCheckBox(caption);
  setHelpKey(box, key);
  bindings_.push_back({box, [box, field](ServerSettings& s) { box->setChecked(field(s)); },
                       [box, field](ServerSettings& s) -> std::optional<std::string> {
                         field(s) = box->isChecked();
                         return std::nullopt;
                       }});
  return box;
}

QLineEdit* SettingsPage::integer(const char* key, Field<int> field,
                                 std::optional<IntegerRange> range) {
  auto* box = new QLineEdit;
  box->setMaximumWidth(kNumberBoxWidth);
  setHelpKey(box, key);
  bindings_.push_back(
      {box, [box, field](ServerSettings& s) { box->setText(QString::number(field(s))); },
       [box, field, range](ServerSettings& s) -> std::optional<std::string> {
         FieldCheck<int> checked = checkIntegerField(fromQt(box->text()), range);
         if (!checked.value) return checked.message;
         field(s) = *checked.value;
         return std::nullopt;
       }});
  return box;
}

QLineEdit* SettingsPage::real(const char* key, Field<double> field) {
  auto* box = new QLineEdit;
  box->setMaximumWidth(kNumberBoxWidth);
  setHelpKey(box, key);
  bindings_.push_back(
      {box,
       [box, field](ServerSettings& s) {
         // Every digit the value needs, so that committing the box keeps it.
         box->setText(QString::number(field(s), 'g', QLocale::FloatingPointShortest));
       },
       [box, field](ServerSettings& s) -> std::optional<std::string> {
         FieldCheck<double> checked = checkRealField(fromQt(box->text()));
         if (!checked.value) return checked.message;
         field(s) = *checked.value;
         return std::nullopt;
       }});
  return box;
}

QLineEdit* SettingsPage::text(const char* key, Field<std::string> field, std::size_t limit) {
  auto* box = new QLineEdit;
  setHelpKey(box, key);
  bindings_.push_back({box, [box, field](ServerSettings& s) { box->setText(toQt(field(s))); },
                       [box, field, limit](ServerSettings& s) -> std::optional<std::string> {
                         std::string value = fromQt(box->text());
                         if (limit != 0) {
                           if (auto problem = checkTextLength(value, limit)) return problem;
                         }
                         field(s) = std::move(value);
                         return std::nullopt;
                       }});
  return box;
}

QLineEdit* SettingsPage::shownOnly(const QString& value) {
  auto* box = new QLineEdit(value);
  box->setReadOnly(true);
  box->setMaximumWidth(kNumberBoxWidth);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

QLabel* SettingsPage::label(const QString& caption, const char* key) {
  auto* shown = new QLabel(caption);
  setHelpKey(shown, key);
  return shown;
}

QPushButton* SettingsPage::button(const QString& caption, const char* key,
                                  std::function<void()> onClick) {
  auto* pushed = new QPushButton(caption);
  pushed->setAutoDefault(false);
  setHelpKey(pushed, key);
  connect(pushed, &QPushButton::clicked, this, [onClick] { onClick(); });
  return pushed;
}

QPushButton* SettingsPage::browseButton(const char* key, BrowseTarget target) {
  return button(QStringLiteral("Browse"), key, [this, target] { actions_.browse(target); });
}

std::vector<QRadioButton*> SettingsPage::choice(const std::vector<QString>& captions,
                                                const char* key, Field<int> field) {
  auto* group = new QButtonGroup(this);
  std::vector<QRadioButton*> buttons;
  for (const QString& caption : captions) {
    auto* option = new QRadioButton(caption);
    setHelpKey(option, key);
    group->addButton(option, static_cast<int>(buttons.size()));
    buttons.push_back(option);
  }
  bindings_.push_back({buttons.front(),
                       [group, field](ServerSettings& s) {
                         // A value that no button stands for shows none checked.
                         QAbstractButton* chosen = group->button(field(s));
                         if (chosen != nullptr) {
                           chosen->setChecked(true);
                         } else if (QAbstractButton* checked = group->checkedButton()) {
                           group->setExclusive(false);
                           checked->setChecked(false);
                           group->setExclusive(true);
                         }
                       },
                       [group, field](ServerSettings& s) -> std::optional<std::string> {
                         if (group->checkedId() >= 0) field(s) = group->checkedId();
                         return std::nullopt;
                       }});
  return buttons;
}

QComboBox* SettingsPage::list(const std::vector<QString>& items, const char* key,
                              Field<int> field) {
  auto* box = new QComboBox;
  for (const QString& item : items) box->addItem(item);
  setHelpKey(box, key);
  bindings_.push_back({box, [box, field](ServerSettings& s) { box->setCurrentIndex(field(s)); },
                       [box, field](ServerSettings& s) -> std::optional<std::string> {
                         if (box->currentIndex() >= 0) field(s) = box->currentIndex();
                         return std::nullopt;
                       }});
  return box;
}

void SettingsPage::bind(QWidget* widget, std::function<void(ServerSettings&)> refresh,
                        std::function<std::optional<std::string>(ServerSettings&)> commit) {
  bindings_.push_back({widget, std::move(refresh), std::move(commit)});
}

void SettingsPage::enableWhileChecked(QAbstractButton* box, std::vector<QWidget*> dependents) {
  addEnableRule(box, true, std::move(dependents));
}

void SettingsPage::greyWhileChecked(QAbstractButton* box, std::vector<QWidget*> dependents) {
  addEnableRule(box, false, std::move(dependents));
}

void SettingsPage::addEnableRule(QAbstractButton* box, bool enabledWhenChecked,
                                 std::vector<QWidget*> dependents) {
  enableRules_.push_back({box, enabledWhenChecked, std::move(dependents)});
  connect(box, &QAbstractButton::toggled, this, [this] { updateEnabledControls(); });
}

void SettingsPage::addRow(QGridLayout* grid, int row, QWidget* caption, QWidget* box,
                          QWidget* after) {
  grid->addWidget(caption, row, 0);
  grid->addWidget(box, row, 1);
  if (after != nullptr) grid->addWidget(after, row, 2);
}

}  // namespace cvarsmith
