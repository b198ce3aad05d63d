// The settings dialog's pages in tab order, gathered where every subsystem may be known.
#include "app/OptionEtcPages.h"

SettingsPages MakeOptionEtcPages()
{
    return {MakeSetteiPage(), MakeOsirasePage(), MakeKabePage(), MakeJyouhouPage(), MakeHelpPage(), MakeVerPage()};
}
