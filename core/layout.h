#pragma once
// The window's look, in twips (1/1440 inch) from the client area's top-left
// corner, shared by every front-end.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "core/catalogue.h"

#include "core/version.h"  // kWindowTitle, kProgramVersion

namespace nudgewick {

inline constexpr int kClientWidthTwips = 4125;
inline constexpr int kClientHeightTwips = 2925;
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

enum class ControlId { StartStopButton, PixelsBox, IntervalBox, TitleLabel, Link, IntervalLabel, PixelsLabel, State };
enum class ControlKind { Button, TextBox, Label, Link };

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    const char* text;  // in English; the boxes are filled by Load, the link shows the product's address
    int left, top, width, height;
    bool centred;  // a label's text centred in its width, else left-aligned
};

// The start/stop button's captions, which the tray menu's first entry
// repeats: each names what a click does next.
inline constexpr const char* kCaptionStop = Marked("Stop");
inline constexpr const char* kCaptionGo = Marked("Go");

// Creating the controls in this order gives the Tab order: button, pixels, interval, then the link.
inline constexpr std::array<ControlLayout, 7> kControls{{
    {ControlId::StartStopButton, ControlKind::Button, kCaptionGo, 3120, 2160, 975, 615, false},
    {ControlId::PixelsBox, ControlKind::TextBox, "", 1800, 2520, 1215, 285, false},
    {ControlId::IntervalBox, ControlKind::TextBox, "", 1800, 2160, 1215, 285, false},
    {ControlId::TitleLabel, ControlKind::Label, "Nudgewick", 360, 120, 3495, 255, true},
    {ControlId::Link, ControlKind::Link, "", 240, 360, 3735, 255, true},
    {ControlId::IntervalLabel, ControlKind::Label, Marked("Interval (Milliseconds)"), 120, 2160, 1575, 255, false},
    {ControlId::PixelsLabel, ControlKind::Label, Marked("Pixels"), 120, 2520, 1575, 255, false},
}};

// What a control shows in the user's language: the title is the product's
// name in every language.
inline std::string ShownText(const ControlLayout& control) {
    return control.id == ControlId::TitleLabel ? control.text : Tr(control.text);
}

// What the icon's tooltip says, in one line centred in the band between the
// web address and the boxes, in the standard size; text too long for it ends
// in an ellipsis. Apart from kControls: each front-end builds it as a widget
// of its own, which shows the text the controller gives it.
inline constexpr ControlLayout kStatusLine{ControlId::State, ControlKind::Label, "", 120, 1260, 3885, 255, true};

// The link's text: navy, underlined, 9.75 point.
inline constexpr unsigned char kLinkRed = 0, kLinkGreen = 0, kLinkBlue = 128;
inline constexpr double kLinkPointSize = 9.75;

// Twips to pixels at the given dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch));
}

// A place in pixels: left, top, width and height.
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;

    // Wide enough for any point a client names, moved by any origin.
    bool Contains(long long px, long long py) const { return px >= x && py >= y && px - x < width && py - y < height; }
    bool operator==(const Rect&) const = default;
};

// A point on the screen, wide enough for any point a client names, moved by
// any origin.
struct ScreenPoint {
    long long x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A control's place in its window, at the given dots per inch.
constexpr Rect PixelsOf(const ControlLayout& control, int dpi) {
    return {TwipsToPixels(control.left, dpi), TwipsToPixels(control.top, dpi), TwipsToPixels(control.width, dpi),
            TwipsToPixels(control.height, dpi)};
}

// A font size in points to pixels at the given dots per inch, to the nearest
// pixel, by way of twips like every other size.
constexpr int PointsToPixels(double points, int dpi) {
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): sizes are positive, and std::lround is not constexpr
    return TwipsToPixels(static_cast<int>(points * kTwipsPerPoint + 0.5), dpi);
}

// No label's text is made smaller than this: 10 pixels at 96 dpi.
inline constexpr double kSmallestLabelPoints = 7.5;

// The font size, in pixels, for one of kControls' labels. The boxes, the
// button and the messages use the desktop's standard size; so does a label,
// unless its caption (in the user's language) does not fit its width at dpi less the inset the toolkit
// keeps clear: then the largest smaller size that fits, never below the
// smallest. textWidth(caption, size) measures a caption in pixels.
template <typename TextWidth>
int LabelFontSize(const ControlLayout& label, int standard, int dpi, int inset, TextWidth textWidth) {
    const int room = TwipsToPixels(label.width, dpi) - inset;
    const int smallest = PointsToPixels(kSmallestLabelPoints, dpi);
    int size = standard;
    const std::string caption = ShownText(label);
    while (size > smallest && textWidth(caption.c_str(), size) > room) --size;
    return size;
}

// The window in pixels for the texts it shows, in kControls' order.
struct WindowPixels {
    std::array<Rect, kControls.size()> controls{};
    std::array<int, kControls.size()> fontSizes{};  // each control's text, in pixels
    Rect statusLine;
    int statusLineFontSize = 0;
    int width = 0, height = 0;  // the client area

    const Rect& Of(ControlId id) const { return id == ControlId::State ? statusLine : controls[IndexOf(id)]; }
    int FontSizeOf(ControlId id) const { return id == ControlId::State ? statusLineFontSize : fontSizes[IndexOf(id)]; }

private:
    static std::size_t IndexOf(ControlId id) {
        std::size_t i = 0;
        while (i + 1 < kControls.size() && kControls[i].id != id) ++i;
        return i;
    }
};

// What a toolkit keeps clear around a caption, in pixels, left and right together.
struct CaptionInsets {
    int label = 0, button = 0;
};

// The layout at dpi, grown where a text would be cut: a label that does not
// fit even at the smallest size widens the label column and pushes the boxes
// and the button right; a button too narrow for either caption widens. The
// window grows by as much, and what spans it stays centred. Where every text
// fits, each place is PixelsOf's. textWidth(caption, size) measures in pixels.
template <typename TextWidth>
WindowPixels LayOutWindow(int dpi, int standard, CaptionInsets insets, TextWidth textWidth) {
    WindowPixels window{.statusLine = PixelsOf(kStatusLine, dpi),
                        .statusLineFontSize = standard,
                        .width = TwipsToPixels(kClientWidthTwips, dpi),
                        .height = TwipsToPixels(kClientHeightTwips, dpi)};
    const auto shortOf = [&](const std::string& caption, int size, int inset, int width) {
        return std::max(0, textWidth(caption.c_str(), size) + inset - width);
    };
    int labelColumnGrowth = 0, buttonGrowth = 0;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlLayout& control = kControls[i];
        const Rect place = window.controls[i] = PixelsOf(control, dpi);
        const bool label = control.kind == ControlKind::Label;
        int size = standard;
        if (label) size = LabelFontSize(control, standard, dpi, insets.label, textWidth);
        if (control.kind == ControlKind::Link) size = PointsToPixels(kLinkPointSize, dpi);
        window.fontSizes[i] = size;
        if (label && !control.centred)
            labelColumnGrowth =
                std::max(labelColumnGrowth, shortOf(ShownText(control), size, insets.label, place.width));
        if (control.kind == ControlKind::Button)
            for (const char* caption : {kCaptionGo, kCaptionStop})
                buttonGrowth = std::max(buttonGrowth, shortOf(Tr(caption), size, insets.button, place.width));
    }
    const int growth = labelColumnGrowth + buttonGrowth;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        Rect& place = window.controls[i];
        switch (kControls[i].kind) {
        case ControlKind::Button: place.width += buttonGrowth; [[fallthrough]];
        case ControlKind::TextBox: place.x += labelColumnGrowth; break;
        case ControlKind::Label:
            if (kControls[i].centred)
                place.x += growth / 2;
            else
                place.width += labelColumnGrowth;
            break;
        case ControlKind::Link: place.x += growth / 2; break;
        }
    }
    window.statusLine.x += growth / 2;
    window.width += growth;
    return window;
}

}  // namespace nudgewick
