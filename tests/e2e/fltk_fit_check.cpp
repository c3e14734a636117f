// Lays the window out as the Linux program does, in each language given (en:
// none) at 96 and 144 dpi, and measures every fixed text in FLTK's fonts
// against its control, and its letters against its font. Prints "LANGUAGE DPI WIDTHxHEIGHT", the client area
// the program's window must have, and a line for each text that would be cut.
// Run as  fltk_fit_check LOCALE_TREE LANGUAGE...
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xft/Xft.h>
#include <libintl.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/layout.h"
#include "core/product_address.h"
#include "platform/linux/x11_dpi.h"

extern "C" int _nl_msg_cat_cntr;  // glibc's, which gettext's manual names for a change of LANGUAGE
extern void* fl_xftfont;          // FLTK's current Xft font, which it declares for its own files only

namespace {

using namespace nudgewick;

class GettextCatalogue final : public Catalogue {
public:
    std::string Text(const char* text) const override { return dgettext("nudgewick", text); }
    std::string Plural(const char* one, const char* other, unsigned long count) const override {
        return dngettext("nudgewick", one, other, count);
    }
};

// Whether the font last chosen has every letter of text: Xft draws a missing one as a box.
bool HasEveryLetter(const std::string& text) {
    const char *begin = text.c_str(), *end = begin + text.size();
    for (const char* at = begin; at < end; at = fl_utf8fwd(at + 1, begin, end))
        if (!XftCharExists(fl_display, static_cast<XftFont*>(fl_xftfont), fl_utf8decode(at, end, nullptr)))
            return false;
    return true;
}

// Whether text, drawn at size with clear pixels kept beside it (a part of a
// pixel counting as a whole one), lies within room with every letter; else says so.
bool Fits(const std::string& where, const std::string& text, int size, int clear, int room) {
    fl_font(FL_HELVETICA, size);
    const int width = static_cast<int>(std::ceil(fl_width(text.c_str()))) + clear;
    if (width > room) std::printf("%s: \"%s\" needs %d pixels, has %d\n", where.c_str(), text.c_str(), width, room);
    const bool drawn = HasEveryLetter(text);
    if (!drawn) std::printf("%s: \"%s\" has a letter its font lacks\n", where.c_str(), text.c_str());
    return width <= room && drawn;
}

bool CheckWindow(const std::string& language, int dpi) {
    const WindowPixels window = linux_desktop::LayOutForTexts(dpi, linux_desktop::StandardTextSize(dpi));
    const std::string where = language + " at " + std::to_string(dpi) + " dpi";
    bool fits = true;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlLayout& control = kControls[i];
        const int size = window.fontSizes[i], room = window.controls[i].width;
        // FLTK draws a left-aligned label 3 pixels in from each side, a button's caption inside its frame.
        if (control.kind == ControlKind::Label)
            fits &= Fits(where, ShownText(control), size, control.centred ? 0 : 6, room);
        if (control.kind == ControlKind::Link) fits &= Fits(where, kProductAddress, size, 0, room);
        if (control.kind == ControlKind::Button)
            for (const char* caption : {kCaptionGo, kCaptionStop})
                fits &= Fits(where, Tr(caption), size, Fl::box_dw(FL_UP_BOX), room);
        if (window.controls[i].x + room > window.width) {
            std::printf("%s: control %zu ends past the window's edge\n", where.c_str(), i);
            fits = false;
        }
    }
    std::printf("%s %d %dx%d\n", language.c_str(), dpi, window.width, window.height);
    return fits;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C.UTF-8");
    bindtextdomain("nudgewick", argc > 1 ? argv[1] : ".");
    bind_textdomain_codeset("nudgewick", "UTF-8");
    fl_open_display();
    const GettextCatalogue catalogue;
    bool fits = argc > 2;
    linux_desktop::UseDesktopLook();
    for (int i = 2; i < argc; ++i) {
        UseCatalogue(std::string(argv[i]) == "en" ? nullptr : &catalogue);
        setenv("LANGUAGE", argv[i], 1);
        ++_nl_msg_cat_cntr;                 // the translations gettext keeps were the last language's
        linux_desktop::ChooseWindowFont();  // the language's
        for (const int dpi : {96, 144}) fits &= CheckWindow(argv[i], dpi);
    }
    return fits ? 0 : 1;
}
