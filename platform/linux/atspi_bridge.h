#pragma once
// The window served to assistive technologies over AT-SPI, the protocol of
// Orca and the Linux desktops, which runs on a D-Bus bus of its own: the
// objects of core/accessible.h registered with the desktop's registry, the
// interfaces libatspi asks them for, the events that tell of each change,
// and the keys offered to the screen reader before the window takes them.
// Every argument a client sends is checked: a wrong one gets a D-Bus error
// and changes nothing.

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "core/accessible.h"
#include "core/accessible_events.h"
#include "platform/linux/dbus_session_bus.h"

struct sd_bus_slot;
struct sd_bus_message;

namespace nudgewick::linux_desktop {

// The live window as the bridge reads and works it. What a client does
// through it is what a user does with the mouse and the keyboard.
class AccessibleWindow {
public:
    virtual ~AccessibleWindow() = default;
    virtual AccessibleView View() const = 0;
    // Soon, after the bus's handler has answered: the focus moves to NODE as
    // a click would move it, or NODE's action is done as a click would do it.
    virtual void Focus(AccessibleNode node) = 0;
    virtual void Act(AccessibleNode node) = 0;
    // A box's characters from START to END replaced with TEXT, as typed;
    // false when the box cannot take it.
    virtual bool Replace(AccessibleNode box, int start, int end, std::string_view text) = 0;
    // The selection from ANCHOR to CARET, where the caret goes (in characters).
    virtual void Select(AccessibleNode box, int anchor, int caret) = 0;
    // A character's place on the screen.
    virtual Rect CharacterExtents(AccessibleNode box, int offset) const = 0;
    // The character at a point of the screen; -1 when none is there.
    virtual int OffsetAtPoint(AccessibleNode box, long long x, long long y) const = 0;
    virtual void Copy(std::string_view text) = 0;
    virtual void Paste(AccessibleNode box, int offset) = 0;
};

class AtspiBridge {
public:
    // Serves WINDOW on the accessibility bus at ADDRESS and registers it;
    // nothing when the bus cannot be reached.
    static std::unique_ptr<AtspiBridge> Connect(const std::string& address, AccessibleWindow& window);
    ~AtspiBridge();
    AtspiBridge(const AtspiBridge&) = delete;
    AtspiBridge& operator=(const AtspiBridge&) = delete;

    // Tells the clients what changed in the window since the last call.
    void Refresh();
    // Offers a key to the screen reader's listeners; DONE hears whether one
    // took it (consumed), or false when none answers in time.
    void NotifyKey(const DeviceEvent& key, std::function<void(bool consumed)> done);
    // LOST is called when the accessibility bus goes away.
    void OnLost(std::function<void()> lost) { connection_->OnLost(std::move(lost)); }

    // For the bus's handlers.
    AccessibleWindow& Window() { return window_; }
    const std::string& UniqueName() const { return uniqueName_; }
    // The registry's desktop, the application's parent once registered.
    const std::string& DesktopName() const { return desktopName_; }
    const std::string& DesktopPath() const { return desktopPath_; }
    int ApplicationId() const { return applicationId_; }
    void SetApplicationId(int id) { applicationId_ = id; }

    // What the bus hands the handlers of each object.
    struct NodeRef {
        AtspiBridge* bridge;
        AccessibleNode node;
    };
    NodeRef* Ref(AccessibleNode node);
    // The window as it was when the call being answered came: read once, as
    // the bus looks for the object the call names.
    const AccessibleView& CalledView() const { return called_; }
    void ReadCalledView() { called_ = window_.View(); }

private:
    AtspiBridge(std::unique_ptr<DbusSessionBus> connection, AccessibleWindow& window);
    void Embed();
    int OnEmbedded(sd_bus_message* reply);
    void Emit(const AccessibleEvent& event, const AccessibleView& view);
    struct PendingKey {
        AtspiBridge* bridge;
        sd_bus_slot* slot;
        std::function<void(bool)> done;
    };
    void OnKeyAnswer(PendingKey* key, sd_bus_message* reply);

    std::unique_ptr<DbusSessionBus> connection_;
    AccessibleWindow& window_;
    std::string uniqueName_;
    std::string desktopName_;
    std::string desktopPath_ = kNullPath;
    int applicationId_ = 0;
    std::array<NodeRef, kAccessibleNodeCount> refs_{};
    std::list<sd_bus_slot*> objects_;
    sd_bus_slot* embedding_ = nullptr;
    std::list<PendingKey> keys_;
    AccessibleView last_;
    AccessibleView called_;
};

}  // namespace nudgewick::linux_desktop
