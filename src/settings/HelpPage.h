// The help page ヘルプ: the program's help text, read only.
#pragma once

#include <memory>

#include "settings/SettingsPage.h"

std::unique_ptr<SettingsPage> MakeHelpPage();
