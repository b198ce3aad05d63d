// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/MakePages.h"

#include <utility>

#include "settings/HelpPage.h"
#include "settings/SettingsDialog.h"

SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer, std::unique_ptr<ReminderPage> reminderPage,
                                const PageServices& services)
{
    ReminderPage* reminders = reminderPage.get();
    return {MakeChimePage(chimePlayer, services.chooseSoundFile, reminders),
            std::move(reminderPage),
            MakeWallpaperPage(services.wallpaper),
            MakeInfoPage(services.drives),
            MakeHelpPage(),
            MakeVersionPage(services.openLink)};
}

// Each page stands at its index because MakeSettingsPages put it there.
ChimePage& ChimePageOf(SettingsDialog& dialog)
{
    return static_cast<ChimePage&>(dialog.Page(kChimePageIndex));
}

ReminderPage& ReminderPageOf(SettingsDialog& dialog)
{
    return static_cast<ReminderPage&>(dialog.Page(kReminderPageIndex));
}

WallpaperPage& WallpaperPageOf(SettingsDialog& dialog)
{
    return static_cast<WallpaperPage&>(dialog.Page(kWallpaperPageIndex));
}

InfoPage& InfoPageOf(SettingsDialog& dialog)
{
    return static_cast<InfoPage&>(dialog.Page(kInfoPageIndex));
}
