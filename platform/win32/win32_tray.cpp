#include "platform/win32/win32_tray.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

constexpr UINT kIconId = 1;  // our only icon; the shell tells icons apart by owner window and id
constexpr std::size_t kTooltipLength = sizeof NOTIFYICONDATAW{}.szTip / sizeof(wchar_t) - 1;

// The notification area draws small icons at the DPI of the taskbar's
// monitor, which need not be the one our window is on.
SIZE NotificationIconSize() {
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return SmallIconSize(taskbar ? WindowDpi(taskbar) : 0);
}

// The owner's icon at size, taken from the image in the .ico that fits it
// best rather than stretched (LoadIcon made it a shared, reloadable icon).
HICON OwnerIcon(HWND owner, SIZE size) {
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));
    if (!icon) return nullptr;
    return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size.cx, size.cy, LR_COPYFROMRESOURCE));
}

void Grey(RGBQUAD& pixel) {
    const Rgba grey = StoppedLook({pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue, pixel.rgbReserved});
    pixel = {grey.blue, grey.green, grey.red, grey.alpha};
}

// A 32-bit copy of bitmap in grey, or null.
HBITMAP GreyedBitmap(HBITMAP bitmap) {
    BITMAP size{};
    if (!GetObjectW(bitmap, sizeof size, &size)) return nullptr;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP grey = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC screen = GetDC(nullptr);
    const auto rows = static_cast<UINT>(size.bmHeight);
    const bool read = grey && GetDIBits(screen, bitmap, 0, rows, bits, &format, DIB_RGB_COLORS) == size.bmHeight;
    ReleaseDC(nullptr, screen);
    if (!read) {
        DeleteObject(grey);
        return nullptr;
    }
    auto* pixels = static_cast<RGBQUAD*>(bits);
    std::for_each(pixels, pixels + size.bmWidth * size.bmHeight, Grey);
    return grey;
}

// The stopped look, drawn from the running one so that it follows the artwork.
// The mask is kept, so the shape stays the same whether or not the image
// carries an alpha channel.
HICON GreyedCopy(HICON icon) {
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon, &parts)) return nullptr;
    const HBITMAP grey = parts.hbmColor ? GreyedBitmap(parts.hbmColor) : nullptr;
    ICONINFO greyParts{TRUE, 0, 0, parts.hbmMask, grey};
    const HICON greyed = grey ? CreateIconIndirect(&greyParts) : nullptr;
    DeleteObject(grey);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return greyed;
}

void Destroy(HICON& icon) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
}

}  // namespace

Win32TrayIcon::Win32TrayIcon(Win32TrayHandlers handlers)
    : handlers_(std::move(handlers)), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

Win32TrayIcon::~Win32TrayIcon() {
    Remove();
    Destroy(looks_.running);
    Destroy(looks_.stopped);
}

bool Win32TrayIcon::Add(HWND owner, UINT callbackMessage) {
    owner_ = owner;
    callbackMessage_ = callbackMessage;
    // A copy run as administrator still hears of an Explorer running as the user.
    ChangeWindowMessageFilterEx(owner, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    return Show();
}

// Adds the icon in looks measured now: a new taskbar may have a new DPI.
bool Win32TrayIcon::Show() {
    MakeLooks();
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    return Shell_NotifyIconW(NIM_ADD, &data) && Shell_NotifyIconW(NIM_SETVERSION, &data);
}

void Win32TrayIcon::MakeLooks() {
    Destroy(looks_.running);
    Destroy(looks_.stopped);
    looks_.running = OwnerIcon(owner_, NotificationIconSize());
    looks_.stopped = GreyedCopy(looks_.running);
}

// The shell keeps a copy of the icon it was given, so ours may go at once.
void Win32TrayIcon::Remeasure() {
    if (!owner_) return;
    MakeLooks();
    Modify(NIF_ICON);
}

void Win32TrayIcon::Show(const TrayView& view) {
    running_ = view.running;
    tooltip_ = Widen(view.tooltip);
    if (tooltip_.size() > kTooltipLength) tooltip_.resize(kTooltipLength);
    menu_ = view.menu;
    Modify(NIF_ICON | NIF_TIP | NIF_SHOWTIP);
}

bool Win32TrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!owner_) return false;
    if (message == taskbarCreated_) {
        // Should our icon have outlived the old taskbar, adding it again would fail.
        NOTIFYICONDATAW data = Data(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
        Show();
        return true;
    }
    if (message != callbackMessage_) return false;
    // Version 4: the event in the low word, the anchor's screen position in wParam.
    switch (LOWORD(lParam)) {
    case NIN_SELECT:
    case NIN_KEYSELECT: handlers_.activate(); break;
    case WM_CONTEXTMENU: ShowMenu({GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)}); break;
    default: break;
    }
    return true;
}

void Win32TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAW data = Data(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    owner_ = nullptr;
}

void Win32TrayIcon::Modify(UINT flags) {
    if (!owner_) return;
    NOTIFYICONDATAW data = Data(flags);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

// The choice is reported last, once the menu is gone: its handler may close
// the window. The entries are copied, since a timer's handler may show a new
// view while the menu is open, and a choice means what it said.
void Win32TrayIcon::ShowMenu(POINT anchor) {
    const std::vector<TrayMenuEntry> shown = menu_;
    // An entry's id is its index + 1: 0 is what TrackPopupMenuEx returns for no choice.
    const HMENU menu = CreatePopupMenu();
    for (std::size_t index = 0; index < shown.size(); ++index) {
        const UINT checked = shown[index].checked.value_or(false) ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu, MF_STRING | checked, index + 1, Widen(shown[index].text).c_str());
    }
    // Without the foreground the menu would not close on a click elsewhere;
    // the message after it lets the next menu open at the first click.
    SetForegroundWindow(owner_);
    const UINT side = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | side;
    const auto chosen = static_cast<UINT>(TrackPopupMenuEx(menu, flags, anchor.x, anchor.y, owner_, nullptr));
    PostMessageW(owner_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen != 0) handlers_.choose(shown.at(chosen - 1));
}

NOTIFYICONDATAW Win32TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = running_ ? looks_.running : looks_.stopped;
    std::copy(tooltip_.begin(), tooltip_.end(), data.szTip);
    data.uVersion = NOTIFYICON_VERSION_4;
    return data;
}

}  // namespace nudgewick::win32
