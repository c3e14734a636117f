#include "window/launch_command.h"

#include "win32_controls.h"
#include "win32_text.h"

namespace nudgewick::win32 {
namespace {

std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void PutWindowText(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Widen(text).c_str()); }

}  // namespace

std::string EditBox::Text() const { return WindowText(hwnd); }
void EditBox::SetText(const std::string& text) { PutWindowText(hwnd, text); }
void PushButton::SetCaption(const std::string& caption) { PutWindowText(hwnd, caption); }
std::string StaticLabel::Caption() const { return WindowText(hwnd); }

// SetTimer on a running id starts its countdown afresh.
void WindowTimer::Start(int milliseconds) { SetTimer(owner, id_, static_cast<UINT>(milliseconds), nullptr); }
void WindowTimer::Stop() { KillTimer(owner, id_); }

void MessageBoxDialog::Show(const std::string& text) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(kMessageTitle).c_str(), MB_OK);
}

std::optional<Point> SystemPointer::Read() {
    POINT position;
    if (!GetCursorPos(&position)) return std::nullopt;
    return Point{position.x, position.y};
}

// A relative move, the same input a physical mouse sends.
void SystemPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

// cmd's "start" hands the address to the default browser; its own console
// window opens minimised and closes by itself.
std::optional<std::string> CmdLauncher::Open(const std::string& address) {
    std::wstring commandLine = Widen(CmdStartCommandLine(address));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return SystemMessage(GetLastError());
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return std::nullopt;
}

}  // namespace nudgewick::win32
