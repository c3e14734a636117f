#include "platform/linux/linux_notification_area.h"

#include <FL/Fl.H>

#include <utility>

namespace nudgewick::linux_desktop {
namespace {

// A tray answers a request to dock at once; one that has not after this long
// is taken not to.
constexpr double kDockWaitSeconds = 2.0;

}  // namespace

LinuxNotificationArea::LinuxNotificationArea(std::function<void()> activate,
                                             std::function<void(const TrayMenuEntry&)> chosen)
    : activate_(std::move(activate)), chosen_(std::move(chosen)) {}

LinuxNotificationArea::~LinuxNotificationArea() { Fl::remove_timeout(OnDockWaitOver, this); }

// Where a watcher runs, the XEmbed icon does not even ask a tray: the item
// will most likely be taken, and the tray would show a second icon meanwhile.
void LinuxNotificationArea::Connect(DbusSessionBus* bus) {
    if (bus != nullptr) item_ = std::make_unique<DbusStatusNotifier>(*bus, activate_, chosen_);
    tray_ = std::make_unique<X11TrayIcon>(activate_, chosen_, item_ && item_->WatcherFound());
    tray_->OnShownChange([this](bool) { Changed(); });
    if (item_) item_->OnShown([this](bool shown) { OnItemShown(shown); });
    if (view_) Show(*std::exchange(view_, std::nullopt));
}

void LinuxNotificationArea::Show(const TrayView& view) {
    if (!tray_) {
        view_ = view;
        return;
    }
    if (item_) item_->Show(view);
    tray_->Show(view);
}

bool LinuxNotificationArea::IconShown() const { return (tray_ && tray_->Shown()) || (item_ && item_->Shown()); }

// Without the item, the XEmbed icon goes back to a tray that runs, which gets
// its moment to take it before the icon counts as gone.
void LinuxNotificationArea::OnItemShown(bool shown) {
    tray_->StandAside(shown);
    if (shown || !tray_->TrayFound()) return Changed();
    Fl::add_timeout(kDockWaitSeconds, OnDockWaitOver, this);
}

void LinuxNotificationArea::Changed() {
    Fl::remove_timeout(OnDockWaitOver, this);
    if (changed_) changed_();
}

}  // namespace nudgewick::linux_desktop
