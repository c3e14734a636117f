#pragma once
// The program's icon in the notification area: two looks (running, and
// stopped drawn greyed from the same artwork), a tooltip and a menu. It
// decides nothing: the owner says what to show and hears what was clicked.

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nudgewick::win32 {

struct TrayHandlers {
    std::function<void()> activate;                 // a left click, or Enter or Space on the focused icon
    std::function<void(std::size_t index)> choose;  // the menu's entry at index was chosen
};

class TrayIcon {
public:
    explicit TrayIcon(TrayHandlers handlers);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon, drawn from owner's class icon. The owner's window
    // procedure passes every message to HandleMessage. False when the shell
    // refused it, as before Explorer has started: it comes back once the
    // taskbar is created.
    bool Add(HWND owner, UINT callbackMessage);
    void SetLook(bool running);
    void SetTooltip(std::string_view text);         // UTF-8, cut to the shell's 127 characters
    void SetMenu(std::vector<std::string> labels);  // UTF-8, top to bottom; a blank one makes a separator
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

    TrayHandlers handlers_;
    UINT taskbarCreated_;
    HWND owner_ = nullptr;
    UINT callbackMessage_ = 0;
    Looks looks_;
    bool running_ = true;
    std::wstring tooltip_;
    std::vector<std::string> menu_;
};

}  // namespace nudgewick::win32
