// The start of the installer and the uninstaller: restricted library search or refusal.
#include "base/ElevatedStart.h"

bool StartWithSystemLibrariesOnly(const wchar_t* caption, SetDefaultDllDirectoriesFn setDefault)
{
    if (RestrictLibrarySearch(setDefault)) {
        return true;
    }
    // A service notification is drawn by the system, not in this process, so that the box itself loads nothing
    // from beside the program while the search is still the old one.
    MessageBoxW(nullptr, kLibraryUpdateMissingText, caption, MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION);
    return false;
}
