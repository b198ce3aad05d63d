// Control ids of the installer window; each keeps its number, which automation relies on.
#pragma once

// Installer window (InstallerWindow)
#define IDC_INSTALL_MESSAGE 1900
#define IDC_INSTALL_BUTTON 1901
