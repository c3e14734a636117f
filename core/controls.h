#pragma once
// What the main window's handlers need from the outside world. Each front-end
// implements these with real controls and system calls; the tests implement
// them with fakes. No system header may be included here.

#include <cstdint>
#include <optional>
#include <string>

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

// A periodic timer of the system's, which calls one of the main window's
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
};

// Opens a web address with the system's default handler, without waiting.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Returns nothing when the opener started, else the system's reason.
    virtual std::optional<std::string> Open(const std::string& address) = 0;
};

inline constexpr const char* kMessageTitle = "Nudgewick";

}  // namespace nudgewick
