#pragma once
// One copy of the program per X display, and the channel through which a
// later start commands it. The first copy owns a selection named for the
// program, through a small window of its own that is never shown. A later
// start finds that owner and hands it its command line as the parameter of a
// conversion of the selection (ICCCM's selections with parameters): the owner
// reads the words from a property of the requestor's window, acts on them and
// puts its answer in their place. Nothing is written anywhere: the claim ends
// with the first copy's connection to the display, and the display's own
// access control decides who may talk to it, as it decides who may send it
// input.

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/shell.h"

namespace nudgewick::linux_desktop {

class X11SingleInstance final : public SingleInstance {
public:
    X11SingleInstance();  // needs FLTK's display open
    ~X11SingleInstance() override;
    X11SingleInstance(const X11SingleInstance&) = delete;
    X11SingleInstance& operator=(const X11SingleInstance&) = delete;

    Found Claim(bool claim) override;
    std::optional<std::string> HandOver(std::string_view commandLine) override;
    // The handler is called from FLTK's event loop.
    void OnCommandLine(CommandHandler handle) override { handle_ = std::move(handle); }
    // The selection has no owner once the server has read this; requests
    // that were on their way are refused.
    void Release() override;

private:
    static int OnXEvent(void* event, void* self);
    void Answer(const XSelectionRequestEvent& request) const;
    std::optional<std::string> ReadText(Window window, Atom property, std::size_t longest, bool remove) const;

    const Atom selection_;
    const Atom command_;  // the conversion's target, and the property that carries the words
    const Atom text_;     // UTF8_STRING
    Window window_ = None;
    bool claimed_ = false;
    bool released_ = false;
    CommandHandler handle_;
};

}  // namespace nudgewick::linux_desktop
