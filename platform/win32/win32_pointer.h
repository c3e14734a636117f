#pragma once
#include "core/controls.h"
#include "core/shell.h"

namespace nudgewick::win32 {

// The system's mouse pointer, moved through SendInput as a physical mouse
// moves it. A move the system does not take (the screen locked, a window of
// higher integrity in front) is said on the console, once until one goes
// through again.
class Win32Pointer final : public Pointer {
public:
    explicit Win32Pointer(Console& console) : console_(console) {}
    std::optional<Point> Read() override;
    void MoveBy(std::int32_t dx, std::int32_t dy) override;

private:
    Console& console_;
    bool refused_ = false;
};

}  // namespace nudgewick::win32
