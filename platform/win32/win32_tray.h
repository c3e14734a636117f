#pragma once
// The program's icon in the notification area: two looks (running, and
// stopped drawn greyed from the same artwork), a tooltip and a menu. It
// decides nothing: the owner says what to show and hears what was clicked.

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nudgewick::win32 {

// One line of the icon's menu; a blank label makes a separator. The id is
// what a choice reports, so it must not be 0.
struct TrayEntry {
    std::string label;  // UTF-8
    UINT id = 0;
};

struct TrayHandlers {
    std::function<void()> activate;       // a left click, or Enter or Space on the focused icon
    std::function<void(UINT id)> choose;  // a menu entry was chosen
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
    void SetTooltip(std::string_view text);  // UTF-8, cut to the shell's 127 characters
    void SetMenu(std::vector<TrayEntry> entries);
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
    std::vector<TrayEntry> menu_;
};

}  // namespace nudgewick::win32
