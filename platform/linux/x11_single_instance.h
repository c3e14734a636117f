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

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nudgewick::linux_desktop {

class X11SingleInstance {
public:
    X11SingleInstance();  // needs FLTK's display open
    ~X11SingleInstance();
    X11SingleInstance(const X11SingleInstance&) = delete;
    X11SingleInstance& operator=(const X11SingleInstance&) = delete;

    enum class Found { Claimed, NoCopy, OtherCopy };
    // Looks for the display's running copy, and makes this one the display's
    // copy when there is none and claim is true.
    Found Claim(bool claim);
    // Hands the command line to the other copy and waits for its answer, as
    // it came; nothing when none came in time, empty when the copy refused.
    std::optional<std::string> HandOver(std::string_view commandLine);
    // The copy that claimed: answers a command line handed over, or refuses
    // it with nothing. Called from FLTK's event loop.
    using CommandHandler = std::function<std::optional<std::string>(std::string_view)>;
    void OnCommandLine(CommandHandler handle) { handle_ = std::move(handle); }

private:
    static int OnXEvent(void* event, void* self);
    void Answer(const XSelectionRequestEvent& request) const;
    std::optional<std::string> ReadText(Window window, Atom property, std::size_t longest, bool remove) const;

    const Atom selection_;
    const Atom command_;  // the conversion's target, and the property that carries the words
    const Atom text_;     // UTF8_STRING
    Window window_ = None;
    bool claimed_ = false;
    CommandHandler handle_;
};

}  // namespace nudgewick::linux_desktop
