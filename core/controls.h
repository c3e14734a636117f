#pragma once
// The whole contract between the core and a front-end: every interface the
// controller's handlers call, and what they hand over. Each front-end
// implements these with real controls and system calls; the tests implement
// them with fakes. No system header may be included here.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"

namespace nudgewick {

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

class Button {
public:
    virtual ~Button() = default;
    virtual void SetCaption(const std::string& caption) = 0;
};

// A periodic timer of the system's, which calls one of the controller's
// handlers: the front-end wires it to that handler, the core starts and stops it.
class SystemTimer {
public:
    virtual ~SystemTimer() = default;
    // Every milliseconds (> 0) from now on, replacing any earlier schedule.
    virtual void Start(int milliseconds) = 0;
    virtual void Stop() = 0;
};

// A modal message with an OK button only, no icon, titled kMessageTitle.
// Show returns once the user has dismissed it.
class MessageDialog {
public:
    virtual ~MessageDialog() = default;
    virtual void Show(const std::string& text) = 0;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The system's mouse pointer, in screen pixels.
class Pointer {
public:
    virtual ~Pointer() = default;
    // The pointer's position; nothing when the system could not say.
    virtual std::optional<Point> Read() = 0;
    // Moves the pointer as a physical mouse would, relative to where it is.
    virtual void MoveBy(std::int32_t dx, std::int32_t dy) = 0;
    // Asks the desktop again for the way the moves reach it, after it closed
    // that way (Controller::OnInputRouteClosed): nothing once it is open
    // again, else why not. Where the desktop cannot close it, there is
    // nothing to ask.
    virtual std::optional<std::string> Reopen() { return std::nullopt; }
};

// A line of text in the window, which the user reads and cannot change.
class TextLabel {
public:
    virtual ~TextLabel() = default;
    virtual void SetText(const std::string& text) = 0;
};

// Opens a web address with the system's default handler, without waiting.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Returns nothing when the opener started, else the system's reason.
    virtual std::optional<std::string> Open(const std::string& address) = 0;
};

inline constexpr const char* kMessageTitle = "Nudgewick";
inline constexpr const char* kMessageButton = Marked("OK");

// Where the keyboard focus went when it left a box: to another control of the
// window, or anywhere else (another window, our own message, nowhere because
// the window is closing, or back to the box itself).
enum class FocusMove { ToAnotherControl, Elsewhere };

class Clock {
public:
    virtual ~Clock() = default;
    // What the desktop's clock shows, as seconds since 1970-01-01 00:00 of the
    // local calendar. It jumps when daylight saving starts or ends or the time
    // zone changes.
    virtual std::int64_t WallSeconds() const = 0;
    // Milliseconds on a clock that only moves forward, from any start.
    virtual std::int64_t SteadyMilliseconds() const = 0;
};

// Where the pointer's position cannot be read (a Wayland session: no client
// may read it there), the desktop's idle time tells whether the user has left
// the computer alone.
class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Milliseconds since the desktop last received input of any kind, keys
    // and the program's own nudges included; nothing when it cannot say.
    virtual std::optional<std::int64_t> IdleMilliseconds() = 0;
};

// What the desktop last said of the session and the power supply.
struct DesktopState {
    bool locked = false;  // the screen is locked or its saver runs, or the session is disconnected
    bool onBattery = false;
    std::optional<int> charge;  // the battery's, in percent, where known

    bool operator==(const DesktopState&) const = default;
};

// The desktop's services that say whether the screen is locked and what
// powers the computer. The front-end learns a change from a signal or an
// event inside its event loop, never by polling, and then calls
// Controller::OnDesktopChanged; a tick looks as well.
class DesktopWatch {
public:
    virtual ~DesktopWatch() = default;
    // As last told; a service that is absent or gone says "not locked, mains".
    virtual DesktopState Look() = 0;
};

enum class TrayCommand { Stop, Go, RunFor, RunUntilStopped, FollowWorkHours, ShowWindow, Exit };

struct TrayMenuEntry {
    std::string text;
    TrayCommand command;
    std::chrono::minutes length{};  // for RunFor
    std::optional<bool> checked{};  // shown with a tick box, ticked or not

    bool operator==(const TrayMenuEntry&) const = default;
};

// What the notification-area icon shows: the running or the stopped look,
// the tooltip, and the menu that a right click opens, top to bottom.
struct TrayView {
    bool running = true;
    std::string tooltip;
    std::vector<TrayMenuEntry> menu;

    bool operator==(const TrayView&) const = default;
};

// The front-end's icon. The controller hands it a new view after every
// handler that may change what it shows; a menu entry chosen is handed back as
// it was shown, even if a newer view came meanwhile.
class TrayDisplay {
public:
    virtual ~TrayDisplay() = default;
    virtual void Show(const TrayView& view) = 0;
};

// How a process ended: its exit code, or on Linux the signal that ended it.
struct ProcessEnd {
    int code = 0;
    std::optional<int> signal;
};

// What starting the command after "--" came to: its process, or why not.
struct CommandStart {
    std::optional<std::int32_t> pid;
    bool found = true;   // false: no such program, as a shell's "command not found"
    std::string name;    // the program, as the command line gives it
    std::string reason;  // the system's words
};

// How processes are named for --while: Linux by the name the process gave
// itself (/proc/PID/comm) or its executable's file name, as they are; Windows
// by the executable's file name in any case, ".exe" optional.
enum class ProcessNaming { AsIs, FileNameAnyCase };

// Why a process cannot be watched when the system knows no process of that id.
inline constexpr const char* kNoSuchProcess = Marked("there is no such process");

// The processes that the ticks follow (--pid) or that the program runs (--
// COMMAND), and those running now (--while). The front-end watches each
// process inside its event loop, without a thread, and hands its end to
// Controller::OnProcessEnded; it reads the list only when asked.
class Processes {
public:
    explicit Processes(ProcessNaming names) : naming(names) {}
    virtual ~Processes() = default;
    ProcessNaming naming;  // each front-end's own, for good
    // Nothing once it watches the process, else why it cannot.
    virtual std::optional<std::string> Watch(std::int32_t pid) = 0;
    // Starts the command given after "--", inheriting standard input, output
    // and error, and watches it.
    virtual CommandStart StartCommand() = 0;
    // Hands each name of each running process to named until it returns
    // true; false when it never did.
    virtual bool AnyNamed(const std::function<bool(std::string_view name)>& named) = 0;
};

}  // namespace nudgewick
