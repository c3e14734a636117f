#pragma once
#include "core/controls.h"

namespace nudgewick::linux_desktop {

// The X server's pointer on fl_display, moved through the XTEST extension
// so that the server and every client take it for a real mouse.
class X11Pointer : public Pointer {
public:
    // False when the server lacks XTEST: the pointer could be read, not moved.
    static bool CanMove();

    std::optional<Point> Read() override;
    void MoveBy(std::int32_t dx, std::int32_t dy) override;
};

}  // namespace nudgewick::linux_desktop
