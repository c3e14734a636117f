#include "platform/linux/x11_single_instance.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <poll.h>

#include "core/clock.h"
#include "core/command_channel.h"

namespace nudgewick::linux_desktop {

X11SingleInstance::X11SingleInstance()
    : selection_(XInternAtom(fl_display, "_NUDGEWICK_INSTANCE", False)),
      command_(XInternAtom(fl_display, "_NUDGEWICK_COMMAND", False)),
      text_(XInternAtom(fl_display, "UTF8_STRING", False)) {}

X11SingleInstance::~X11SingleInstance() {
    if (window_ == None) return;
    if (claimed_) Fl::remove_system_handler(OnXEvent);
    XDestroyWindow(fl_display, window_);
}

// The server is held from the look to the read-back, so of two copies that
// start at once the second looks only after the first has claimed.
SingleInstance::Found X11SingleInstance::Claim(bool claim) {
    window_ = XCreateSimpleWindow(fl_display, RootWindow(fl_display, fl_screen), 0, 0, 1, 1, 0, 0, 0);
    XGrabServer(fl_display);
    const Window owner = XGetSelectionOwner(fl_display, selection_);
    if (owner == None && claim) XSetSelectionOwner(fl_display, selection_, window_, CurrentTime);
    claimed_ = XGetSelectionOwner(fl_display, selection_) == window_;
    XUngrabServer(fl_display);
    XSync(fl_display, False);
    if (claimed_) {
        Fl::add_system_handler(OnXEvent, this);
        return Found::Claimed;
    }
    return owner == None && !claim ? Found::NoCopy : Found::OtherCopy;
}

void X11SingleInstance::Release() {
    if (!claimed_ || released_) return;
    released_ = true;
    XSetSelectionOwner(fl_display, selection_, None, CurrentTime);
    XFlush(fl_display);
}

std::optional<std::string> X11SingleInstance::HandOver(std::string_view commandLine) {
    XChangeProperty(fl_display, window_, command_, text_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(commandLine.data()), static_cast<int>(commandLine.size()));
    XConvertSelection(fl_display, selection_, command_, command_, window_, CurrentTime);
    XFlush(fl_display);
    const std::int64_t deadline = SteadyMicroseconds() + std::int64_t{kAnswerWaitMilliseconds} * 1000;
    XEvent event;
    while (!XCheckTypedWindowEvent(fl_display, window_, SelectionNotify, &event)) {
        const std::int64_t left = (deadline - SteadyMicroseconds() + 999) / 1000;  // milliseconds, rounded up
        if (left <= 0) return std::nullopt;
        pollfd connection{ConnectionNumber(fl_display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left));
    }
    if (event.xselection.property == None) return std::string();
    return ReadText(window_, command_, kLongestAnswer, true).value_or(std::string());
}

// The words as text within the length limit, or nothing: another program may
// have put anything there.
std::optional<std::string> X11SingleInstance::ReadText(Window window, Atom property, std::size_t longest,
                                                       bool remove) const {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const long words = static_cast<long>(longest / 4 + 1);  // 32-bit units, one more to see a longer text
    if (XGetWindowProperty(fl_display, window, property, 0, words, remove, AnyPropertyType, &type, &format, &items,
                           &after, &data) != Success) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (type == text_ && format == 8 && after == 0 && items <= longest) {
        text.emplace(reinterpret_cast<const char*>(data), items);
    }
    if (data != nullptr) XFree(data);
    return text;
}

// A refusal, as ICCCM has it, is a notification without a property.
void X11SingleInstance::Answer(const XSelectionRequestEvent& request) const {
    XEvent reply{};
    reply.xselection = {SelectionNotify, 0,    True,        fl_display, request.requestor, request.selection,
                        request.target,  None, request.time};
    const bool ours = request.target == command_ && request.property != None && handle_ && !released_;
    const auto text = ours ? ReadText(request.requestor, request.property, kLongestCommandLine, false) : std::nullopt;
    if (const auto answer = text ? handle_(*text) : std::nullopt) {
        XChangeProperty(fl_display, request.requestor, request.property, text_, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(answer->data()), static_cast<int>(answer->size()));
        reply.xselection.property = request.property;
    }
    XSendEvent(fl_display, request.requestor, False, NoEventMask, &reply);
    // A round trip: the answer may be the program's last word (--quit), and a
    // connection closed with events unread loses what the server had not read.
    XSync(fl_display, False);
}

// Every event for the claiming window is taken here: FLTK would take the
// selection's events for its clipboard's.
int X11SingleInstance::OnXEvent(void* event, void* self) {
    const auto& instance = *static_cast<X11SingleInstance*>(self);
    const XEvent& x = *static_cast<XEvent*>(event);
    if (x.xany.window != instance.window_) return 0;
    if (x.type == SelectionRequest) instance.Answer(x.xselectionrequest);
    return 1;
}

}  // namespace nudgewick::linux_desktop
