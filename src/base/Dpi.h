// Display scale: every layout of the program is given in pixels at 96 DPI; these turn its figures into pixels at a
// window's DPI and give the frames, metrics and icons of that DPI. Windows 7 and 8 lack the per-window
// functions, so they are looked up at run time and the system's one DPI stands in where they are missing.
#pragma once

#include <windows.h>

#include "base/Handles.h"

// The DPI at which the layouts are given and at which every window is pixel for pixel its design.
inline constexpr int kDesignDpi = 96;

// The DPI of the whole system (the primary screen's at logon).
int SystemDpi();
// The DPI of the screen a window is on (of its monitor on Windows 8.1, the system's on Windows 7 and 8).
int WindowDpi(HWND hwnd);

// A length of the layout at a DPI, to the nearest pixel.
int Scale(int designPx, int dpi);
// A rectangle of the layout at a DPI. Each edge is scaled on its own, so rectangles that touch still touch and
// rectangles apart stay apart.
RECT ScaleRect(const RECT& design, int dpi);
RECT ScaleRect(int x, int y, int w, int h, int dpi);

// A size metric of the system (GetSystemMetrics index: scroll bars, edges, icons) at a DPI.
int MetricForDpi(int index, int dpi);
// The outer size that gives a window of this style a client area of w x h pixels, with the frame of a DPI.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int w, int h, int dpi);

// The program's icon at the size of an icon metric (SM_CXICON or SM_CXSMICON) at a DPI, from the image of that
// size in the resource; null when the program has no icon. The caller keeps it as long as it is shown.
Icon LoadProgramIcon(int metricIndex, int dpi);
// The program's icon at the system's large icon size, shared by the system and never destroyed: for window
// classes, which last as long as the process (the small one the system takes from the same resource).
HICON SharedProgramIcon();

// Puts a child window at its layout rectangle at a DPI.
void PlaceChild(HWND child, const RECT& design, int dpi);

// Under the first per-monitor mode of Windows 10 a top-level window's frame and caption are scaled only when the
// window asks while it is created; later modes scale them anyway.
void EnableNonClientScaling(HWND hwnd);
