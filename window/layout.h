#pragma once
// The window's look, in twips (1/1440 inch) from the client area's top-left
// corner, shared by every front-end.

#include <array>

#include "window/version.h"  // kWindowTitle, kProgramVersion

namespace nudgewick {

inline constexpr int kClientWidthTwips = 4125;
inline constexpr int kClientHeightTwips = 2925;
inline constexpr int kTwipsPerInch = 1440;

enum class ControlId { btoGO, txtPixels, txtInterval, Label1, lblURL, Label2, Label3 };
enum class ControlKind { Button, TextBox, Label, Link };

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    const char* text;  // design-time text; the boxes are filled at start-up, the link gets the address
    int left, top, width, height;
};

// Creating the controls in this order gives the Tab order: button, pixels, interval.
inline constexpr std::array<ControlLayout, 7> kControls{{
    {ControlId::btoGO, ControlKind::Button, "Go", 3120, 2160, 975, 615},
    {ControlId::txtPixels, ControlKind::TextBox, "", 1800, 2520, 1215, 285},
    {ControlId::txtInterval, ControlKind::TextBox, "", 1800, 2160, 1215, 285},
    {ControlId::Label1, ControlKind::Label, "Nudgewick", 360, 120, 3495, 255},
    {ControlId::lblURL, ControlKind::Link, "", 240, 360, 3735, 255},
    {ControlId::Label2, ControlKind::Label, "Interval (Milliseconds)", 120, 2160, 1575, 255},
    {ControlId::Label3, ControlKind::Label, "Pixels", 120, 2520, 1575, 255},
}};

// The link's text: navy, underlined, 9.75 point.
inline constexpr unsigned char kLinkRed = 0, kLinkGreen = 0, kLinkBlue = 128;
inline constexpr double kLinkPointSize = 9.75;

// Twips to pixels at the given dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch));
}

// The largest font size, from largest down to smallest, at which every
// label's caption fits its width at dpi less the inset the toolkit keeps
// clear. textWidth(caption, size) measures a caption in pixels.
template <typename TextWidth>
int FittingFontSize(int largest, int smallest, int dpi, int inset, TextWidth textWidth) {
    const auto fits = [&](int size) {
        for (const auto& control : kControls) {
            const int room = TwipsToPixels(control.width, dpi) - inset;
            if (control.kind == ControlKind::Label && textWidth(control.text, size) > room) return false;
        }
        return true;
    };
    int size = largest;
    while (size > smallest && !fits(size)) --size;
    return size;
}

}  // namespace nudgewick
