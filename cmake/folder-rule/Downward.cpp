// Includes a header of settings itself and of base below it; compiled with the settings library's include path
// it must succeed, so that the failure of the upward include is the rule's and not the check's.
#include "settings/SettingsLayout.h"
#include "base/Handles.h"
