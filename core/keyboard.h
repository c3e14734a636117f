#pragma once
// What a key does in the window beyond what each system's controls do alone.

#include "core/layout.h"

namespace nudgewick {

// Enter clicks the focused button or link, as Space does; in a box it does
// nothing, as Escape does everywhere: a form would move the focus on, a
// dialog would close.
constexpr bool EnterClicks(ControlKind focused) {
    return focused == ControlKind::Button || focused == ControlKind::Link;
}

}  // namespace nudgewick
