#include "window/frm_main.h"
#include "window/layout.h"
#include "window/product_address.h"

#include "win32_dpi.h"
#include "win32_link.h"
#include "win32_main_window.h"
#include "win32_single_instance.h"
#include "win32_text.h"

namespace nudgewick::win32 {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kSessionTimerId = 2;

// IDOK and IDCANCEL are what Enter and Escape send, so the controls start above them.
constexpr int kFirstControlId = 100;

// Posted by a box that lost the focus, so that its handler runs once the
// focus has settled, and outside WM_KILLFOCUS where no message may be shown.
constexpr UINT kFocusLeftMessage = WM_APP + 1;
constexpr UINT kTrayMessage = WM_APP + 2;

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
    case ControlKind::Label: break;
    }
    return {L"STATIC", control.centred ? DWORD{SS_CENTER} : DWORD{SS_LEFT}, 0};
}

std::wstring InitialText(const ControlLayout& control) {
    return Widen(control.kind == ControlKind::Link ? kProductAddress : control.text);
}

}  // namespace

MainWindow::MainWindow(const CommandLine& commandLine)
    : Timer1_(kTimerId),
      commandLine_(commandLine),
      sessionTimer_(kSessionTimerId),
      form_(FormParts{txtInterval_, txtPixels_, btoGO_, lblURL_, Timer1_, messages_, pointer_, launcher_, commandLine_,
                      sessionTimer_, clock_}),
      tray_({[this] { OnShowRequest(); }, [this](std::size_t index) { OnTrayChoice(index); }}) {}

MainWindow::~MainWindow() {
    for (const HFONT font : fonts_) DeleteObject(font);
}

bool MainWindow::Create(HINSTANCE instance, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) {
        failure_ = Failure("Nudgewick could not register its window class", GetLastError());
        return false;
    }
    // The size follows in WM_CREATE, once the window's DPI is known.
    const HWND hwnd = CreateWindowExW(kExStyle, kClassName, Widen(kWindowTitle).c_str(), kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!hwnd) {
        if (failure_.empty()) failure_ = Failure("Nudgewick could not create its window", GetLastError());
        return false;
    }
    ShowWindow(hwnd, StartingShowCommand(showCommand));
    UpdateWindow(hwnd);
    return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case kFocusLeftMessage: return OnFocusLeft(static_cast<int>(wParam));
    case WM_TIMER: return OnTimer(wParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam, lParam);
    case WM_ACTIVATE: return OnActivate(LOWORD(wParam));
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_CLOSE: return OnClose();
    case WM_DESTROY: return OnDestroy();
    case WM_NCDESTROY: return OnNcDestroy(wParam, lParam);
    default: break;
    }
    if (tray_.HandleMessage(message, wParam, lParam)) return 0;
    if (IsShowRequest(message)) return OnShowRequest();
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT MainWindow::OnCreate() {
    if (!CreateControls()) return -1;
    ConnectControls();
    Relayout(WindowDpi(hwnd_));
    focus_ = Control(ControlId::btoGO);
    form_.Form_Load();
    AcceptShowRequests(hwnd_);
    RefreshTray();
    trayShown_ = tray_.Add(hwnd_, kTrayMessage);
    return 0;
}

// --minimized hides the window behind its icon, or minimises it when the shell took no icon.
int MainWindow::StartingShowCommand(int showCommand) const {
    if (!commandLine_.minimized) return showCommand;
    return trayShown_ ? SW_HIDE : SW_SHOWMINNOACTIVE;
}

// Creating them in table order gives the Tab order.
bool MainWindow::CreateControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    for (const ControlLayout& control : kControls) {
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
    return true;
}

void MainWindow::ConnectControls() {
    txtInterval_.hwnd = Control(ControlId::txtInterval);
    txtPixels_.hwnd = Control(ControlId::txtPixels);
    btoGO_.hwnd = Control(ControlId::btoGO);
    lblURL_.hwnd = Control(ControlId::lblURL);
    MakeKeyboardLink(lblURL_.hwnd);
    Timer1_.owner = hwnd_;
    sessionTimer_.owner = hwnd_;
    messages_.owner = hwnd_;
}

// Sizes the window and places the controls for dpi, in fonts made for it.
void MainWindow::Relayout(UINT dpi) {
    const auto previous = fonts_;
    const int pixelsPerInch = static_cast<int>(dpi);
    const auto scale = [pixelsPerInch](int twips) { return TwipsToPixels(twips, pixelsPerInch); };
    const SIZE size = WindowSizeForClient(scale(kClientWidthTwips), scale(kClientHeightTwips), kStyle, kExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlLayout& control : kControls) {
        const HWND hwnd = Control(control.id);
        SetWindowPos(hwnd, nullptr, scale(control.left), scale(control.top), scale(control.width),
                     scale(control.height), SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT& font = fonts_[static_cast<std::size_t>(control.id)];
        font = CreateControlFont(control, dpi);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (const HFONT font : previous) DeleteObject(font);
}

HWND MainWindow::Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

LRESULT MainWindow::OnCommand(int id, int code) {
    // Enter clicks the focused button or link; in a box it does nothing, as Escape does everywhere.
    if (id == IDOK) {
        const HWND focus = GetFocus();
        if (focus == Control(ControlId::btoGO)) return OnCommand(CommandId(ControlId::btoGO), BN_CLICKED);
        if (focus == Control(ControlId::lblURL)) return OnCommand(CommandId(ControlId::lblURL), STN_CLICKED);
    } else if (id == CommandId(ControlId::btoGO) && code == BN_CLICKED) {
        form_.btoGO_Click();
        RefreshTray();
    } else if (id == CommandId(ControlId::lblURL) && code == STN_CLICKED) {
        form_.lblURL_Click();
    } else if (id == CommandId(ControlId::txtInterval) && code == EN_CHANGE) {
        form_.txtInterval_Change();
    } else if (id == CommandId(ControlId::txtPixels) && code == EN_CHANGE) {
        form_.txtPixels_Change();
    } else if ((id == CommandId(ControlId::txtInterval) || id == CommandId(ControlId::txtPixels)) &&
               code == EN_KILLFOCUS) {
        PostMessageW(hwnd_, kFocusLeftMessage, static_cast<WPARAM>(id), 0);
    }
    return 0;
}

// A box's LostFocus runs only when the focus went to another control of this
// window: not when the window was deactivated (another program or one of our
// own messages has the focus then), and not once the window is closing.
LRESULT MainWindow::OnFocusLeft(int id) {
    const HWND focus = GetFocus();
    if (closing_ || focus == GetDlgItem(hwnd_, id) || !IsChild(hwnd_, focus)) return 0;
    if (id == CommandId(ControlId::txtInterval)) {
        form_.txtInterval_LostFocus();
    } else {
        form_.txtPixels_LostFocus();
    }
    RefreshTray();
    return 0;
}

LRESULT MainWindow::OnTimer(UINT_PTR id) {
    if (id == kTimerId) form_.Timer1_Timer();
    if (id == kSessionTimerId) {
        form_.SessionTimer_Timer();
        RefreshTray();
    }
    return 0;
}

LRESULT MainWindow::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != Control(ControlId::lblURL)) {
        return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, wParam, lParam);
    }
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(kLinkRed, kLinkGreen, kLinkBlue));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// Remembers the focused control when the window is deactivated and gives it
// the focus back on reactivation, as a dialog does.
LRESULT MainWindow::OnActivate(int state) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (IsChild(hwnd_, focus)) focus_ = focus;
    } else if (focus_) {
        SetFocus(focus_);
    }
    return 0;
}

// Moves to where Windows suggests, then sizes everything for the new DPI.
LRESULT MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout(dpi);
    tray_.Remeasure();
    return 0;
}

LRESULT MainWindow::OnClose() {
    closing_ = true;
    DestroyWindow(hwnd_);
    return 0;
}

LRESULT MainWindow::OnDestroy() {
    tray_.Remove();
    PostQuitMessage(0);
    return 0;
}

// The window is gone: later messages must not reach this object.
LRESULT MainWindow::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

// Shows the window even when hidden or minimised, in front of the others.
// Not SW_SHOW: when --minimized kept the window hidden so far, Windows may
// swap the first SW_SHOW for the show state the program was started with.
LRESULT MainWindow::OnShowRequest() {
    ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    return 0;
}

// The entries are the core's, which acts on all but the two that concern the window.
void MainWindow::OnTrayChoice(std::size_t index) {
    const auto menu = form_.TrayMenu();
    if (index >= menu.size()) return;
    switch (menu[index].command) {
    case TrayCommand::ShowWindow: OnShowRequest(); break;
    case TrayCommand::Exit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    default:
        form_.TrayMenu_Click(menu[index]);
        RefreshTray();
        break;
    }
}

void MainWindow::RefreshTray() {
    tray_.SetLook(form_.Running());
    tray_.SetTooltip(form_.TrayTooltip());
    std::vector<std::string> labels;
    for (const TrayMenuEntry& entry : form_.TrayMenu()) labels.push_back(entry.text);
    tray_.SetMenu(std::move(labels));
}

}  // namespace nudgewick::win32
