#pragma once
// Keys held back while the screen reader decides whether it takes them, then
// handed to the window in the order they came, each one it did not take, as
// FLTK had the key when it came.

#include <FL/Fl_Window.H>

#include <cstdint>
#include <deque>
#include <functional>

#include "core/accessible_events.h"
#include "platform/linux/fltk_internals.h"

namespace nudgewick::linux_desktop {

class FltkHeldKeys {
public:
    // HANDLED is called after each key the window got.
    explicit FltkHeldKeys(std::function<void()> handled) : handled_(std::move(handled)) {}
    ~FltkHeldKeys();
    FltkHeldKeys(const FltkHeldKeys&) = delete;
    FltkHeldKeys& operator=(const FltkHeldKeys&) = delete;

    // Holds the key FLTK is handling now (EVENT, FL_KEYDOWN or FL_KEYUP, for
    // WINDOW) and gives its number and the key as the screen reader is told.
    struct Held {
        std::uint64_t id;
        KeyStroke stroke;
    };
    Held Hold(int event, Fl_Window* window);
    // The screen reader's answer about key ID: consumed, it never reaches the
    // window. The keys go on from outside the bus's handler, as one may open
    // a message that waits for the user.
    void Answer(std::uint64_t id, bool consumed);
    // No answer will come: every key held goes to the window.
    void ReleaseAll();

private:
    struct Key {
        std::uint64_t id;
        int event;
        Fl_Window* window;
        ToolkitKey key;
        bool answered = false;
        bool consumed = false;
    };
    static void Deliver(void* self);

    std::function<void()> handled_;
    std::deque<Key> held_;
    std::uint64_t next_ = 0;
};

}  // namespace nudgewick::linux_desktop
