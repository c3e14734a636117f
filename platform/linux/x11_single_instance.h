#pragma once
// One copy of the program per X display. The first copy owns a selection
// named for the program, through a small window of its own that is never
// shown; a later copy finds that owner, asks it to bring its window to the
// front, and ends. Nothing is written anywhere: the claim ends with the first
// copy's connection to the display.

#include <X11/X.h>

#include <functional>

namespace nudgewick::linux_desktop {

class X11SingleInstance {
public:
    X11SingleInstance();  // needs FLTK's display open
    ~X11SingleInstance();
    X11SingleInstance(const X11SingleInstance&) = delete;
    X11SingleInstance& operator=(const X11SingleInstance&) = delete;

    // True when this copy is now the display's one. False when another copy
    // runs: that copy has been asked to present its window.
    bool Claim();
    // present: a later copy started; called from FLTK's event loop.
    void OnPresentRequest(std::function<void()> present) { present_ = std::move(present); }

private:
    static int OnXEvent(void* event, void* self);
    void AskToPresent(Window owner) const;

    const Atom selection_;
    const Atom presentMessage_;
    Window window_ = None;
    std::function<void()> present_;
};

}  // namespace nudgewick::linux_desktop
