// Control ids of the resident program's own windows; each keeps its number, which automation relies on.
#pragma once

// Exit dialog (ExitDialog): OK and Cancel use IDOK and IDCANCEL.
#define IDC_EXIT_QUESTION 900
