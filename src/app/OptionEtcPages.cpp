// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/OptionEtcPages.h"

#include <utility>

SettingsPages MakeOptionEtcPages(ChimePlayer& chimePlayer, std::unique_ptr<OsirasePage> osirasePage)
{
    return {MakeSetteiPage(chimePlayer), std::move(osirasePage), MakeKabePage(),
            MakeJyouhouPage(),           MakeHelpPage(),         MakeVerPage()};
}
