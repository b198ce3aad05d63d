// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/MakePages.h"

#include <utility>

#include "info/InfoPage.h"
#include "info/VersionPage.h"
#include "settings/HelpPage.h"
#include "settings/SettingsDialog.h"
#include "wallpaper/WallpaperPage.h"

SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer, std::unique_ptr<ReminderPage> reminderPage)
{
    return {MakeChimePage(chimePlayer), std::move(reminderPage), MakeWallpaperPage(), MakeInfoPage(), MakeHelpPage(),
            MakeVersionPage()};
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
