// Weapons and Armor: a row per weapon (starting inventory, the weapon in hand,
// disable, ammo and damage), the spawn values and the other weapon options.
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

enum Column { kInventoryColumn, kInHandColumn, kDisableColumn, kAmmoColumn, kDamageColumn };

constexpr int inHandPosition(Weapon weapon) {
  return weapon == Weapon::Gauntlet ? static_cast<int>(InHand::Gauntlet)
                                    : static_cast<int>(weapon) - 1;
}

Field<WeaponRow> rowField(Weapon weapon) {
  return [weapon](ServerSettings& s) -> WeaponRow& { return s.weapons.row(weapon); };
}

class WeaponsTab final : public SettingsPage {
 public:
  explicit WeaponsTab(PageActions& actions) : SettingsPage(Page::WeaponsAndArmor, actions) {
    auto* top = new QHBoxLayout;
    top->addLayout(weaponGrid());
    top->addSpacing(16);
    top->addLayout(spawnValues());
    top->addStretch();
    auto* inner = new QVBoxLayout;
    inner->addLayout(top);
    inner->addWidget(otherOptionsGroup());
    auto* column = new QVBoxLayout(this);
    column->addWidget(makeGroup(QStringLiteral("Weapons and Armor"), inner));
    column->addStretch();
  }

 private:
  QGridLayout* weaponGrid() {
    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Starting Inventory"), "weapon_have"), 0, kInventoryColumn);
    grid->addWidget(label(QStringLiteral("In Hand"), "weapon_start"), 0, kInHandColumn, Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("Disable"), "item_disable"), 0, kDisableColumn, Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("Ammo")), 0, kAmmoColumn);
    grid->addWidget(label(QStringLiteral("Damage  (Team)")), 0, kDamageColumn);

    std::vector<QRadioButton*> inHand =
        choice(std::vector<QString>(kInHandPositionCount), "weapon_start", CVARSMITH_FIELD(weapons.inHand));
    for (std::size_t i = 0; i < kWeaponCount; ++i) {
      addWeaponRow(grid, static_cast<int>(i) + 1, static_cast<Weapon>(i),
                   inHand[static_cast<std::size_t>(inHandPosition(static_cast<Weapon>(i)))]);
    }
    return grid;
  }

  void addWeaponRow(QGridLayout* grid, int line, Weapon weapon, QRadioButton* inHand) {
    const auto index = static_cast<std::size_t>(weapon);
    Field<WeaponRow> row = rowField(weapon);
    QCheckBox* inventory = flag(QString::fromLatin1(kWeaponCaptions[index]), "weapon_have",
                                [row](ServerSettings& s) -> bool& { return row(s).startingInventory; });
    QCheckBox* disable = flag(QString(), disableControl(weapon),
                              [row](ServerSettings& s) -> bool& { return row(s).disable; });
    const QString caption = inventory->text();
    inHand->setAccessibleName(QStringLiteral("In Hand ") + caption);
    disable->setAccessibleName(QStringLiteral("Disable ") + caption);
    // Choosing the weapon in hand also puts it into the starting inventory.
    connect(inHand, &QRadioButton::clicked, inventory, [inventory] { inventory->setChecked(true); });

    grid->addWidget(inventory, line, kInventoryColumn);
    grid->addWidget(inHand, line, kInHandColumn, Qt::AlignHCenter);
    grid->addWidget(disable, line, kDisableColumn, Qt::AlignHCenter);
    QLineEdit* ammo = ammoBox(weapon, row);
    ammo->setAccessibleName(caption + QStringLiteral(" Ammo"));
    grid->addWidget(ammo, line, kAmmoColumn);
    std::vector<QWidget*> greyed{inventory};
    grid->addLayout(damageBoxes(weapon, row, greyed), line, kDamageColumn);
    greyWhileChecked(disable, greyed);
  }

  QLineEdit* ammoBox(Weapon weapon, const Field<WeaponRow>& row) {
    const char* key = kAmmoControls[static_cast<std::size_t>(weapon)];
    if (*key == '\0') return shownOnly(QString::fromLatin1(kGauntletAmmoText));
    return integer(key, [row](ServerSettings& s) -> int& { return row(s).ammo; });
  }

  // The row's damage box(es); every one is added to `greyed`.
  QHBoxLayout* damageBoxes(Weapon weapon, const Field<WeaponRow>& row, std::vector<QWidget*>& greyed) {
    const auto index = static_cast<std::size_t>(weapon);
    auto* boxes = new QHBoxLayout;
    const char* key = kDamageControls[index];
    QLineEdit* damage = *key == '\0'
                            ? shownOnly(QString::fromLatin1(kShownOnlyDamage[index]))
                            : integer(key, [row](ServerSettings& s) -> int& { return row(s).damage; });
    damage->setAccessibleName(QString::fromLatin1(kWeaponCaptions[index]) + QStringLiteral(" Damage"));
    boxes->addWidget(damage);
    greyed.push_back(damage);
    if (weapon == Weapon::MachineGun) {
      QLineEdit* team = integer(kControlMachineGunTeamDamage,
                                [row](ServerSettings& s) -> int& { return row(s).teamDamage; });
      team->setAccessibleName(QStringLiteral("Machine Gun Team Damage"));
      boxes->addWidget(team);
      greyed.push_back(team);
    }
    if (weapon == Weapon::Shotgun) boxes->addWidget(label(QString::fromLatin1(kShotgunDamageNote)));
    boxes->addStretch();
    return boxes;
  }

  QGridLayout* spawnValues() {
    struct Row {
      const char* caption;
      const char* key;
      Field<int> field;
      std::optional<IntegerRange> range;
    };
    const Row rows[] = {
        {"Weapon Respawn Time:", "g_weaponrespawn", CVARSMITH_FIELD(weapons.weaponRespawnTime), std::nullopt},
        {"Weapon Respawn (TDM):", "g_weaponteamrespawn", CVARSMITH_FIELD(weapons.weaponRespawnTdm), std::nullopt},
        {"Armor on Spawn", "start_armor", CVARSMITH_FIELD(weapons.armorOnSpawn), std::nullopt},
        {"Health on Spawn", "start_health", CVARSMITH_FIELD(weapons.healthOnSpawn), std::nullopt},
        {"Instagib Reload", "instagib_reload", CVARSMITH_FIELD(weapons.instagibReload), kInstagibReloadRange},
        {"Warmup Armor", "warmup_armor", CVARSMITH_FIELD(weapons.warmupArmor), std::nullopt},
    };
    auto* grid = new QGridLayout;
    int line = 0;
    for (const Row& row : rows) {
      addRow(grid, line++, label(QString::fromLatin1(row.caption), row.key),
             integer(row.key, row.field, row.range));
    }
    grid->setRowStretch(line, 1);
    return grid;
  }

  QGroupBox* otherOptionsGroup() {
    struct Option {
      const char* caption;
      const char* key;
      Field<bool> field;
    };
    const Option options[] = {
        {"Armor Damage (CA)", "team_armordamage", CVARSMITH_FIELD(weapons.armorDamageCa)},
        {"Drop on Death", "weapon_deaddrop", CVARSMITH_FIELD(weapons.dropOnDeath)},
        {"Drop Items (TDM)", "match_dropitems", CVARSMITH_FIELD(weapons.dropItemsTdm)},
        {"Friendly Fire", "g_friendlyFire", CVARSMITH_FIELD(weapons.friendlyFire)},
        {"LG Cooldown (CPM)", "server_lgcooldown", CVARSMITH_FIELD(weapons.lgCooldownCpm)},
        {"Fast Rail (CPM)", "server_fastrail", CVARSMITH_FIELD(weapons.fastRailCpm)},
        {"Hurt Self", "match_hurtself", CVARSMITH_FIELD(weapons.hurtSelf)},
        {"Q2 Style Armor", "armor_q2style", CVARSMITH_FIELD(weapons.q2StyleArmor)},
        {"Through Floors", "server_thrufloors", CVARSMITH_FIELD(weapons.throughFloors)},
        {"Warmup Fire (CA)", "match_cawarmupfire", CVARSMITH_FIELD(weapons.warmupFireCa)},
    };
    auto* grid = new QGridLayout;
    int index = 0;
    for (const Option& option : options) {
      grid->addWidget(flag(QString::fromLatin1(option.caption), option.key, option.field), index / 5, index % 5);
      ++index;
    }
    return makeGroup(QStringLiteral("Other Options"), grid);
  }
};

}  // namespace

SettingsPage* makeWeaponsPage(PageActions& actions) { return new WeaponsTab(actions); }

}  // namespace cvarsmith
