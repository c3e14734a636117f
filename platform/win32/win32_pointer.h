#pragma once
#include "core/controls.h"

namespace nudgewick::win32 {

// The system's mouse pointer, moved through SendInput as a physical mouse
// moves it.
class Win32Pointer final : public Pointer {
public:
    std::optional<Point> Read() override;
    void MoveBy(std::int32_t dx, std::int32_t dy) override;
};

}  // namespace nudgewick::win32
