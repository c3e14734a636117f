#include "platform/win32/win32_main_window.h"

#include "core/accessible.h"
#include "core/keyboard.h"
#include "core/product_address.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_link.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr UINT_PTR kTickTimerId = 1;
constexpr UINT_PTR kSessionTimerId = 2;
constexpr UINT_PTR kScheduleTimerId = 3;

// IDOK and IDCANCEL are what Enter and Escape send, so the controls start above them.
constexpr int kFirstControlId = 100;

// Posted by a box that lost the focus, so that its handler runs once the
// focus has settled, and outside WM_KILLFOCUS where no message may be shown.
constexpr UINT kFocusLeftMessage = WM_APP + 1;
constexpr UINT kTrayMessage = WM_APP + 2;

// The table's controls, then the status line, which is apart from it.
constexpr auto kWindowControls = [] {
    std::array<const ControlLayout*, kControls.size() + 1> all{};
    for (std::size_t i = 0; i < kControls.size(); ++i) all[i] = &kControls[i];
    all.back() = &kStatusLine;
    return all;
}();

int CommandId(ControlId id) { return kFirstControlId + static_cast<int>(id); }

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(const ControlLayout& control) {
    switch (control.kind) {
    case ControlKind::Button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::TextBox: return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Link: return {L"STATIC", WS_TABSTOP | SS_CENTER | SS_NOTIFY, 0};
    case ControlKind::Label:
        if (control.id == ControlId::State) return {L"STATIC", SS_CENTER | SS_ENDELLIPSIS | SS_NOPREFIX, 0};
        break;
    }
    return {L"STATIC", control.centred ? DWORD{SS_CENTER} : DWORD{SS_LEFT}, 0};
}

std::wstring InitialText(const ControlLayout& control) {
    return Widen(control.kind == ControlKind::Link ? kProductAddress : ShownText(control));
}

}  // namespace

Win32MainWindow::Win32MainWindow(const StartSettings& start, std::wstring command, const Win32SingleInstance* commands,
                                 HINSTANCE instance, int showCommand, Console& console)
    : commands_(commands),
      instance_(instance),
      showCommand_(showCommand),
      className_(start.commandAt ? kOwnCopyClassName : kClassName),
      minimized_(start.minimized),
      tickTimer_(kTickTimerId),
      sessionTimer_(kSessionTimerId),
      scheduleTimer_(kScheduleTimerId),
      pointer_(console),
      tray_({[this] { Present(); }, [this](const TrayMenuEntry& entry) { OnTrayEntryChosen(entry); }}),
      trayViews_(tray_),
      processes_(std::move(command), [this](std::int32_t pid, const ProcessEnd& end) { OnProcessEnded(pid, end); }),
      controller_({.intervalBox = intervalBox_,
                   .pixelsBox = pixelsBox_,
                   .startStopButton = startStopButton_,
                   .tickTimer = tickTimer_,
                   .sessionTimer = sessionTimer_,
                   .scheduleTimer = scheduleTimer_,
                   .messages = messages_,
                   .pointer = pointer_,
                   .launcher = launcher_,
                   .clock = clock_,
                   .tray = trayViews_,
                   .statusLine = statusLine_,
                   .processes = processes_,
                   .desktop = &desktop_},
                  start) {}

Win32MainWindow::~Win32MainWindow() {
    for (const HFONT font : fonts_) DeleteObject(font);
}

std::optional<std::string> Win32MainWindow::Show() {
    const HINSTANCE instance = instance_;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className_;
    if (!RegisterClassExW(&windowClass))
        return Failure("Nudgewick could not register its window class", GetLastError());
    // The size follows in WM_CREATE, once the window's DPI is known.
    const HWND hwnd = CreateWindowExW(kExStyle, className_, Widen(kWindowTitle).c_str(), kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!hwnd) return failure_.empty() ? Failure("Nudgewick could not create its window", GetLastError()) : failure_;
    ShowWindow(hwnd, StartingShowCommand(showCommand_));
    UpdateWindow(hwnd);
    return std::nullopt;
}

int Win32MainWindow::Run() {
    for (MSG msg;;) {
        const auto& handles = processes_.Handles();
        const auto count = static_cast<DWORD>(handles.size());
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count) processes_.OnSignalled(woke - WAIT_OBJECT_0);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            if (!IsDialogMessageW(hwnd_, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case kFocusLeftMessage: return OnFocusLeft(static_cast<int>(wParam));
    case WM_TIMER: return OnTimer(wParam);
    case WM_HOTKEY:
        if (wParam == Win32Hotkey::kId) controller_.OnHotkey();
        return 0;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam, lParam);
    case WM_ACTIVATE: return OnActivate(LOWORD(wParam));
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_CLOSE: return OnClose();
    case WM_DESTROY: return OnDestroy();
    case WM_NCDESTROY: return OnNcDestroy(wParam, lParam);
    case WM_COPYDATA: return OnCopyData(wParam, lParam);
    case WM_WTSSESSION_CHANGE: return desktop_.OnSessionChange(wParam), controller_.OnDesktopChanged(), 0;
    case WM_POWERBROADCAST: return controller_.OnDesktopChanged(), TRUE;
    default: break;
    }
    if (tray_.HandleMessage(message, wParam, lParam)) return 0;
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Win32MainWindow::OnCreate() {
    if (!CreateControls()) return -1;
    ConnectControls();
    Relayout(WindowDpi(hwnd_));
    focus_ = Control(ControlId::StartStopButton);
    controller_.Load();
    AcceptCommandLines(hwnd_);
    Win32DesktopWatch::Register(hwnd_);
    trayShown_ = tray_.Add(hwnd_, kTrayMessage);
    return 0;
}

int Win32MainWindow::StartingShowCommand(int showCommand) const {
    switch (ShowingAtStart(minimized_, trayShown_)) {
    case WindowShowing::Hidden: return SW_HIDE;
    case WindowShowing::Iconified: return SW_SHOWMINNOACTIVE;
    case WindowShowing::Normal: break;
    }
    return showCommand;
}

// Creating them in table order gives the Tab order.
bool Win32MainWindow::CreateControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    for (const ControlLayout* layout : kWindowControls) {
        const ControlLayout& control = *layout;
        const ControlClass windowClass = ClassOf(control);
        const HWND hwnd =
            CreateWindowExW(windowClass.exStyle, windowClass.name, InitialText(control).c_str(),
                            WS_CHILD | WS_VISIBLE | windowClass.style, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandId(control.id))), instance, nullptr);
        if (!hwnd) {
            failure_ =
                Failure("Nudgewick could not create its " + Narrow(windowClass.name) + " control", GetLastError());
            return false;
        }
        controls_[static_cast<std::size_t>(control.id)] = hwnd;
    }
    PutLabelsBeforeBoxes();
    return true;
}

// Windows names a box after the static control just before it among the
// window's children, as screen readers read it: each label moves there. The
// labels take no focus, so the Tab order stays the table's.
void Win32MainWindow::PutLabelsBeforeBoxes() {
    for (const ControlLayout& control : kControls) {
        const auto label = LabelOf(control.id);
        if (!label) continue;
        const HWND box = Control(control.id);
        const HWND before = GetWindow(box, GW_HWNDPREV);
        SetWindowPos(Control(*label), before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32MainWindow::ConnectControls() {
    intervalBox_.hwnd = Control(ControlId::IntervalBox);
    pixelsBox_.hwnd = Control(ControlId::PixelsBox);
    startStopButton_.hwnd = Control(ControlId::StartStopButton);
    statusLine_.hwnd = Control(ControlId::State);
    MakeKeyboardLink(Control(ControlId::Link));
    tickTimer_.owner = hwnd_;
    sessionTimer_.owner = hwnd_;
    scheduleTimer_.owner = hwnd_;
    messages_.owner = hwnd_;
}

// Sizes the window and places the controls for dpi, in fonts made for it.
void Win32MainWindow::Relayout(UINT dpi) {
    const auto previous = fonts_;
    const WindowPixels window = LayOutForTexts(dpi);
    const SIZE size = WindowSizeForClient(window.width, window.height, kStyle, kExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlLayout* layout : kWindowControls) {
        const ControlId id = layout->id;
        const Rect& place = window.Of(id);
        SetWindowPos(Control(id), nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT& font = fonts_[static_cast<std::size_t>(id)];
        font = CreateControlFont(*layout, window.FontSizeOf(id), dpi);
        SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (const HFONT font : previous) DeleteObject(font);
}

HWND Win32MainWindow::Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

LRESULT Win32MainWindow::OnCommand(int id, int code) {
    if (id == IDOK) {
        const HWND focus = GetFocus();
        for (const ControlLayout& control : kControls) {
            if (Control(control.id) != focus || !EnterClicks(control.kind)) continue;
            return OnCommand(CommandId(control.id), control.kind == ControlKind::Link ? STN_CLICKED : BN_CLICKED);
        }
    } else if (id == CommandId(ControlId::StartStopButton) && code == BN_CLICKED) {
        controller_.OnStartStopClicked();
    } else if (id == CommandId(ControlId::Link) && code == STN_CLICKED) {
        controller_.OnLinkClicked();
    } else if ((id == CommandId(ControlId::IntervalBox) || id == CommandId(ControlId::PixelsBox)) &&
               code == EN_KILLFOCUS) {
        PostMessageW(hwnd_, kFocusLeftMessage, static_cast<WPARAM>(id), 0);
    }
    return 0;
}

// Where the focus went once it settled: while the window is deactivated,
// another program or one of our own messages has it.
LRESULT Win32MainWindow::OnFocusLeft(int id) {
    const HWND focus = GetFocus();
    const FocusMove move = WhereFocusWent(
        {.inWindow = IsChild(hwnd_, focus) != FALSE, .backInBox = focus == GetDlgItem(hwnd_, id), .closing = closing_});
    if (id == CommandId(ControlId::IntervalBox)) {
        controller_.OnIntervalBoxLeft(move);
    } else {
        controller_.OnPixelsBoxLeft(move);
    }
    return 0;
}

LRESULT Win32MainWindow::OnTimer(UINT_PTR id) {
    if (id == kTickTimerId) controller_.OnTick();
    if (id == kSessionTimerId) controller_.OnSessionTimer();
    if (id == kScheduleTimerId) controller_.OnScheduleTimer();
    return 0;
}

LRESULT Win32MainWindow::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != Control(ControlId::Link)) {
        return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, wParam, lParam);
    }
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(kLinkRed, kLinkGreen, kLinkBlue));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// Remembers the focused control when the window is deactivated and gives it
// the focus back on reactivation, as a dialog does.
LRESULT Win32MainWindow::OnActivate(int state) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (IsChild(hwnd_, focus)) focus_ = focus;
    } else if (focus_) {
        SetFocus(focus_);
    }
    return 0;
}

// Moves to where Windows suggests, then sizes everything for the new DPI.
LRESULT Win32MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout(dpi);
    tray_.Remeasure();
    return 0;
}

LRESULT Win32MainWindow::OnClose() {
    closing_ = true;
    DestroyWindow(hwnd_);
    return 0;
}

LRESULT Win32MainWindow::OnDestroy() {
    hotkey_.Unregister();
    tray_.Remove();
    Win32DesktopWatch::Unregister(hwnd_);
    PostQuitMessage(exitStatus_);
    return 0;
}

// The window is gone: later messages must not reach this object.
LRESULT Win32MainWindow::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

// Not SW_SHOW: when --minimized kept the window hidden so far, Windows may
// swap the first SW_SHOW for the show state the program was started with.
void Win32MainWindow::Present() {
    ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
}

void Win32MainWindow::Hide() {
    ShowWindow(hwnd_, ShowingAtStart(true, trayShown_) == WindowShowing::Hidden ? SW_HIDE : SW_MINIMIZE);
}

// A command line that a second start handed over; any other data is left alone.
LRESULT Win32MainWindow::OnCopyData(WPARAM asker, LPARAM data) {
    return commands_ != nullptr && commands_->Answer(hwnd_, asker, data) ? TRUE : FALSE;
}

void Win32MainWindow::OnProcessEnded(std::int32_t pid, const ProcessEnd& end) {
    const auto exitStatus = controller_.OnProcessEnded(pid, end);
    if (!exitStatus) return;
    exitStatus_ = *exitStatus;
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Win32MainWindow::OnTrayEntryChosen(const TrayMenuEntry& entry) {
    switch (controller_.OnTrayEntryChosen(entry)) {
    case TrayAction::ShowWindow: Present(); break;
    case TrayAction::Exit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    case TrayAction::Handled: break;
    }
}

}  // namespace nudgewick::win32
