#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "nudge/idle_tick.h"
#include "startup/command_line.h"
#include "window/controls.h"
#include "window/session.h"
#include "window/timer.h"
#include "window/window_state.h"

namespace nudgewick {

// The controls and system services the window is wired to; the front-end
// owns them and keeps them alive as long as the window.
struct FormParts {
    TextBox& txtInterval;
    TextBox& txtPixels;
    Button& btoGO;
    Label& lblURL;
    SystemTimer& timer;  // drives Timer1: its ticks go to Timer1_Timer
    MessageDialog& messages;
    Pointer& pointer;
    Launcher& launcher;
    const CommandLine& commandLine;  // checked by CheckCommandLine before the window exists
    SystemTimer& sessionTimer;       // its ticks go to SessionTimer_Timer
    const Clock& clock;
    // Where set, the ticks judge "still" by the desktop's idle time rather
    // than by the pointer's position, which the front-end cannot read.
    IdleSource* idle = nullptr;
};

inline constexpr const char* kCaptionStop = "Stop";
inline constexpr const char* kCaptionGo = "Go";

// The notification area's menu, top to bottom: Stop or Go, the sessions, Show
// window and Exit. The front-ends show each entry's text, hand the core's
// commands to TrayMenu_Click, and open the window or end the program themselves.
enum class TrayCommand { StopOrGo, RunFor, RunUntilStopped, ShowWindow, Exit };
struct TrayMenuEntry {
    std::string text;
    TrayCommand command;
    std::chrono::minutes length{};  // for RunFor
};
inline constexpr const char* kRunUntilStopped = "Run until stopped";
inline constexpr const char* kShowWindow = "Show window";
inline constexpr const char* kExit = "Exit";

// The program's only window: it owns the state and handles every event.
// Handlers run one at a time on the thread of the event loop. Start-up,
// Form_Load and GetCommandLine, is defined in startup/form_load.cpp.
class frmMain {
public:
    explicit frmMain(const FormParts& parts) : parts_(parts), Timer1(parts.timer), session_(parts.clock) {}

    void Form_Load();
    void Timer1_Timer();
    void btoGO_Click();
    void txtInterval_LostFocus();
    void txtPixels_LostFocus();
    void txtInterval_Change() {}  // typing alone changes nothing
    void txtPixels_Change() {}
    void lblURL_Click();

    // The command line's words in slots 1..N (N <= MaxArgs); slot 0 is empty.
    std::vector<std::string> GetCommandLine(int MaxArgs = 10) const;

    // For the notification area; defined with the sessions in window/session.cpp.
    // "Stop"/"Go" calls btoGO_Click, which also ends a session; the "Run for"
    // entries call RunFor and "Run until stopped" RunUntilStopped, which both
    // resume stopped ticks as the button does. The icon looks running exactly
    // while Running(), with TrayTooltip() as its tooltip; only handlers change
    // either, so read both, and the menu, again after each.
    std::vector<TrayMenuEntry> TrayMenu() const;
    void TrayMenu_Click(const TrayMenuEntry& entry);
    void RunFor(std::chrono::seconds duration);
    void RunUntil(ClockTime time);
    void RunUntilStopped();
    void SessionTimer_Timer();
    bool Running() const { return Timer1.Interval() != 0; }
    std::string TrayTooltip() const;

    const WindowState& State() const { return state_; }

private:
    void StartTicks();
    void StopTicks();
    void Resume();           // the menu's: stopped ticks started as the button would
    void ArmSessionTimer();  // for the session in force, if any

    FormParts parts_;
    Timer Timer1;
    Session session_;
    std::optional<std::int64_t> sessionEndedAt_;  // when a session stopped the ticks, unless a click did since
    WindowState state_;
};

}  // namespace nudgewick
