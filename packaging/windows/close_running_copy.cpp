// close_running_copy.dll: the installers' step that closes a running Nudgewick, whose
// nudgewick.exe Windows could neither replace nor remove. The MSI calls it as a custom
// action before it checks the files in use, as it installs, upgrades and removes.
#include <windows.h>
// After windows.h, which it needs.
#include <msi.h>

#include "core/version.h"  // kWindowClass, the running copy's window

namespace {

// Asks a copy's window to close, as its close box does, which ends the program; true once that
// copy has ended within 10 s, false when there was none or it is still running.
bool CloseOneCopy() {
    HWND window = FindWindowW(nudgewick::kWindowClass, nullptr);
    if (!window) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
    bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended;
}

}  // namespace

// The custom action's entry: every copy, one after another. It never fails the installation:
// a copy that stays is the Windows Installer's files-in-use case.
extern "C" __declspec(dllexport) UINT __stdcall CloseRunningCopies(MSIHANDLE) {
    while (CloseOneCopy()) {
    }
    return ERROR_SUCCESS;
}
