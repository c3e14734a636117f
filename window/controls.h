#pragma once
// What the window's handlers need from the outside world. Each front-end
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

class Label {
public:
    virtual ~Label() = default;
    virtual std::string Caption() const = 0;
};

// A periodic timer that ticks exactly while it is enabled and its interval
// is non-zero. Setting the interval restarts the countdown.
class Timer {
public:
    virtual ~Timer() = default;
    virtual int Interval() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
    virtual void Enable() = 0;
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
    // Fills where with the pointer's position. A failed read leaves it as it is.
    virtual void Read(Point& where) = 0;
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

// The program's command line after its own name, as one text.
class CommandLineSource {
public:
    virtual ~CommandLineSource() = default;
    virtual std::string Text() const = 0;
};

inline constexpr const char* kMessageTitle = "Nudgewick";

}  // namespace nudgewick
