#pragma once
#include <string>
#include <vector>

#include "window/controls.h"
#include "window/window_state.h"

namespace nudgewick {

// The controls and system services the window is wired to; the front-end
// owns them and keeps them alive as long as the window.
struct FormParts {
    TextBox& txtInterval;
    TextBox& txtPixels;
    Button& btoGO;
    Label& lblURL;
    Timer& Timer1;
    MessageDialog& messages;
    Pointer& pointer;
    Launcher& launcher;
    CommandLineSource& commandLine;
};

inline constexpr std::int16_t kIntervalFloor = 3000;
inline constexpr std::int16_t kDefaultInterval = 10000;
inline constexpr std::int16_t kDefaultPixels = 3;

inline constexpr const char* kCaptionStop = "Stop";
inline constexpr const char* kCaptionGo = "Go";
inline constexpr const char* kFloorMessage = "You must pick a value greater than 3000.";
inline constexpr const char* kIntervalMessage =
    "The interval must be a whole number of milliseconds from 3000 to 32767.";
inline constexpr const char* kPixelsMessage = "The distance must be a whole number of pixels from -32768 to 32767.";

// The program's only window: it owns the state and handles every event.
// Handlers run one at a time on the thread of the event loop.
class frmMain {
public:
    explicit frmMain(const FormParts& parts) : parts_(parts) {}

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

    const WindowState& State() const { return state_; }

private:
    FormParts parts_;
    WindowState state_;
};

}  // namespace nudgewick
