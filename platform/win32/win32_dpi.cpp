#include "platform/win32/win32_dpi.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

// A user32 function that older Windows lacks, or null there.
template <typename Function>
Function User32Function(const char* name) {
    const FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// A system metric at dpi, or at the system DPI where dpi is 0 or Windows is older than 10.
int SystemMetric(int index, UINT dpi) {
    static const auto forDpi = User32Function<decltype(&GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
    return dpi != 0 && forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

UINT SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    static const auto forDpi = User32Function<decltype(&SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics.lfMessageFont;

    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return font;
}

}  // namespace

UINT WindowDpi(HWND hwnd) {
    static const auto forWindow = User32Function<decltype(&GetDpiForWindow)>("GetDpiForWindow");
    return forWindow ? forWindow(hwnd) : SystemDpi();
}

SIZE SmallIconSize(UINT dpi) { return {SystemMetric(SM_CXSMICON, dpi), SystemMetric(SM_CYSMICON, dpi)}; }

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi = User32Function<decltype(&AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientWidth, clientHeight};
    if (!forDpi || !forDpi(&frame, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

namespace {

// The width in pixels of text in font at a character height of size pixels.
int TextWidth(LOGFONTW font, int size, const char* text) {
    font.lfHeight = -size;
    const HFONT handle = CreateFontIndirectW(&font);
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, handle);
    const std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &extent);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(handle);
    return extent.cx;
}

HFONT CreateLinkFont(int size) {
    LOGFONTW font{};
    font.lfHeight = -size;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    font.lfCharSet = DEFAULT_CHARSET;
    constexpr wchar_t kFace[] = L"MS Sans Serif";
    std::copy(std::begin(kFace), std::end(kFace), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

}  // namespace

// A static control draws its text with DrawText over its whole client area,
// so a label keeps nothing clear. A push button draws its caption inside its
// frame edge and clear of the focus rectangle's line just within the frame,
// on either side.
WindowPixels LayOutForTexts(UINT dpi) {
    const LOGFONTW font = MessageFont(dpi);
    const CaptionInsets insets{.label = 0,
                               .button = 2 * (SystemMetric(SM_CXEDGE, dpi) + SystemMetric(SM_CXFOCUSBORDER, dpi))};
    return LayOutWindow(static_cast<int>(dpi), std::abs(font.lfHeight), insets,
                        [&font](const char* caption, int size) { return TextWidth(font, size, caption); });
}

HFONT CreateControlFont(const ControlLayout& control, int size, UINT dpi) {
    if (control.kind == ControlKind::Link) return CreateLinkFont(size);
    LOGFONTW font = MessageFont(dpi);
    font.lfHeight = -size;
    return CreateFontIndirectW(&font);
}

}  // namespace nudgewick::win32
