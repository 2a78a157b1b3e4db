// Items: items and power-ups taken off the maps, the grappling hook, the
// quad factor and power-up respawn, and what replaces each item.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "derived_values.h"
#include "pages.h"

namespace cvarsmith {

namespace {

// The replaceable items as the "Replacements" box names them, by Replaceable.
constexpr std::array<const char*, kReplaceableCount> kReplaceableLabels = {
    "Machine Gun:", "Shotgun:",      "Grenade Launcher:", "Rocket Launcher:", "Lightning Gun:",
    "Rail Gun:",    "Plasma Gun:",   "BFG:",              "Invisibility:",    "Quad Damage:",
    "Battle Suit:", "Haste:",        "Regeneration:",     "Flight:"};

// "All Armor" and "All Health" belong to item_disable, the others to powerup_disable.
const char* disableKey(Item item) {
  return item == Item::AllArmor || item == Item::AllHealth ? "item_disable" : "powerup_disable";
}

class ItemsTab final : public SettingsPage {
 public:
  explicit ItemsTab(PageActions& actions) : SettingsPage(Page::Items, actions) {
    auto* left = new QVBoxLayout;
    left->addWidget(disableGroup());
    left->addWidget(hookGroup());
    left->addWidget(variablesGroup());
    left->addStretch();
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addWidget(replacementsGroup(), 0, Qt::AlignTop);
  }

 private:
  QGroupBox* disableGroup() {
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kItemCount; ++i) {
      const auto item = static_cast<Item>(i);
      QCheckBox* box = flag(QString::fromLatin1(kItemCaptions[i]), disableKey(item),
                            [item](ServerSettings& s) -> bool& { return s.items.disabled(item); });
      grid->addWidget(box, static_cast<int>(i) / 2, static_cast<int>(i) % 2);
    }
    return makeGroup(QStringLiteral("Disable"), grid);
  }

  QGroupBox* hookGroup() {
    QCheckBox* enable = flag(QStringLiteral("Enable Hook"), "hook_enable", CVARSMITH_FIELD(items.enableHook));
    struct Row {
      const char* caption;
      const char* key;
      Field<int> field;
    };
    const Row rows[] = {
        {"Delay Time:", "hook_delaytime", CVARSMITH_FIELD(items.hookDelayTime)},
        {"Hook Speed:", "hook_speed", CVARSMITH_FIELD(items.hookSpeed)},
        {"Hold Time:", "hook_holdtime", CVARSMITH_FIELD(items.hookHoldTime)},
        {"Pull Speed:", "hook_pullspeed", CVARSMITH_FIELD(items.hookPullSpeed)},
    };
    auto* grid = new QGridLayout;
    grid->addWidget(enable, 0, 0, 1, 2);
    std::vector<QWidget*> hookFields;
    int index = 0;
    for (const Row& row : rows) {
      QLabel* caption = label(QString::fromLatin1(row.caption), row.key);
      QLineEdit* box = integer(row.key, row.field);
      const int line = 1 + index / 2;
      const int column = 2 * (index % 2);
      grid->addWidget(caption, line, column);
      grid->addWidget(box, line, column + 1);
      hookFields.insert(hookFields.end(), {caption, box});
      ++index;
    }
    QCheckBox* sky = flag(QStringLiteral("Hook to Sky"), "hook_sky", CVARSMITH_FIELD(items.hookToSky));
    grid->addWidget(sky, 3, 0, 1, 2);
    hookFields.push_back(sky);
    enableWhileChecked(enable, hookFields);
    grid->setColumnStretch(4, 1);
    return makeGroup(QStringLiteral("Hook"), grid);
  }

  QGroupBox* variablesGroup() {
    auto* grid = new QGridLayout;
    addRow(grid, 0, label(QStringLiteral("Quad Factor:"), "g_quadfactor"),
           real("g_quadfactor", CVARSMITH_FIELD(items.quadFactor)));
    addRow(grid, 1, label(QStringLiteral("Powerup Respawn Time (PM):"), "match_poweruprespawn"),
           integer("match_poweruprespawn", CVARSMITH_FIELD(items.powerupRespawnTime)));
    grid->setColumnStretch(2, 1);
    return makeGroup(QStringLiteral("Item Variables"), grid);
  }

  QGroupBox* replacementsGroup() {
    std::vector<QString> choices;
    for (const char* choiceCaption : kReplacementChoices) choices.emplace_back(QString::fromLatin1(choiceCaption));
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kReplaceableCount; ++i) {
      const char* key = kReplacementVariables[i];
      QComboBox* replacement =
          list(choices, key, [i](ServerSettings& s) -> int& { return s.items.replacements[i]; });
      addRow(grid, static_cast<int>(i), label(QString::fromLatin1(kReplaceableLabels[i]), key), replacement);
    }
    return makeGroup(QStringLiteral("Replacements"), grid);
  }
};

}  // namespace

SettingsPage* makeItemsPage(PageActions& actions) { return new ItemsTab(actions); }

}  // namespace cvarsmith
