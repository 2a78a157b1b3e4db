// The eight tab pages, in tab order. Each returns a new page without a parent.
#pragma once

#include "settings_page.h"

namespace cvarsmith {

SettingsPage* makeGameplayPage(PageActions& actions);
SettingsPage* makeServerPage(PageActions& actions);
SettingsPage* makeFilesPage(PageActions& actions);
SettingsPage* makeWeaponsPage(PageActions& actions);
SettingsPage* makeItemsPage(PageActions& actions);
SettingsPage* makeVotingPage(PageActions& actions);
SettingsPage* makeOtherPage(PageActions& actions);
SettingsPage* makeCommandLinePage(PageActions& actions);

}  // namespace cvarsmith
