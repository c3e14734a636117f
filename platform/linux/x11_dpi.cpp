#include "platform/linux/x11_dpi.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xresource.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace nudgewick::linux_desktop {
namespace {

constexpr int kDefaultDpi = 96;
constexpr double kStandardPoints = 8.0;  // the classic dialog font: 11 pixels at 96 dpi
constexpr int kLabelInset = 6;           // FLTK draws left-aligned labels 3 pixels in from each side
constexpr int kButtonMargin = 6;         // a centred caption gets no margin: as much clear as a label's

}  // namespace

// Liberation Sans where it has every letter of the window's texts, else the
// family fontconfig finds for them: Xft draws a letter its font lacks as a
// box (Chinese, Japanese and Korean have none in Liberation Sans).
std::string WindowFontFamily() {
    FcCharSet* letters = FcCharSetCreate();
    std::string texts = Tr(kCaptionStop);
    for (const ControlLayout& control : kControls) texts += ShownText(control);
    const char* end = texts.c_str() + texts.size();
    for (const char* at = texts.c_str(); at < end; at = fl_utf8fwd(at + 1, texts.c_str(), end))
        FcCharSetAddChar(letters, fl_utf8decode(at, end, nullptr));
    std::string chosen = "Liberation Sans";
    for (const char* wanted : {"Liberation Sans", "sans-serif"}) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(wanted));
        FcPatternAddCharSet(pattern, FC_CHARSET, letters);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        FcChar8* family = nullptr;
        FcCharSet* has = nullptr;
        const bool found = match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                           FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch;
        const bool complete = found && FcCharSetIsSubset(letters, has);
        if (complete) chosen = reinterpret_cast<const char*>(family);
        if (match != nullptr) FcPatternDestroy(match);
        if (complete) break;
    }
    FcCharSetDestroy(letters);
    return chosen;
}

// Liberation Sans is narrow and metric-compatible with the dialog fonts of
// other systems; fontconfig picks the nearest family where it is missing.
void UseDesktopLook() {
    Fl::scheme("gleam");
    static std::string family;  // FLTK keeps the name
    family = " " + WindowFontFamily();
    Fl::set_font(FL_HELVETICA, family.c_str());
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
