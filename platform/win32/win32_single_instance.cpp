#include "platform/win32/win32_single_instance.h"

namespace nudgewick::win32 {
namespace {

// Local\ is the session's namespace: another user's copy is no concern of ours.
constexpr wchar_t kMutexName[] = L"Local\\Nudgewick.OneCopy";
constexpr DWORD kWindowWaitMilliseconds = 5000;
constexpr DWORD kWindowPollMilliseconds = 100;

UINT ShowRequestMessage() {
    static const UINT message = RegisterWindowMessageW(L"Nudgewick.ShowWindow");
    return message;
}

}  // namespace

// The mutex only marks that a copy runs; nobody waits on it. Access denied
// means it exists, made by a copy with more privilege.
Win32SingleInstance::Win32SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
    const DWORD error = GetLastError();
    otherCopy_ = error == ERROR_ALREADY_EXISTS || (!mutex_ && error == ERROR_ACCESS_DENIED);
}

Win32SingleInstance::~Win32SingleInstance() {
    if (mutex_) CloseHandle(mutex_);
}

void RaiseFirstCopy(const wchar_t* windowClass) {
    HWND window = FindWindowW(windowClass, nullptr);
    for (DWORD waited = 0; !window && waited < kWindowWaitMilliseconds; waited += kWindowPollMilliseconds) {
        Sleep(kWindowPollMilliseconds);
        window = FindWindowW(windowClass, nullptr);
    }
    if (!window) return;
    // We were just started, so we may bring a window to the front; the first
    // copy may not unless we hand that right on.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    PostMessageW(window, ShowRequestMessage(), 0, 0);
}

void AcceptShowRequests(HWND window) {
    ChangeWindowMessageFilterEx(window, ShowRequestMessage(), MSGFLT_ALLOW, nullptr);
}

bool IsShowRequest(UINT message) { return message == ShowRequestMessage(); }

}  // namespace nudgewick::win32
