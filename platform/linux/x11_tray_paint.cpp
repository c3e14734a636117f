#include "platform/linux/x11_tray_paint.h"

#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>

namespace nudgewick::linux_desktop {
namespace {

// VALUE (0 to 255) in the bits of MASK.
unsigned long InMask(unsigned value, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    return (value * (mask >> shift) / 255) << shift;
}

// The pixel in the window's visual: premultiplied with the alpha channel on a
// 32-bit visual, else the plain colour (the mask cuts the outline).
unsigned long PixelValue(const TrayVisual& visual, Rgba pixel) {
    const auto channel = [&](unsigned value, unsigned long mask) {
        return InMask(visual.argb ? (value * pixel.alpha + 127) / 255 : value, mask);
    };
    const Visual& v = *visual.visual;
    unsigned long value =
        channel(pixel.red, v.red_mask) | channel(pixel.green, v.green_mask) | channel(pixel.blue, v.blue_mask);
    if (visual.argb) value |= InMask(pixel.alpha, 0xffffffffUL & ~(v.red_mask | v.green_mask | v.blue_mask));
    return value;
}

// One bit a pixel: set where the picture covers at least half the pixel.
Pixmap OpaqueMask(Window window, const std::vector<Rgba>& look, int side) {
    const int stride = (side + 7) / 8;
    std::vector<char> bits(static_cast<std::size_t>(stride * side), 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (look[static_cast<std::size_t>(y * side + x)].alpha >= 128)
                bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<char>(1 << (x % 8));
    const auto extent = static_cast<unsigned>(side);
    return XCreateBitmapFromData(fl_display, window, bits.data(), extent, extent);
}

}  // namespace

TrayVisual ChooseTrayVisual(Window manager, Atom offeredVisual) {
    TrayVisual chosen{DefaultVisual(fl_display, fl_screen), DefaultDepth(fl_display, fl_screen), false};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(fl_display, manager, offeredVisual, 0, 1, False, XA_VISUALID, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && format == 32 && count == 1) {
        XVisualInfo wanted{};
        wanted.visualid = static_cast<VisualID>(reinterpret_cast<const unsigned long*>(data)[0]);
        int found = 0;
        XVisualInfo* info = XGetVisualInfo(fl_display, VisualIDMask, &wanted, &found);
        if (info != nullptr && found > 0 && info->depth == 32) chosen = {info->visual, info->depth, true};
        if (info != nullptr) XFree(info);
    }
    if (data != nullptr) XFree(data);
    return chosen;
}

void PaintTrayLook(Window window, const TrayVisual& visual, const std::vector<Rgba>& look, int side, int left,
                   int top) {
    const auto extent = static_cast<unsigned>(side);
    XImage* image = XCreateImage(fl_display, visual.visual, static_cast<unsigned>(visual.depth), ZPixmap, 0, nullptr,
                                 extent, extent, 32, 0);
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * extent));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            XPutPixel(image, x, y, PixelValue(visual, look[static_cast<std::size_t>(y * side + x)]));
    GC gc = XCreateGC(fl_display, window, 0, nullptr);
    const Pixmap mask = visual.argb ? None : OpaqueMask(window, look, side);
    if (mask != None) {
        XSetClipMask(fl_display, gc, mask);
        XSetClipOrigin(fl_display, gc, left, top);
    }
    XClearWindow(fl_display, window);
    XPutImage(fl_display, window, gc, image, 0, 0, left, top, extent, extent);
    if (mask != None) XFreePixmap(fl_display, mask);
    XFreeGC(fl_display, gc);
    XDestroyImage(image);
}

}  // namespace nudgewick::linux_desktop
