#include "platform/linux/fltk_held_keys.h"

#include <FL/Fl.H>
#include <FL/fl_utf8.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>

namespace nudgewick::linux_desktop {
namespace {

// What a key typed, from the X event: ISO 8859-1, made UTF-8.
std::string TypedText(const XEvent& event, KeySym& keysym) {
    XKeyEvent key = event.xkey;
    char latin[32];
    const int length = XLookupString(&key, latin, sizeof latin, &keysym, nullptr);
    char text[64];
    const unsigned size = fl_utf8froma(text, sizeof text, latin, static_cast<unsigned>(std::max(length, 0)));
    return std::string(text, std::min<std::size_t>(size, sizeof text - 1));
}

bool IsShownWindow(const Fl_Window* window) {
    for (Fl_Window* shown = Fl::first_window(); shown != nullptr; shown = Fl::next_window(shown))
        if (shown == window) return true;
    return false;
}

}  // namespace

FltkHeldKeys::~FltkHeldKeys() { Fl::remove_timeout(Deliver, this); }

FltkHeldKeys::Held FltkHeldKeys::Hold(int event, Fl_Window* window) {
    Key key{next_++, event, window, CurrentToolkitKey()};
    KeySym keysym = NoSymbol;
    const XEvent& x = key.key.xevent;
    const std::string typed = TypedText(x, keysym);
    const char* name = XKeysymToString(keysym);
    Held held{key.id,
              {.pressed = event == FL_KEYDOWN,
               .keysym = static_cast<std::uint32_t>(keysym),
               .keycode = x.xkey.keycode,
               .state = x.xkey.state,
               .time = static_cast<std::uint32_t>(x.xkey.time),
               .text = event == FL_KEYDOWN && !key.key.text.empty() ? key.key.text : typed,
               .keysymName = name != nullptr ? name : ""}};
    held_.push_back(std::move(key));
    return held;
}

void FltkHeldKeys::Answer(std::uint64_t id, bool consumed) {
    for (auto& key : held_)
        if (key.id == id) {
            key.answered = true;
            key.consumed = consumed;
        }
    Fl::remove_timeout(Deliver, this);
    Fl::add_timeout(0.0, Deliver, this);
}

void FltkHeldKeys::ReleaseAll() {
    for (auto& key : held_) key.answered = true;
    Fl::remove_timeout(Deliver, this);
    Fl::add_timeout(0.0, Deliver, this);
}

// In the order they came: a key waits for the answers about those before it.
void FltkHeldKeys::Deliver(void* self) {
    auto& keys = *static_cast<FltkHeldKeys*>(self);
    while (!keys.held_.empty() && keys.held_.front().answered) {
        Key key = std::move(keys.held_.front());
        keys.held_.pop_front();
        if (key.consumed || !IsShownWindow(key.window)) continue;
        HandleToolkitKey(key.event, key.window, key.key);
        keys.handled_();
    }
}

}  // namespace nudgewick::linux_desktop
