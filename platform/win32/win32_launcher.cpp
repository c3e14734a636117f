#include "platform/win32/win32_launcher.h"

#include <windows.h>

#include "core/windows_command_line.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {

// cmd's own console window opens minimised and closes by itself.
std::optional<std::string> Win32Launcher::Open(const std::string& address) {
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
