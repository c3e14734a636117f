#pragma once
// The program's icon in the desktop's notification area: the freedesktop
// system tray, whose manager (a panel) embeds the icon's window (XEmbed).

#include <functional>
#include <memory>

#include "core/tray.h"

namespace nudgewick::linux_desktop {

// Shows the icon whenever a tray manager runs on FLTK's screen: at once if
// one runs, else as soon as one starts, and again when one went away and
// another came. Without a tray there is no icon and no window. It works
// inside FLTK's event loop: no thread, no timer. Needs FLTK's display open.
class X11TrayIcon {
public:
    // activate: a left click on the icon. chosen: the menu entry picked from
    // the menu that a right click or the Menu key opens, as it was shown.
    // standAside: start as StandAside(true).
    X11TrayIcon(std::function<void()> activate, std::function<void(const TrayMenuEntry&)> chosen,
                bool standAside = false);
    ~X11TrayIcon();
    X11TrayIcon(const X11TrayIcon&) = delete;
    X11TrayIcon& operator=(const X11TrayIcon&) = delete;

    void Show(const TrayView& view);
    // Shown: a tray holds the icon and shows it on the screen, at a size that
    // can be seen and clicked. changed(true) when it comes into sight,
    // changed(false) when it leaves it or the tray (the tray ended, let go of
    // it or moved it out of sight).
    void OnShownChange(std::function<void(bool shown)> changed);
    bool Shown() const;
    // A tray manager runs: the icon is in its tray, or has asked to be.
    bool TrayFound() const;
    // Leaves the tray and stays out of any, while the icon shows elsewhere
    // (dbus_status_notifier.h); false: back into the tray, if one runs.
    void StandAside(bool aside);

private:
    class Icon;  // the icon's window and its dealings with the tray
    std::unique_ptr<Icon> icon_;
};

}  // namespace nudgewick::linux_desktop
