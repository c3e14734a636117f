#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void PutWindowText(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Widen(text).c_str()); }

}  // namespace

std::string Win32TextBox::Text() const { return WindowText(hwnd); }
void Win32TextBox::SetText(const std::string& text) { PutWindowText(hwnd, text); }
void Win32Label::SetText(const std::string& text) { PutWindowText(hwnd, text); }

void Win32Button::SetCaption(const std::string& caption) { PutWindowText(hwnd, caption); }

// SetTimer on a running id starts its countdown afresh.
void Win32Timer::Start(int milliseconds) { SetTimer(owner, id_, static_cast<UINT>(milliseconds), nullptr); }
void Win32Timer::Stop() { KillTimer(owner, id_); }

void Win32MessageDialog::Show(const std::string& text) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(kMessageTitle).c_str(), MB_OK);
}

}  // namespace nudgewick::win32
