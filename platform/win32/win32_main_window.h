#pragma once
#include <array>
#include <optional>
#include <string>

#include "core/controller.h"
#include "core/layout.h"
#include "core/shell.h"
#include "core/tray.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_hotkey.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_pointer.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_tray.h"

namespace nudgewick::win32 {

// The program's one window. It builds the controls from the layout table,
// keeps them sized for the monitor's DPI and turns their notifications into
// calls of the core Controller's handlers, which make every decision.
class Win32MainWindow final : public ProgramWindow {
public:
    // A second copy and the installer (packaging/windows/nudgewick.nsi.in) find the window by it.
    static constexpr const wchar_t* kClassName = kWindowClass;
    // The window of a start with "--", which runs beside the session's copy and takes no commands.
    static constexpr wchar_t kOwnCopyClassName[] = L"NudgewickCommandWindow";

    // command: what follows "--" on the command line. commands: the channel
    // whose command lines come to this window, none for a start with "--".
    // showCommand: how the program was asked to show its window.
    // console: where the system's refusals of a nudge are said.
    Win32MainWindow(const StartSettings& start, std::wstring command, const Win32SingleInstance* commands,
                    HINSTANCE instance, int showCommand, Console& console);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    Controller& Program() override { return controller_; }
    // Creates and shows the window.
    std::optional<std::string> Show() override;
    // Besides the messages, the loop waits for the processes it follows to end.
    int Run() override;
    void GrabHotkey(const Hotkey& hotkey, HotkeyAnswer answered) override {
        answered({hotkey_.Grab(hwnd_, hotkey), std::nullopt});
    }
    void Hide() override;
    // Shows the window even when hidden or minimised, in front of the others.
    void Present() override;
    void Close() override { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

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
    LRESULT OnCopyData(WPARAM asker, LPARAM data);
    void OnTrayEntryChosen(const TrayMenuEntry& entry);
    void OnProcessEnded(std::int32_t pid, const ProcessEnd& end);
    int StartingShowCommand(int showCommand) const;

    bool CreateControls();
    void PutLabelsBeforeBoxes();
    void ConnectControls();
    void Relayout(UINT dpi);
    HWND Control(ControlId id) const;

    HWND hwnd_ = nullptr;
    // The table's controls, then the status line.
    std::array<HWND, kControls.size() + 1> controls_{};
    HWND focus_ = nullptr;  // the control that gets the focus back on activation
    bool closing_ = false;
    const Win32SingleInstance* commands_;
    HINSTANCE instance_;
    int showCommand_;
    int exitStatus_ = 0;
    const wchar_t* className_;
    bool minimized_;
    bool trayShown_ = false;  // the shell took the icon when the window was created
    std::array<HFONT, kControls.size() + 1> fonts_{};
    std::string failure_;

    Win32TextBox intervalBox_;
    Win32TextBox pixelsBox_;
    Win32Button startStopButton_;
    Win32Label statusLine_;
    Win32Timer tickTimer_;
    Win32Timer sessionTimer_;
    Win32Timer scheduleTimer_;
    Win32MessageDialog messages_;
    Win32Pointer pointer_;
    Win32Launcher launcher_;
    SystemClock clock_;
    Win32TrayIcon tray_;
    ChangedViews trayViews_;
    Win32Processes processes_;
    Win32DesktopWatch desktop_;
    Controller controller_;
    Win32Hotkey hotkey_;
};

}  // namespace nudgewick::win32
