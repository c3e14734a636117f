// probe EXE COMMAND_LINE FROM starts EXE with exactly COMMAND_LINE, its own name included, from
// "shortcut" (no console, no standard handles), "script" (the probe's standard output and error) or
// "console" (a console of the probe's, without standard handles). Through a hook in the program (this
// file again, as probe_hook.dll) it prints each control of its first window (the main window or a
// message box) as "CLASS EM LINE ROOM TEXT": the heights in pixels of the control's font,
// character and line, and of its inside.
// Then it closes the window and prints what the console showed, "console LINE", and "exit STATUS".
// With a fourth word, "accessible", it prints instead what a screen reader gets through Active
// Accessibility, "accessible CLASS ROLE|NAME|DEFAULT ACTION|TEXT OF THE CONTROL BEFORE IT", and does the
// link's default action. With "fit": "client WIDTH HEIGHT", Report's fit lines, and the button's again once clicked.
//
// probe hotkey MODIFIERS LETTER registers the hotkey (RegisterHotKey's modifiers as a number), prints
// "registered" or "error N" and holds it until killed, as another program would, with a window titled "probe",
// a Wine window to give the X focus to, since Wine reports a hotkey only while one of its windows has it.
//
// probe copydata sends Nudgewick's window what another program might: the tray icon's message with codes it
// does not use, WM_HOTKEY with ids it did not register, WM_GETOBJECT with odd ids to the window and each
// control; "--toggle" as WM_COPYDATA of another kind, from no asking window, cut inside a character or a
// surrogate pair, with a lone surrogate; 64 KiB of blanks (megabytes would end it: Wine copies them onto the
// receiving thread's stack). Then "--status" as a start does. It prints what each returned.
//
// probe wait MILLISECONDS STATUS prints its process id, puts the pointer where it is (Wine then knows
// it) and ends with STATUS after MILLISECONDS: a command for Nudgewick to follow.
#include <ole2.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/version.h"  // kWindowClass

namespace {

// Where the hook writes, as the number of the probe's output handle: the program inherits the handle,
// also when it gets no standard handles.
constexpr const char* kOutputVariable = "NUDGEWICK_PROBE_OUTPUT";

void Write(const char* line, int length) {
    char output[32] = "";
    GetEnvironmentVariableA(kOutputVariable, output, sizeof output);
    DWORD written = 0;
    WriteFile(reinterpret_cast<HANDLE>(std::strtoull(output, nullptr, 10)), line, static_cast<DWORD>(length), &written,
              nullptr);
}

// With fit, labels (but one that ends a long text in an ellipsis) and buttons, as "fit CLASS RIGHT BOTTOM NEEDED
// SPACE TEXT": where it ends in the client area, its text's width in its font and the width a text may take, in
// a button inside its frame edge and off the focus rectangle's line.
BOOL CALLBACK Report(HWND control, LPARAM fit) {
    char className[32] = "", text[3 * 2048] = "";  // in UTF-8, whatever the code page: the texts may be translated
    wchar_t wide[2048] = L"";
    GetClassNameA(control, className, sizeof className);
    const int length = GetWindowTextW(control, wide, 2048);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    const bool button = std::string(className) == "Button",
               label = std::string(className) == "Static" && !(GetWindowLongW(control, GWL_STYLE) & SS_ENDELLIPSIS);
    if (fit && !button && !label) return TRUE;
    RECT inside{};
    GetClientRect(control, &inside);
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA font{};
    GetTextMetricsA(dc, &font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide, length, &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    const UINT dpi = GetDpiForWindow(control);
    const long space =
        inside.right -
        (button ? 2 * (GetSystemMetricsForDpi(SM_CXEDGE, dpi) + GetSystemMetricsForDpi(SM_CXFOCUSBORDER, dpi)) : 0);
    MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT*>(&inside), 2);
    char line[sizeof text + 64];
    Write(line,
          fit ? std::snprintf(line, sizeof line, "fit %s %ld %ld %ld %ld %s\n", className, inside.right, inside.bottom,
                              extent.cx, space, text)
              : std::snprintf(line, sizeof line, "%s %ld %ld %ld %s\n", className,
                              font.tmHeight - font.tmInternalLeading, font.tmHeight, inside.bottom - inside.top, text));
    return TRUE;
}

std::string Narrow(BSTR text) {
    std::string narrow;
    for (const wchar_t* c = text; c && *c; ++c) narrow += static_cast<char>(*c < 128 ? *c : '?');
    return narrow;
}

// The control's object as a client in another program would get it; the program answers on its own thread.
BOOL CALLBACK ReportAccessible(HWND control, LPARAM) {
    char className[32] = "", role[64] = "", before[256] = "";
    GetClassNameA(control, className, sizeof className);
    if (const HWND previous = GetWindow(control, GW_HWNDPREV)) GetWindowTextA(previous, before, sizeof before);
    IAccessible* object = nullptr;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, action = nullptr;
    VARIANT roleNumber{};
    if (SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)))) {
        object->get_accName(self, &name);
        object->get_accDefaultAction(self, &action);
        if (SUCCEEDED(object->get_accRole(self, &roleNumber)) && roleNumber.vt == VT_I4)
            GetRoleTextA(static_cast<DWORD>(roleNumber.lVal), role, sizeof role);
        if (roleNumber.vt == VT_I4 && roleNumber.lVal == ROLE_SYSTEM_LINK) object->accDoDefaultAction(self);
        object->Release();
    }
    char line[1024];
    const int length = std::snprintf(line, sizeof line, "accessible %s %s|%s|%s|%s\n", className, role,
                                     Narrow(name).c_str(), Narrow(action).c_str(), before);
    SysFreeString(name);
    SysFreeString(action);
    Write(line, length);
    return TRUE;
}

constexpr WPARAM kFit = 2;  // the probe's message asks for ReportFitted, 1 for ReportAccessible, 0 for Report

DWORD program;
HWND shown;

BOOL CALLBACK StopAtShown(HWND window, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == program && IsWindowVisible(window)) shown = window;
    return !shown;
}

// Prints the lines the console shows, up to its cursor.
void PrintConsole() {
    const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen, &info);
    for (SHORT row = 0; row < info.dwCursorPosition.Y; ++row) {
        std::string line(static_cast<std::size_t>(info.dwSize.X), ' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterA(screen, line.data(), static_cast<DWORD>(line.size()), {0, row}, &read);
        line.erase(line.find_last_not_of(' ') + 1);
        std::printf("console %s\n", line.c_str());
    }
    CloseHandle(screen);
}

}  // namespace

void ReportFitted(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    char line[64];
    Write(line, std::snprintf(line, sizeof line, "client %ld %ld\n", client.right, client.bottom));
    EnumChildWindows(window, Report, TRUE);
    const HWND button = FindWindowExW(window, nullptr, L"Button", nullptr);
    SendMessageW(button, BM_CLICK, 0, 0);
    Report(button, TRUE);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message.message == RegisterWindowMessageW(L"NudgewickProbe")) {
        if (message.wParam == kFit)
            ReportFitted(message.hwnd);
        else
            EnumChildWindows(message.hwnd, message.wParam ? ReportAccessible : Report, FALSE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hotkey is the thread's; the window comes after the answer, since showing it waits on other programs.
int HoldHotkey(UINT modifiers, UINT key) {
    RegisterHotKey(nullptr, 1, modifiers, key) ? std::printf("registered\n")
                                               : std::printf("error %lu\n", GetLastError());
    std::fflush(stdout);
    CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 200, 100, nullptr, nullptr,
                    nullptr, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

int SendCopyData() {
    const HWND copy = FindWindowW(nudgewick::kWindowClass, nullptr);
    const WNDCLASSW askerClass{0, DefWindowProcW, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"NudgewickAsker"};
    RegisterClassW(&askerClass);
    const HWND asker =
        CreateWindowW(askerClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const auto send = [](HWND to, UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(to, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
        std::printf("%d ", static_cast<int>(result));
    };
    for (const LPARAM code : {0x0000, 0x0200, 0x0402, 0xffff}) send(copy, WM_APP + 2, 0, code);  // the tray's
    for (const WPARAM id : {0x0000, 0x0002, 0xbfff, 0xffff}) send(copy, WM_HOTKEY, id, 0);
    for (HWND to = copy; to != nullptr; to = to == copy ? GetWindow(copy, GW_CHILD) : GetWindow(to, GW_HWNDNEXT)) {
        for (const LPARAM id : {-25L, 1L, 0x7fffffffL}) send(to, WM_GETOBJECT, ~WPARAM{0}, id);  // -25: UI Automation
    }
    constexpr ULONG_PTR kCommandLine = 0x4e574331;
    struct {
        HWND from;
        ULONG_PTR kind;
        std::wstring text;
        int cut;  // bytes left off the end
    } copies[] = {{asker, kCommandLine + 1, L"--toggle", 0},
                  {nullptr, kCommandLine, L"--toggle", 0},
                  {asker, kCommandLine, L"--toggle\xd83d\xde00", 2},
                  {asker, kCommandLine, L"--toggle", 1},
                  {asker, kCommandLine, L"--toggle\xd800", 0},
                  {asker, kCommandLine, std::wstring(1 << 15, L' '), 0},
                  {asker, kCommandLine, L"--status", 0}};
    for (auto& [from, kind, text, cut] : copies) {
        COPYDATASTRUCT data{kind, static_cast<DWORD>(2 * text.size() - cut), text.data()};
        send(copy, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data));
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "copydata") return SendCopyData();
    if (argc == 3 && std::string(argv[1]) == "session") {  // a lock or unlock, as the session's notification sends it
        const HWND copy = FindWindowW(nudgewick::kWindowClass, nullptr);
        return !PostMessageW(copy, WM_WTSSESSION_CHANGE, std::stoul(argv[2]), 0);
    }
    if (argc == 4 && std::string(argv[1]) == "wait") {
        std::printf("pid %lu\n", GetCurrentProcessId());
        std::fflush(stdout);
        POINT at{};
        GetCursorPos(&at);
        SetCursorPos(at.x, at.y);
        Sleep(std::stoul(argv[2]));
        return std::stoi(argv[3]);
    }
    if (argc == 4 && std::string(argv[1]) == "hotkey") return HoldHotkey(std::stoul(argv[2]), argv[3][0]);
    const std::string from = argv[3];
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (from == "script") {
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    HANDLE output = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(), &output, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
    SetEnvironmentVariableA(kOutputVariable, std::to_string(reinterpret_cast<std::uintptr_t>(output)).c_str());
    // The program looks for its parent's console. The C runtime keeps writing where it wrote.
    FreeConsole();
    if (from == "console") AllocConsole();
    std::string commandLine = argv[2];
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 3;
    program = process.dwProcessId;
    // Until the program ends, or for 30 s.
    for (int tries = 0; tries < 300 && !shown && WaitForSingleObject(process.hProcess, 100); ++tries) {
        EnumWindows(StopAtShown, 0);
    }
    if (shown) {
        const HMODULE hook = LoadLibraryW(L"probe_hook.dll");
        const auto report = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(hook, "ProbeHook")));
        const HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, report, hook, process.dwThreadId);
        const std::string mode = argc == 5 ? argv[4] : "";
        SendMessageW(shown, RegisterWindowMessageW(L"NudgewickProbe"),
                     mode == "fit" ? kFit : WPARAM{mode == "accessible"}, 0);
        UnhookWindowsHookEx(installed);
        PostMessageW(shown, WM_CLOSE, 0, 0);
    }
    DWORD status = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
    TerminateProcess(process.hProcess, 1);
    if (from == "console") PrintConsole();
    std::printf("exit %lu\n", status);
}
