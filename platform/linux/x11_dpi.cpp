#include "platform/linux/x11_dpi.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

namespace nudgewick::linux_desktop {
namespace {

constexpr int kDefaultDpi = 96;
constexpr double kStandardPoints = 8.0;  // the classic dialog font: 11 pixels at 96 dpi
constexpr int kLabelInset = 6;           // FLTK draws left-aligned labels 3 pixels in from each side
constexpr int kButtonMargin = 6;         // a centred caption gets no margin: as much clear as a label's

}  // namespace

// Liberation Sans is narrow and metric-compatible with the dialog fonts of
// other systems; fontconfig picks the nearest family where it is missing.
void UseDesktopLook() {
    Fl::scheme("gleam");
    Fl::set_font(FL_HELVETICA, " Liberation Sans");
    Fl_Window::default_xclass(kX11WindowName);
}

int DisplayDpi() {
    const char* resources = XResourceManagerString(fl_display);
    if (resources == nullptr) return kDefaultDpi;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    int dpi = kDefaultDpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
        const double parsed = std::strtod(value.addr, nullptr);
        if (parsed >= 1.0 && parsed < 10000.0) dpi = static_cast<int>(std::lround(parsed));
    }
    XrmDestroyDatabase(database);
    return dpi;
}

TextSizes PickTextSizes(int dpi) { return {PointsToPixels(kStandardPoints, dpi), PointsToPixels(kLinkPointSize, dpi)}; }

WindowPixels LayOutForTexts(int dpi, int standard) {
    const CaptionInsets insets{.label = kLabelInset, .button = Fl::box_dw(FL_UP_BOX) + kButtonMargin};
    return LayOutWindow(dpi, standard, insets, [](const char* caption, int size) {
        fl_font(FL_HELVETICA, size);
        return static_cast<int>(fl_width(caption));
    });
}

}  // namespace nudgewick::linux_desktop
