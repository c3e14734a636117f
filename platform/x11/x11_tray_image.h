#pragma once
// The pictures of the notification-area icon, as 32-bit ARGB pixels (alpha in
// the top byte), row by row from the top left. Built into the program: it
// reads no files.

#include <cstdint>
#include <vector>

namespace nudgewick::x11 {

struct ArgbImage {
    int side = 0;                       // the image is square
    std::vector<std::uint32_t> pixels;  // colours not premultiplied
};

// The program's icon.
ArgbImage ProgramIcon();

// The icon in the look for ticks running or stopped (greyed), scaled to
// side x side pixels; colours premultiplied by alpha.
std::vector<std::uint32_t> TrayLook(const ArgbImage& icon, bool running, int side);

}  // namespace nudgewick::x11
