// Nudgewick for Windows: checks the command line, then runs the window.
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/command_channel.h"
#include "core/command_line.h"
#include "core/controls.h"
#include "core/windows_command_line.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_single_instance.h"
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

// --check: how the pointer would be nudged here, as on Linux; 0 when it can be.
int ReportCheck() {
    const auto desktop = InputDesktop();
    const std::string report =
        "session: Windows, desktop " + (desktop ? Narrow(*desktop) : std::string("(input goes elsewhere)")) +
        "\nroute: " +
        (desktop ? "SendInput" : "none: the screen is locked, or input goes to another desktop or session") +
        "\nidle: the pointer's position, read at each tick\n";
    if (!WriteToConsole(report, false)) ShowMessage(report);
    return desktop ? 0 : 1;
}

// An answer from the running copy, or about it, on the stream the core names
// where there is a console; a failure without one in a box.
int Report(const CommandAnswer& answer, const StartSettings& asked) {
    const bool failed = Failed(answer);
    if (!WriteToConsole(answer.text, nudgewick::OnStandardError(answer, asked)) && failed) ShowMessage(answer.text);
    return answer.exitCode;
}

// Besides the messages, the loop waits for the processes it follows to end.
int RunMessageLoop(Win32MainWindow& window) {
    for (MSG msg;;) {
        const auto& handles = window.ProcessHandles();
        const auto count = static_cast<DWORD>(handles.size());
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count) window.OnProcessSignalled(woke - WAIT_OBJECT_0);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            if (!IsDialogMessageW(window.Hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

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
    const std::wstring_view tail = nudgewick::CommandLineTail(GetCommandLineW());
    const std::string text = Narrow(tail);
    const auto check = nudgewick::CheckCommandLine(text);
    if (!check.proceed) {
        // A box would keep a script that asked for the version waiting for its OK.
        if (!WriteToConsole(check.output, check.exitCode != 0)) ShowMessage(check.windowText);
        return check.exitCode;
    }
    if (check.settings.check) return ReportCheck();
    const auto withoutCopy = nudgewick::AnswerWithoutCopy(check.settings.command);
    // A start with "--" runs a copy of its own, beside the session's copy.
    const auto commandAt = check.settings.commandAt;
    std::optional<Win32SingleInstance> oneCopy;
    if (!commandAt) oneCopy.emplace(!withoutCopy);
    if (oneCopy && oneCopy->OtherCopyRuns()) {
        return Report(nudgewick::ReadAnswer(HandOver(Win32MainWindow::kClassName, tail)), check.settings);
    }
    if (withoutCopy) return Report(*withoutCopy, check.settings);
    const std::string command = commandAt ? text.substr(text.find_first_not_of(" \t", *commandAt)) : "";
    Win32MainWindow window(check.settings, Widen(command));
    if (const auto refusal = window.Follow()) {
        if (!WriteToConsole(refusal->output, true)) ShowMessage(refusal->windowText);
        return refusal->exitCode;
    }
    if (!window.Create(instance, showCommand)) {
        ShowMessage(window.FailureText());
        return 1;
    }
    if (!window.Notice().empty()) WriteToConsole(window.Notice(), true);
    return RunMessageLoop(window);
}
