#include "platform/win32/win32_single_instance.h"

#include <vector>

#include "core/command_channel.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

// Local\ is the session's namespace: another user's copy is no concern of ours.
constexpr wchar_t kMutexName[] = L"Local\\Nudgewick.OneCopy";
constexpr DWORD kWindowWaitMilliseconds = 5000;
constexpr DWORD kWindowPollMilliseconds = 100;
// What a WM_COPYDATA carries: a command line, or the answer to one.
constexpr ULONG_PTR kCommandLine = 0x4e574331;  // "NWC1"
constexpr ULONG_PTR kAnswer = 0x4e574131;       // "NWA1"
constexpr wchar_t kAskerClass[] = L"NudgewickAsker";

std::string_view Bytes(const COPYDATASTRUCT& data) {
    if (data.lpData == nullptr) return {};
    return {static_cast<const char*>(data.lpData), data.cbData};
}

struct Asking {
    HWND copy;
    std::optional<std::string> answer;
};

// The asking start's window takes the answer of the copy it asked, and only that.
LRESULT CALLBACK AskerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* asking = reinterpret_cast<Asking*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_COPYDATA || asking == nullptr || reinterpret_cast<HWND>(wParam) != asking->copy || !lParam) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data.dwData == kAnswer) asking->answer = Utf8FromUtf16(Bytes(data), kLongestAnswer).value_or("");
    return TRUE;
}

// The user a process runs as: its token's TOKEN_USER, empty when it cannot be read.
std::vector<BYTE> UserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (user.empty() || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
    CloseHandle(token);
    return user;
}

// The window names itself in the message, so it is checked: an asking
// start's window, in another process that runs as our user. A process of
// another user's may not even read the token.
bool IsAsker(HWND window) {
    wchar_t className[std::size(kAskerClass) + 1] = L"";
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (GetClassNameW(window, className, static_cast<int>(std::size(className))) == 0 ||
        std::wstring_view(className) != kAskerClass || process == 0 || process == GetCurrentProcessId()) {
        return false;
    }
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr) return false;
    const std::vector<BYTE> theirs = UserOf(handle), ours = UserOf(GetCurrentProcess());
    CloseHandle(handle);
    return !theirs.empty() && !ours.empty() &&
           EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs.data())->User.Sid,
                    reinterpret_cast<const TOKEN_USER*>(ours.data())->User.Sid);
}

HWND WaitForWindow(const wchar_t* windowClass) {
    HWND window = FindWindowW(windowClass, nullptr);
    for (DWORD waited = 0; !window && waited < kWindowWaitMilliseconds; waited += kWindowPollMilliseconds) {
        Sleep(kWindowPollMilliseconds);
        window = FindWindowW(windowClass, nullptr);
    }
    return window;
}

// The text of a WM_COPYDATA that carries a command line from a start of this
// user's; nothing for any other.
std::optional<std::string> CommandLineIn(WPARAM asker, LPARAM data) {
    if (!data) return std::nullopt;
    const auto& copied = *reinterpret_cast<const COPYDATASTRUCT*>(data);
    if (copied.dwData != kCommandLine || !IsAsker(reinterpret_cast<HWND>(asker))) return std::nullopt;
    return Utf8FromUtf16(Bytes(copied), kLongestCommandLine);
}

void SendAnswer(HWND copy, WPARAM asker, const std::string& answer) {
    const std::wstring text = Widen(answer);
    COPYDATASTRUCT data{kAnswer, static_cast<DWORD>(text.size() * sizeof(wchar_t)), const_cast<wchar_t*>(text.data())};
    SendMessageTimeoutW(reinterpret_cast<HWND>(asker), WM_COPYDATA, reinterpret_cast<WPARAM>(copy),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kAnswerWaitMilliseconds, nullptr);
}

}  // namespace

// The mutex only marks that a copy runs; nobody waits on it. Access denied
// means it exists, made by a copy with more privilege.
SingleInstance::Found Win32SingleInstance::Claim(bool claim) {
    mutex_ = claim ? CreateMutexW(nullptr, FALSE, kMutexName) : OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
    const DWORD error = GetLastError();
    const bool otherCopy = error == ERROR_ACCESS_DENIED || (claim ? error == ERROR_ALREADY_EXISTS : mutex_ != nullptr);
    if (otherCopy || !claim) CloseMutex();
    if (otherCopy) return Found::OtherCopy;
    return claim ? Found::Claimed : Found::NoCopy;
}

void Win32SingleInstance::CloseMutex() {
    if (mutex_) CloseHandle(mutex_);
    mutex_ = nullptr;
}

// The window stays until the program's loop ends, but takes nothing more.
void Win32SingleInstance::Release() {
    released_ = true;
    CloseMutex();
}

bool Win32SingleInstance::Answer(HWND copy, WPARAM asker, LPARAM data) const {
    const auto text = released_ || !handle_ ? std::nullopt : CommandLineIn(asker, data);
    const auto answer = text ? handle_(*text) : std::nullopt;
    if (answer) SendAnswer(copy, asker, *answer);
    return answer.has_value();
}

// While it waits for the answer, this thread takes the copy's WM_COPYDATA
// back: SendMessageTimeout handles messages sent to it meanwhile.
std::optional<std::string> Win32SingleInstance::HandOver(std::string_view text) {
    const std::wstring commandLine = Widen(text);
    const HWND copy = WaitForWindow(windowClass_);
    if (!copy) return std::nullopt;
    // We were just started, so we may bring a window to the front; the first
    // copy may not unless we hand that right on.
    DWORD process = 0;
    GetWindowThreadProcessId(copy, &process);
    AllowSetForegroundWindow(process);
    WNDCLASSEXW askerClass{};
    askerClass.cbSize = sizeof askerClass;
    askerClass.lpfnWndProc = AskerProc;
    askerClass.hInstance = GetModuleHandleW(nullptr);
    askerClass.lpszClassName = kAskerClass;
    RegisterClassExW(&askerClass);
    const HWND asker =
        CreateWindowExW(0, kAskerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, askerClass.hInstance, nullptr);
    Asking asking{copy, std::nullopt};
    SetWindowLongPtrW(asker, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&asking));
    ChangeWindowMessageFilterEx(asker, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    COPYDATASTRUCT data{kCommandLine, static_cast<DWORD>(commandLine.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(commandLine.data())};
    DWORD_PTR taken = FALSE;
    const bool answered =
        SendMessageTimeoutW(copy, WM_COPYDATA, reinterpret_cast<WPARAM>(asker), reinterpret_cast<LPARAM>(&data),
                            SMTO_NORMAL, kAnswerWaitMilliseconds, &taken) != 0;
    DestroyWindow(asker);
    if (!answered) return std::nullopt;
    return taken ? asking.answer.value_or("") : "";
}

void AcceptCommandLines(HWND window) { ChangeWindowMessageFilterEx(window, WM_COPYDATA, MSGFLT_ALLOW, nullptr); }

}  // namespace nudgewick::win32
