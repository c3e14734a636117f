#include "platform/x11/x11_tray_image.h"

#include <algorithm>
#include <array>

namespace nudgewick::x11 {
namespace {

struct Point {
    double x, y;
};

// A stand-in for the program's icon until its artwork lands: a white mouse
// pointer on a teal disc, 32 pixels across.
constexpr int kIconSide = 32;
constexpr Point kDiscCentre{16.0, 16.0};
constexpr double kDiscRadius = 15.5;
constexpr std::array<Point, 7> kPointer{
    {{11.0, 6.0}, {11.0, 24.5}, {15.5, 20.0}, {19.0, 27.0}, {22.0, 25.5}, {18.5, 18.5}, {24.5, 18.5}}};
constexpr std::uint32_t kDiscColour = 0x1b7a8c;
constexpr std::uint32_t kPointerColour = 0xffffff;
constexpr int kSamplesPerSide = 4;  // each pixel is the mean of 4 x 4 samples, for smooth edges

bool InPointer(Point p) {
    bool inside = false;
    for (std::size_t i = 0, j = kPointer.size() - 1; i < kPointer.size(); j = i++) {
        const Point a = kPointer[i], b = kPointer[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
    }
    return inside;
}

bool InDisc(Point p) {
    const double dx = p.x - kDiscCentre.x, dy = p.y - kDiscCentre.y;
    return dx * dx + dy * dy <= kDiscRadius * kDiscRadius;
}

unsigned Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xffu; }

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, int part, int whole) {
    std::uint32_t mixed = 0;
    for (int shift : {0, 8, 16})
        mixed |= ((Channel(from, shift) * (whole - part) + Channel(to, shift) * part) / whole) << shift;
    return mixed;
}

// Grey of the same lightness, paler and partly see-through.
std::uint32_t Greyed(std::uint32_t argb) {
    const unsigned light = (Channel(argb, 16) * 77 + Channel(argb, 8) * 150 + Channel(argb, 0) * 29) >> 8;
    const unsigned grey = 96 + light / 2;
    return (Channel(argb, 24) * 3 / 4) << 24 | grey << 16 | grey << 8 | grey;
}

std::uint32_t Premultiplied(std::uint32_t argb) {
    const unsigned alpha = Channel(argb, 24);
    std::uint32_t result = alpha << 24;
    for (int shift : {0, 8, 16}) result |= (Channel(argb, shift) * alpha / 255) << shift;
    return result;
}

// The source pixels [first, last) along one side that pixel I of SIDE covers:
// a block when shrinking, one pixel when enlarging.
std::array<int, 2> Covered(int i, int side, int sourceSide) {
    const int first = i * sourceSide / side;
    return {first, std::max(first + 1, (i + 1) * sourceSide / side)};
}

}  // namespace

ArgbImage ProgramIcon() {
    constexpr int kSamples = kSamplesPerSide * kSamplesPerSide;
    ArgbImage icon{kIconSide, std::vector<std::uint32_t>(kIconSide * kIconSide)};
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            int disc = 0, pointer = 0;
            for (int s = 0; s < kSamples; ++s) {
                const Point p{x + (s % kSamplesPerSide + 0.5) / kSamplesPerSide,
                              y + (s / kSamplesPerSide + 0.5) / kSamplesPerSide};
                disc += InDisc(p);
                pointer += InPointer(p);
            }
            const std::uint32_t colour = disc == 0 ? 0 : Mix(kDiscColour, kPointerColour, pointer, disc);
            const auto alpha = static_cast<std::uint32_t>(disc * 255 / kSamples);
            icon.pixels[static_cast<std::size_t>(y * kIconSide + x)] = alpha << 24 | colour;
        }
    }
    return icon;
}

std::vector<std::uint32_t> TrayLook(const ArgbImage& icon, bool running, int side) {
    std::vector<std::uint32_t> scaled(static_cast<std::size_t>(side * side));
    for (int y = 0; y < side; ++y) {
        const auto [top, bottom] = Covered(y, side, icon.side);
        for (int x = 0; x < side; ++x) {
            const auto [left, right] = Covered(x, side, icon.side);
            std::array<unsigned, 4> sums{};  // blue, green, red, alpha
            for (int sy = top; sy < bottom; ++sy) {
                for (int sx = left; sx < right; ++sx) {
                    const std::uint32_t source = icon.pixels[static_cast<std::size_t>(sy * icon.side + sx)];
                    const std::uint32_t pixel = Premultiplied(running ? source : Greyed(source));
                    for (int c = 0; c < 4; ++c) sums[static_cast<std::size_t>(c)] += Channel(pixel, c * 8);
                }
            }
            const auto count = static_cast<unsigned>((bottom - top) * (right - left));
            std::uint32_t mean = 0;
            for (int c = 0; c < 4; ++c) mean |= (sums[static_cast<std::size_t>(c)] / count) << (c * 8);
            scaled[static_cast<std::size_t>(y * side + x)] = mean;
        }
    }
    return scaled;
}

}  // namespace nudgewick::x11
