#pragma once
// Sizes and fonts at a monitor's DPI. The per-monitor functions exist from
// Windows 10 on; elsewhere the system DPI stands in.

#include <windows.h>

namespace nudgewick::win32 {

UINT WindowDpi(HWND hwnd);

// The outer size of a window whose client area is clientWidth x clientHeight.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font, as dialogs use it, at dpi.
HFONT CreateDialogFont(UINT dpi);

// The link's font: MS Sans Serif, underlined, in the layout's point size.
HFONT CreateLinkFont(UINT dpi);

}  // namespace nudgewick::win32
