// Nudgewick for Windows: checks the command line, then runs the window.
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/controls.h"
#include "core/shell.h"
#include "core/windows_command_line.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_string_tables.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

// A window program has no console of its own: it writes where its standard
// output or error leads, else to the console of the prompt that started it.
HANDLE ConsoleOutput(DWORD which) {
    const HANDLE inherited = GetStdHandle(which);
    if (IsUsableHandle(inherited)) return inherited;
    // Denied when Wine attached a console already.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return INVALID_HANDLE_VALUE;
    return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

// False when there is nowhere to write: the program was not started from a
// console or a script.
bool WriteToConsole(const std::string& text, bool isError) {
    const HANDLE output = ConsoleOutput(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
        const std::wstring wide = Widen(text);
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    return true;
}

void ShowMessage(const std::string& text) {
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(kMessageTitle).c_str(), MB_OK);
}

// The desktop that takes keyboard and mouse input, if this program may send
// it there: not while the screen is locked or a secure desktop (a UAC prompt)
// is shown, nor from another session's desktop.
std::optional<std::wstring> InputDesktop() {
    const HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_JOURNALPLAYBACK);
    if (input == nullptr) return std::nullopt;
    wchar_t inputName[256] = L"", ownName[256] = L"";
    GetUserObjectInformationW(input, UOI_NAME, inputName, sizeof inputName, nullptr);
    CloseDesktop(input);
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, ownName, sizeof ownName, nullptr);
    if (std::wstring_view(inputName) != ownName) return std::nullopt;
    return inputName;
}

// --check: how the pointer would be nudged here, as on Linux.
CheckReport ReportCheck() {
    const auto desktop = InputDesktop();
    return {"session: Windows, desktop " + (desktop ? Narrow(*desktop) : std::string("(input goes elsewhere)")) +
                "\nroute: " +
                (desktop ? "SendInput" : "none: the screen is locked, or input goes to another desktop or session") +
                "\nidle: the pointer's position, read at each tick\n" +
                LockCheckLines("WTS session notifications", Win32DesktopWatch::SessionLocked()),
            desktop.has_value()};
}

// The program in the user's session: a console where one is at hand, a box
// where none is.
class Win32Shell final : public Shell, Console {
public:
    Win32Shell(HINSTANCE instance, int showCommand) : instance_(instance), showCommand_(showCommand) {}

    Console& Output() override { return *this; }
    bool Write(const std::string& text, bool toStandardError) override { return WriteToConsole(text, toStandardError); }
    bool Watched() const override { return true; }
    void ShowBox(const std::string& text) override { ShowMessage(text); }
    std::optional<std::string> ReachDesktop() override { return std::nullopt; }
    CheckReport Check() override { return ReportCheck(); }
    SingleInstance& Instance() override { return oneCopy_; }
    ProgramWindow* OpenWindow(const StartSettings& start, std::string_view commandLine) override {
        const std::string_view command =
            start.commandAt ? commandLine.substr(commandLine.find_first_not_of(" \t", *start.commandAt)) : "";
        return &window_.emplace(start, Widen(command), start.commandAt ? nullptr : &oneCopy_, instance_, showCommand_,
                                Output());
    }

private:
    HINSTANCE instance_;
    int showCommand_;
    Win32SingleInstance oneCopy_{Win32MainWindow::kClassName};
    std::optional<Win32MainWindow> window_;
};

}  // namespace
}  // namespace nudgewick::win32

#ifdef __GLIBCXX__
// What libstdc++ does with an uncaught exception, in place of its own handler,
// which prints the exception's demangled type to a console that a window
// program does not have, and links in the demangler and printf's formatting
// for it (some 70 KB of the .exe).
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace nudgewick::win32;
    const auto catalogue = UsersCatalogue(instance);
    nudgewick::UseCatalogue(catalogue.get());
    Win32Shell shell(instance, showCommand);
    return nudgewick::RunProgram(shell, Narrow(nudgewick::CommandLineTail(GetCommandLineW())));
}
