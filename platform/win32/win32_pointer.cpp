#include "platform/win32/win32_pointer.h"

#include <windows.h>

#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {

std::optional<Point> Win32Pointer::Read() {
    POINT position;
    if (!GetCursorPos(&position)) return std::nullopt;
    return Point{position.x, position.y};
}

void Win32Pointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    const bool sent = SendInput(1, &input, sizeof input) == 1;
    if (!sent && !refused_) console_.Write(NudgeRefusedLine(SystemMessage(GetLastError())), true);
    refused_ = !sent;
}

}  // namespace nudgewick::win32
