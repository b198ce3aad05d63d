// The manual shown on the help page.
#pragma once

#include <string>

// The lines of the manual joined by CR LF.
std::wstring HelpText();
