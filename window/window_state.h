#pragma once
#include <cstdint>

namespace nudgewick {

// Everything the window remembers, 16-bit signed like the values the boxes
// can hold. All zero when the window is created.
struct WindowState {
    std::int16_t x = 0;          // nudge phase: 5 sends the next nudge left, anything else right
    std::int16_t nInterval = 0;  // milliseconds between ticks
    std::int16_t nPixels = 0;    // nudge distance; 0 and negative are allowed
    std::int16_t Lastx = 0;      // pointer column seen by the last tick
    std::int16_t Lasty = 0;      // pointer row seen by the last tick
};

}  // namespace nudgewick
