#include "platform/linux/x11_tray.h"

// Fl_X, FLTK's record of a window's X side, is visible only with this: the
// icon's window is made here with the tray's visual and handed to FLTK.
#define FL_INTERNALS

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>

#include "platform/linux/fltk_tray_menu.h"
#include "platform/linux/linux_tray_image.h"

namespace nudgewick::linux_desktop {
namespace {

constexpr long kRequestDock = 0;        // SYSTEM_TRAY_REQUEST_DOCK, the tray's opcode 0
constexpr long kXembedInfo[] = {0, 1};  // XEmbed version 0; XEMBED_MAPPED: the tray maps the window
constexpr int kFirstSide = 24;          // the icon's size until the tray sets it
// The size panels commonly give their icons, asked for as the window's
// minimum size: GTK trays size an icon's socket from it (trayer takes it as
// the icon's width), and xfce4-panel parks an icon that asks for none off
// the screen.
constexpr int kAskedSide = 22;
// Smaller than this, an icon is neither made out nor hit with a click.
constexpr int kLeastSeenSide = 8;
constexpr long kIconEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                             ButtonPressMask | ButtonReleaseMask | EnterWindowMask | LeaveWindowMask |
                             PointerMotionMask;  // what FLTK hears on its own windows

Atom Intern(const std::string& name) { return XInternAtom(fl_display, name.c_str(), False); }

Window Root() { return RootWindow(fl_display, fl_screen); }

// VALUE (0 to 255) in the bits of MASK.
unsigned long InMask(unsigned value, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    return (value * (mask >> shift) / 255) << shift;
}

// The tray may destroy the icon's window at any moment, as it ends: a query
// about the window meanwhile fails, quietly, and says so by its result.
class QuietErrors {
public:
    QuietErrors() : previous_((XSync(fl_display, False), XSetErrorHandler(Ignore))) {}
    ~QuietErrors() {
        XSync(fl_display, False);
        XSetErrorHandler(previous_);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    static int Ignore(Display*, XErrorEvent*) { return 0; }
    XErrorHandler previous_;
};

}  // namespace

class X11TrayIcon::Icon : public Fl_Window {
public:
    Icon(std::function<void()> activate, std::function<void(const TrayMenuEntry&)> chosen, bool standAside);
    ~Icon() override;
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    int handle(int event) override;
    void flush() override { Paint(); }  // drawn with its own visual, not FLTK's
    bool Shown();
    ScreenRect PlaceOnScreen();
    bool TrayFound() const { return manager_ != None; }
    void StandAside(bool aside);

    std::function<void()> activate;
    std::function<void(const TrayMenuEntry&)> chosen;
    std::function<void(bool)> shownChanged;
    std::vector<TrayMenuEntry> entries;
    bool running = true;
    bool docked = false;  // a tray holds the window

private:
    bool aside_ = false;
    static int OnXEvent(void* event, void* self) {
        return static_cast<Icon*>(self)->Handle(*static_cast<XEvent*>(event));
    }
    bool Handle(const XEvent& event);
    void Dock();
    void ChooseVisual();
    void CreateWindow();
    void SendDockRequest();
    void Withdraw();
    void ForgetVanishedWindow();
    void SetDocked(bool now);
    void Review();
    void ShowMenu();
    void Paint();
    unsigned long PixelValue(std::uint32_t premultiplied) const;
    Pixmap OpaqueMask(const std::vector<std::uint32_t>& pixels, int side) const;

    const Atom selection_ = Intern("_NET_SYSTEM_TRAY_S" + std::to_string(fl_screen));
    const Atom managerMessage_ = Intern("MANAGER");
    const Atom opcode_ = Intern("_NET_SYSTEM_TRAY_OPCODE");
    const Atom offeredVisual_ = Intern("_NET_SYSTEM_TRAY_VISUAL");
    const Atom xembedInfo_ = Intern("_XEMBED_INFO");
    Window manager_ = None;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    bool argb_ = false;  // the window blends with the tray through its alpha
    Colormap colormap_ = None;
    bool wasShown_ = false;  // as last told to shownChanged
};

X11TrayIcon::Icon::Icon(std::function<void()> onActivate, std::function<void(const TrayMenuEntry&)> onChosen,
                        bool standAside)
    : Fl_Window(kFirstSide, kFirstSide),
      activate(std::move(onActivate)),
      chosen(std::move(onChosen)),
      aside_(standAside) {
    end();
    callback([](Fl_Widget*, void*) {});  // Escape or a close request must not take the icon away
    Fl::add_system_handler(OnXEvent, this);
    // A tray manager that starts later says so to the root window.
    XWindowAttributes root{};
    XGetWindowAttributes(fl_display, Root(), &root);
    XSelectInput(fl_display, Root(), root.your_event_mask | StructureNotifyMask);
    Dock();
}

X11TrayIcon::Icon::~Icon() {
    Fl::remove_system_handler(OnXEvent);
    shownChanged = nullptr;
    Withdraw();
}

// Follows the tray: a manager that starts or goes away, and a tray that lets
// go of the icon or destroys its window (FLTK would take those two for a
// window of its own being moved or closed).
bool X11TrayIcon::Icon::Handle(const XEvent& event) {
    const Window icon = fl_xid(this);
    switch (event.type) {
    case ClientMessage:
        if (event.xclient.message_type == managerMessage_ && static_cast<Atom>(event.xclient.data.l[1]) == selection_ &&
            static_cast<Window>(event.xclient.data.l[2]) != manager_) {
            Withdraw();
            Dock();
        }
        return false;
    case DestroyNotify:
        if (icon != None && event.xdestroywindow.window == icon) {
            ForgetVanishedWindow();
            return true;  // else FLTK would make the window anew, as a top-level one
        }
        if (manager_ != None && event.xdestroywindow.window == manager_) {
            Withdraw();
            Dock();  // another manager may have taken over already
        }
        return false;
    case ReparentNotify:
        if (icon == None || event.xreparent.window != icon) return false;
        if (event.xreparent.parent != Root()) {
            SetDocked(true);
            return false;
        }
        Withdraw();  // a tray that ends hands its icons to the root window, where they would be stray windows
        return true;
    case MapNotify:
    case UnmapNotify:
    case ConfigureNotify:
    case Expose:  // the tray moved it into sight
        if (icon != None && event.xany.window == icon) Review();
        return false;
    default: return false;
    }
}

// Asks the screen's tray manager, if one runs, to take the icon. The server
// is held meanwhile, so the manager cannot go away between the requests.
void X11TrayIcon::Icon::Dock() {
    if (aside_) return;
    XGrabServer(fl_display);
    manager_ = XGetSelectionOwner(fl_display, selection_);
    if (manager_ != None) {
        XSelectInput(fl_display, manager_, StructureNotifyMask);  // to hear when it goes away
        ChooseVisual();
        CreateWindow();
        SendDockRequest();
    }
    XUngrabServer(fl_display);
    XFlush(fl_display);
}

void X11TrayIcon::Icon::StandAside(bool aside) {
    if (aside == aside_) return;
    aside_ = aside;
    Withdraw();
    Dock();
}

// The 32-bit visual the tray offers its icons for see-through pixels, when it
// offers one this display has; else the screen's own.
void X11TrayIcon::Icon::ChooseVisual() {
    visual_ = DefaultVisual(fl_display, fl_screen);
    depth_ = DefaultDepth(fl_display, fl_screen);
    argb_ = false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(fl_display, manager_, offeredVisual_, 0, 1, False, XA_VISUALID, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && format == 32 && count == 1) {
        XVisualInfo wanted{};
        wanted.visualid = static_cast<VisualID>(reinterpret_cast<const unsigned long*>(data)[0]);
        int found = 0;
        XVisualInfo* info = XGetVisualInfo(fl_display, VisualIDMask, &wanted, &found);
        if (info != nullptr && found > 0 && info->depth == 32) {
            visual_ = info->visual;
            depth_ = info->depth;
            argb_ = true;
        }
        if (info != nullptr) XFree(info);
    }
    if (data != nullptr) XFree(data);
}

// The icon's window, never mapped by the program: the tray maps it once it
// holds it, so without a tray it is never seen. FLTK takes it as this
// window's, for events, the tooltip and the menu.
void X11TrayIcon::Icon::CreateWindow() {
    XSetWindowAttributes attributes{};
    attributes.event_mask = kIconEvents;
    attributes.override_redirect = True;  // should a tray let go of it, no window manager frames it
    unsigned long mask = CWEventMask | CWOverrideRedirect;
    if (argb_) {
        colormap_ = XCreateColormap(fl_display, Root(), visual_, AllocNone);
        attributes.colormap = colormap_;
        attributes.background_pixel = 0;  // transparent
        attributes.border_pixel = 0;
        mask |= CWColormap | CWBackPixel | CWBorderPixel;
    } else {
        attributes.background_pixmap = ParentRelative;  // the panel shows through
        mask |= CWBackPixmap;
    }
    const Window xid = XCreateWindow(fl_display, Root(), 0, 0, static_cast<unsigned>(w()), static_cast<unsigned>(h()),
                                     0, depth_, InputOutput, visual_, mask, &attributes);
    XChangeProperty(fl_display, xid, xembedInfo_, xembedInfo_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kXembedInfo), 2);
    XSizeHints size{};
    size.flags = PMinSize;
    size.min_width = size.min_height = kAskedSide;
    XSetWMNormalHints(fl_display, xid, &size);
    char name[] = "nudgewick", className[] = "Nudgewick";
    XClassHint hint{name, className};  // how trays that list their icons name it
    XSetClassHint(fl_display, xid, &hint);
    Fl_X::set_xid(this, xid);
}

void X11TrayIcon::Icon::SendDockRequest() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = manager_;
    event.xclient.message_type = opcode_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = kRequestDock;
    event.xclient.data.l[2] = static_cast<long>(fl_xid(this));
    XSendEvent(fl_display, manager_, False, NoEventMask, &event);
}

// Removes the icon's window, if any; a new one is made for the next tray.
void X11TrayIcon::Icon::Withdraw() {
    manager_ = None;
    if (shown()) hide();  // destroys the X window
    if (colormap_ != None) XFreeColormap(fl_display, colormap_);
    colormap_ = None;
    SetDocked(false);
}

// The tray destroyed the icon's window as it ended. FLTK's hide() destroys
// the window it knows, so it is handed a fresh one to destroy: destroying the
// vanished one again would be an X error.
void X11TrayIcon::Icon::ForgetVanishedWindow() {
    Fl_X::i(this)->xid = XCreateSimpleWindow(fl_display, Root(), 0, 0, 1, 1, 0, 0, 0);
    Withdraw();
}

void X11TrayIcon::Icon::SetDocked(bool now) {
    docked = now;
    Review();
}

void X11TrayIcon::Icon::Review() {
    const bool now = Shown();
    if (now == wasShown_) return;
    wasShown_ = now;
    if (shownChanged) shownChanged(now);
}

// A tray may hold an icon and still not show it: some park the icons they
// cannot size (xfce4-panel at -9999,-9999), and a tray's window may be
// unmapped. Only an icon the user can see and click counts.
bool X11TrayIcon::Icon::Shown() {
    if (!docked || !shown()) return false;
    const QuietErrors quiet;
    XWindowAttributes window{}, root{};
    if (XGetWindowAttributes(fl_display, fl_xid(this), &window) == 0 || window.map_state != IsViewable) return false;
    XGetWindowAttributes(fl_display, Root(), &root);
    const ScreenRect place = PlaceOnScreen();
    return place.w >= kLeastSeenSide && place.h >= kLeastSeenSide && place.x >= 0 && place.y >= 0 &&
           place.x + place.w <= root.width && place.y + place.h <= root.height;
}

ScreenRect X11TrayIcon::Icon::PlaceOnScreen() {
    const QuietErrors quiet;
    const Window xid = fl_xid(this);
    XWindowAttributes window{};
    int x = 0, y = 0;
    Window child = None;
    if (XGetWindowAttributes(fl_display, xid, &window) == 0 ||
        !XTranslateCoordinates(fl_display, xid, Root(), 0, 0, &x, &y, &child))
        return {0, 0, 0, 0};
    return {x, y, window.width, window.height};
}

int X11TrayIcon::Icon::handle(int event) {
    switch (event) {
    case FL_PUSH:
        if (Fl::event_button() == FL_LEFT_MOUSE && activate) activate();
        if (Fl::event_button() == FL_RIGHT_MOUSE) ShowMenu();
        return 1;
    case FL_KEYBOARD:
        if (Fl::event_key() != FL_Menu) break;
        ShowMenu();
        return 1;
    case FL_FOCUS:
    case FL_UNFOCUS: return 1;  // takes the keyboard focus, for the Menu key
    default: break;
    }
    return Fl_Window::handle(event);
}

// Pops the menu up beside the icon. The entries are copied: handlers that
// run while it is open may change them, and a choice means what it said.
void X11TrayIcon::Icon::ShowMenu() {
    const std::vector<TrayMenuEntry> menu = entries;
    if (menu.empty()) return;
    std::vector<Fl_Menu_Item> items(menu.size() + 1, Fl_Menu_Item{});  // an empty item ends the menu
    for (std::size_t n = 0; n < menu.size(); ++n) {
        items[n].label(menu[n].text.c_str());
        items[n].argument(static_cast<long>(n));
        if (menu[n].checked) items[n].flags = FL_MENU_TOGGLE | (*menu[n].checked ? FL_MENU_VALUE : 0);
    }
    const Fl_Menu_Item* picked = PopUpBeside(PlaceOnScreen(), items.data());
    if (picked != nullptr && chosen) chosen(menu.at(static_cast<std::size_t>(picked->argument())));
}

// Draws the look, as large as the window allows, in the window's middle.
void X11TrayIcon::Icon::Paint() {
    const int side = std::min(w(), h());
    if (!shown() || side <= 0) return;
    const Window xid = fl_xid(this);
    const std::vector<std::uint32_t> pixels = TrayLook(running, side);
    const auto extent = static_cast<unsigned>(side);
    XImage* image =
        XCreateImage(fl_display, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr, extent, extent, 32, 0);
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * extent));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            XPutPixel(image, x, y, PixelValue(pixels[static_cast<std::size_t>(y * side + x)]));
    GC gc = XCreateGC(fl_display, xid, 0, nullptr);
    const int left = (w() - side) / 2, top = (h() - side) / 2;
    const Pixmap mask = argb_ ? None : OpaqueMask(pixels, side);
    if (mask != None) {
        XSetClipMask(fl_display, gc, mask);
        XSetClipOrigin(fl_display, gc, left, top);
    }
    XClearWindow(fl_display, xid);
    XPutImage(fl_display, xid, gc, image, 0, 0, left, top, extent, extent);
    if (mask != None) XFreePixmap(fl_display, mask);
    XFreeGC(fl_display, gc);
    XDestroyImage(image);
}

// The pixel in the window's visual: premultiplied with the alpha channel on
// a 32-bit visual, else the plain colour (the mask cuts the outline).
unsigned long X11TrayIcon::Icon::PixelValue(std::uint32_t premultiplied) const {
    const unsigned alpha = premultiplied >> 24;
    auto channel = [&](int shift, unsigned long mask) {
        unsigned value = (premultiplied >> shift) & 0xffu;
        if (!argb_ && alpha != 0) value = std::min(255u, value * 255 / alpha);
        return InMask(value, mask);
    };
    const unsigned long colourBits = visual_->red_mask | visual_->green_mask | visual_->blue_mask;
    unsigned long pixel =
        channel(16, visual_->red_mask) | channel(8, visual_->green_mask) | channel(0, visual_->blue_mask);
    if (argb_) pixel |= InMask(alpha, 0xffffffffUL & ~colourBits);
    return pixel;
}

// One bit a pixel: set where the picture covers at least half the pixel.
Pixmap X11TrayIcon::Icon::OpaqueMask(const std::vector<std::uint32_t>& pixels, int side) const {
    const int stride = (side + 7) / 8;
    std::vector<char> bits(static_cast<std::size_t>(stride * side), 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((pixels[static_cast<std::size_t>(y * side + x)] >> 24) >= 128)
                bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<char>(1 << (x % 8));
    const auto extent = static_cast<unsigned>(side);
    return XCreateBitmapFromData(fl_display, fl_xid(this), bits.data(), extent, extent);
}

X11TrayIcon::X11TrayIcon(std::function<void()> activate, std::function<void(const TrayMenuEntry&)> chosen,
                         bool standAside)
    : icon_(std::make_unique<Icon>(std::move(activate), std::move(chosen), standAside)) {}

X11TrayIcon::~X11TrayIcon() = default;

void X11TrayIcon::Show(const TrayView& view) {
    icon_->running = view.running;
    icon_->redraw();  // nothing to do while there is no window
    icon_->copy_tooltip(view.tooltip.c_str());
    icon_->entries = view.menu;
}

void X11TrayIcon::OnShownChange(std::function<void(bool)> changed) { icon_->shownChanged = std::move(changed); }

bool X11TrayIcon::Shown() const { return icon_->Shown(); }

bool X11TrayIcon::TrayFound() const { return icon_->TrayFound(); }

void X11TrayIcon::StandAside(bool aside) { icon_->StandAside(aside); }

}  // namespace nudgewick::linux_desktop
