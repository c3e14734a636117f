#pragma once
// The core's controls, timer and message box made of Win32 windows.
// Each control is handed its window handle once the main window creates it.

#include "core/controls.h"

#include <windows.h>

namespace nudgewick::win32 {

class Win32TextBox final : public TextBox {
public:
    HWND hwnd = nullptr;
    std::string Text() const override;
    void SetText(const std::string& text) override;
};

class Win32Button final : public Button {
public:
    HWND hwnd = nullptr;
    void SetCaption(const std::string& caption) override;
};

// A static control: screen readers read its text as a label, and hear of each new one.
class Win32Label final : public TextLabel {
public:
    HWND hwnd = nullptr;
    void SetText(const std::string& text) override;
};

// A SetTimer timer of the owner window; its WM_TIMER carries the id.
class Win32Timer final : public SystemTimer {
public:
    explicit Win32Timer(UINT_PTR id) : id_(id) {}
    HWND owner = nullptr;
    void Start(int milliseconds) override;
    void Stop() override;

private:
    UINT_PTR id_;
};

class Win32MessageDialog final : public MessageDialog {
public:
    HWND owner = nullptr;
    void Show(const std::string& text) override;
};

}  // namespace nudgewick::win32
