// probe hotkey MODIFIERS KEY [window] registers the hotkey (RegisterHotKey's modifiers as a number, a
// virtual key such as N or 0x78), prints "registered" or "error N" and holds it until killed, as
// another program would; with "window", also a window titled "probe", a Wine window to give the X
// focus to, since Wine reports a hotkey only while one of its windows has it.
//
// probe EXE COMMAND_LINE starts EXE with exactly COMMAND_LINE, its own name included, as a shortcut
// does. Through a hook in the program (this file again, as probe_hook.dll) it prints each control of
// its first window (the main window or a message box) as "CLASS EM LINE ROOM TEXT": the heights in
// pixels of the control's font, character and line, and of its inside. Then it closes the window and
// prints "exit STATUS". The program writes to the probe's standard output and error.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK Report(HWND control, LPARAM) {
    char className[32] = "", text[512] = "";
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, text, sizeof text);
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA font{};
    GetTextMetricsA(dc, &font);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    RECT inside{};
    GetClientRect(control, &inside);
    std::printf("%s %ld %ld %ld %s\n", className, font.tmHeight - font.tmInternalLeading, font.tmHeight, inside.bottom,
                text);
    std::fflush(stdout);
    return TRUE;
}

DWORD program;
HWND shown;

BOOL CALLBACK StopAtShown(HWND window, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == program && IsWindowVisible(window)) shown = window;
    return !shown;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message.message == RegisterWindowMessageW(L"NudgewickProbe")) {
        EnumChildWindows(message.hwnd, Report, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hotkey is the thread's; the window comes after the answer, since showing it waits on other programs.
int HoldHotkey(UINT modifiers, UINT key, bool window) {
    if (RegisterHotKey(nullptr, 1, modifiers, key)) {
        std::printf("registered\n");
    } else {
        std::printf("error %lu\n", GetLastError());
    }
    std::fflush(stdout);
    if (window)
        CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 200, 100, nullptr, nullptr,
                        nullptr, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "hotkey") {
        return HoldHotkey(std::stoul(argv[2], nullptr, 0),
                          std::string(argv[3]).size() == 1 ? argv[3][0] : std::stoul(argv[3], nullptr, 0),
                          argc == 5 && std::string(argv[4]) == "window");
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = argv[2];
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return 3;
    }
    program = process.dwProcessId;
    // Until the program ends, or for 30 s.
    for (int tries = 0; tries < 300 && !shown && WaitForSingleObject(process.hProcess, 100); ++tries) {
        EnumWindows(StopAtShown, 0);
    }
    if (shown) {
        const HMODULE hook = LoadLibraryW(L"probe_hook.dll");
        const auto report = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(hook, "ProbeHook")));
        const HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, report, hook, process.dwThreadId);
        SendMessageW(shown, RegisterWindowMessageW(L"NudgewickProbe"), 0, 0);
        UnhookWindowsHookEx(installed);
        PostMessageW(shown, WM_CLOSE, 0, 0);
    }
    DWORD status = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
    TerminateProcess(process.hProcess, 1);
    std::printf("exit %lu\n", status);
}
