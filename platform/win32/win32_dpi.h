#pragma once
// Sizes and fonts at a monitor's DPI. The per-monitor functions exist from
// Windows 10 on; elsewhere the system DPI stands in.

#include "core/layout.h"

#include <windows.h>

namespace nudgewick::win32 {

UINT WindowDpi(HWND hwnd);

// A small icon's size (SM_CXSMICON) at dpi, or at the system DPI where dpi is 0.
SIZE SmallIconSize(UINT dpi);

// The outer size of a window whose client area is clientWidth x clientHeight.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The window at dpi, grown where a translated text would be cut, measured in
// the system's message font as CreateControlFont makes it.
WindowPixels LayOutForTexts(UINT dpi);

// The font for control at dpi: the link's own (MS Sans Serif, underlined, the
// layout's point size), else the system's message font at size pixels.
HFONT CreateControlFont(const ControlLayout& control, int size, UINT dpi);

}  // namespace nudgewick::win32
