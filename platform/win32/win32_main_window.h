#pragma once
#include "window/frm_main.h"
#include "window/layout.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "win32_controls.h"
#include "win32_launcher.h"
#include "win32_pointer.h"
#include "win32_tray.h"

namespace nudgewick::win32 {

// The program's one window. It builds the controls from the layout table,
// keeps them sized for the monitor's DPI and turns their notifications into
// calls of frmMain's handlers, which make every decision. The icon in the
// notification area shows what the handlers left behind.
class MainWindow {
public:
    static constexpr wchar_t kClassName[] = L"NudgewickMainWindow";

    explicit MainWindow(const CommandLine& commandLine);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window; on false, FailureText says why.
    bool Create(HINSTANCE instance, int showCommand);
    const std::string& FailureText() const { return failure_; }
    HWND Hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    LRESULT OnCommand(int id, int code);
    LRESULT OnFocusLeft(int id);
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(int state);
    LRESULT OnDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT OnClose();
    LRESULT OnDestroy();
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowRequest();
    void OnTrayChoice(std::size_t index);
    void RefreshTray();
    int StartingShowCommand(int showCommand) const;

    bool CreateControls();
    void ConnectControls();
    void Relayout(UINT dpi);
    HWND Control(ControlId id) const;

    HWND hwnd_ = nullptr;
    std::array<HWND, kControls.size()> controls_{};
    HWND focus_ = nullptr;  // the control that gets the focus back on activation
    bool closing_ = false;
    bool trayShown_ = false;  // the shell took the icon when the window was created
    std::array<HFONT, kControls.size()> fonts_{};
    std::string failure_;

    EditBox txtInterval_;
    EditBox txtPixels_;
    PushButton btoGO_;
    StaticLabel lblURL_;
    WindowTimer Timer1_;
    MessageBoxDialog messages_;
    SystemPointer pointer_;
    CmdLauncher launcher_;
    CommandLine commandLine_;
    WindowTimer sessionTimer_;
    SystemClock clock_;
    frmMain form_;
    TrayIcon tray_;
};

}  // namespace nudgewick::win32
