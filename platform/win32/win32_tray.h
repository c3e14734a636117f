#pragma once
// The program's icon in the notification area: two looks (running, and
// stopped drawn greyed from the same artwork), a tooltip and a menu, as the
// core's view says, and the choices made on it handed back.

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "core/tray.h"

namespace nudgewick::win32 {

struct Win32TrayHandlers {
    std::function<void()> activate;                    // a left click, or Enter or Space on the focused icon
    std::function<void(const TrayMenuEntry&)> choose;  // a menu entry was chosen, as it was shown
};

class Win32TrayIcon final : public TrayDisplay {
public:
    explicit Win32TrayIcon(Win32TrayHandlers handlers);
    ~Win32TrayIcon() override;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    // Shows the icon, drawn from owner's class icon. The owner's window
    // procedure passes every message to HandleMessage. False when the shell
    // refused it, as before Explorer has started: it comes back once the
    // taskbar is created.
    bool Add(HWND owner, UINT callbackMessage);
    // The tooltip is cut to the shell's 127 characters.
    void Show(const TrayView& view) override;
    // Draws the icon again at the notification area's size, which follows the DPI.
    void Remeasure();
    // Handles callbackMessage and the taskbar's re-creation; false for any other message.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Takes the icon away; call it while the owner window still exists.
    void Remove();

private:
    struct Looks {
        HICON running = nullptr;
        HICON stopped = nullptr;
    };

    bool Show();
    void MakeLooks();
    void Modify(UINT flags);
    void ShowMenu(POINT anchor);
    NOTIFYICONDATAW Data(UINT flags) const;

    Win32TrayHandlers handlers_;
    UINT taskbarCreated_;
    HWND owner_ = nullptr;
    UINT callbackMessage_ = 0;
    Looks looks_;
    bool running_ = true;
    std::wstring tooltip_;
    std::vector<TrayMenuEntry> menu_;
};

}  // namespace nudgewick::win32
