// Prints how the running Nudgewick's window is shown (shown, minimized or hidden) and its button's caption.
#include <windows.h>

#include <cstdio>

#include "core/version.h"  // kWindowClass

int main() {
    const HWND window = FindWindowW(nudgewick::kWindowClass, nullptr);
    if (!window) return 1;
    wchar_t caption[16] = L"";
    GetWindowTextW(FindWindowExW(window, nullptr, L"BUTTON", nullptr), caption, 16);
    const char* shown = IsIconic(window) ? "minimized" : IsWindowVisible(window) ? "shown" : "hidden";
    std::printf("%s %ls\n", shown, caption);
}
