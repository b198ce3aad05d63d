// Placeholder for the wallpaper change until the wallpaper changer brings the real one; remove this file
// then, together with its definition of KabeChange.
#include "settings/LoadCommit.h"

void KabeChange(TOptionEtcForm& form) {}
