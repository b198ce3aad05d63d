// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/MakePages.h"

#include <utility>

SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer, std::unique_ptr<ReminderPage> reminderPage,
                                const PageServices& services)
{
    return {MakeChimePage(chimePlayer, services.chooseSoundFile),
            std::move(reminderPage),
            MakeWallpaperPage(services.wallpaper),
            MakeInfoPage(services.drives),
            MakeHelpPage(),
            MakeVersionPage(services.openLink)};
}
