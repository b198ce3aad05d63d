// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/MakePages.h"

#include <utility>

SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer, std::unique_ptr<ReminderPage> reminderPage)
{
    return {MakeChimePage(chimePlayer), std::move(reminderPage), MakeWallpaperPage(), MakeInfoPage(), MakeHelpPage(),
            MakeVersionPage()};
}
