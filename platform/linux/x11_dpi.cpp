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
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "core/utf8.h"

namespace nudgewick::linux_desktop {
namespace {

constexpr int kDefaultDpi = 96;
constexpr double kStandardPoints = 8.0;  // the classic dialog font: 11 pixels at 96 dpi
constexpr int kLabelInset = 6;           // FLTK draws left-aligned labels 3 pixels in from each side
constexpr int kButtonMargin = 6;         // a centred caption gets no margin: as much clear as a label's

// The letters Liberation Sans 2 carries that the window's languages use:
// Latin with its first extension, Greek, Cyrillic, dashes and quotes.
constexpr std::pair<char32_t, char32_t> kLiberationSansLetters[] = {
    {0x00, 0x7E},   {0xA0, 0x17F},    {0x218, 0x21B},   {0x384, 0x3CE},   {0x400, 0x45F},
    {0x490, 0x491}, {0x2010, 0x2011}, {0x2013, 0x201E}, {0x2026, 0x2026},
};

// The code points of texts, each once.
std::set<char32_t> LettersOf(std::string_view texts) {
    std::set<char32_t> letters;
    for (std::size_t at = 0, size = 0; at < texts.size(); at += size) {
        size = CharacterSize(texts, at);
        letters.insert(CodePoint(texts.substr(at, size)));
    }
    return letters;
}

bool LiberationSansHasAll(const std::set<char32_t>& letters) {
    return std::ranges::all_of(letters, [](char32_t letter) {
        return std::ranges::any_of(kLiberationSansLetters,
                                   [letter](auto range) { return range.first <= letter && letter <= range.second; });
    });
}

// The sans-serif family fontconfig finds with every one of the letters, if any.
std::optional<std::string> FamilyWithAll(const std::set<char32_t>& wanted) {
    FcCharSet* letters = FcCharSetCreate();
    for (const char32_t letter : wanted) FcCharSetAddChar(letters, letter);
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddCharSet(pattern, FC_CHARSET, letters);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::optional<std::string> chosen;
    FcChar8* family = nullptr;
    FcCharSet* has = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch && FcCharSetIsSubset(letters, has))
        chosen = reinterpret_cast<const char*>(family);
    if (match != nullptr) FcPatternDestroy(match);
    FcCharSetDestroy(letters);
    return chosen;
}

}  // namespace

// Liberation Sans where it has every letter of the window's texts, else the
// family fontconfig finds for them: Xft draws a letter its font lacks as a
// box (Chinese, Japanese and Korean have none in Liberation Sans). Asking
// fontconfig costs some milliseconds at every start, so it is asked only
// when a letter is missing from the fonts' known set.
std::string WindowFontFamily() {
    std::string texts = Tr(kCaptionStop);
    for (const ControlLayout& control : kControls) texts += ShownText(control);
    const std::set<char32_t> letters = LettersOf(texts);
    if (LiberationSansHasAll(letters)) return "Liberation Sans";
    return FamilyWithAll(letters).value_or("Liberation Sans");
}

void UseDesktopLook() {
    Fl::scheme("gleam");
    Fl_Window::default_xclass(kX11WindowName);
}

// Liberation Sans is narrow and metric-compatible with the dialog fonts of
// other systems; fontconfig picks the nearest family where it is missing.
void ChooseWindowFont() {
    // FLTK keeps the name's pointer and takes a name at the same address as
    // unchanged, so each family's name has a place of its own for good.
    static std::set<std::string> families;
    Fl::set_font(FL_HELVETICA, families.insert(" " + WindowFontFamily()).first->c_str());
}

void UseWindowFont() { [[maybe_unused]] static const bool chosen = (ChooseWindowFont(), true); }

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

int StandardTextSize(int dpi) { return PointsToPixels(kStandardPoints, dpi); }

WindowPixels LayOutForTexts(int dpi, int standard) {
    const CaptionInsets insets{.label = kLabelInset, .button = Fl::box_dw(FL_UP_BOX) + kButtonMargin};
    return LayOutWindow(dpi, standard, insets, [](const char* caption, int size) {
        fl_font(FL_HELVETICA, size);
        return static_cast<int>(fl_width(caption));
    });
}

}  // namespace nudgewick::linux_desktop
