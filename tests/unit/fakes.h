#pragma once
// Fake controls and services that record what the handlers do to them.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "window/frm_main.h"

namespace nudgewick::testing {

struct FakeTextBox : TextBox {
    std::string text;
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
};

struct FakeButton : Button {
    std::string caption = "Go";
    void SetCaption(const std::string& c) override { caption = c; }
};

struct FakeLabel : Label {
    std::string caption;
    std::string Caption() const override { return caption; }
};

struct FakeTimer : Timer {
    int interval = 2000;
    bool enabled = false;
    int Interval() const override { return interval; }
    void SetInterval(int ms) override { interval = ms; }
    void Enable() override { enabled = true; }
    bool Ticking() const { return enabled && interval != 0; }
};

// Records each message with what the interval box held when it was shown.
struct FakeMessages : MessageDialog {
    const FakeTextBox* box = nullptr;
    std::vector<std::string> shown;
    std::vector<std::string> boxTextWhenShown;
    void Show(const std::string& text) override {
        shown.push_back(text);
        boxTextWhenShown.push_back(box ? box->text : "");
    }
};

// A screen with edges: moves are clamped to [0, width) x [0, height).
struct FakePointer : Pointer {
    Point at{400, 300};
    std::int32_t width = 1024, height = 768;
    bool readFails = false;
    std::vector<std::int32_t> moves;  // horizontal distance of each move asked for
    int reads = 0;

    void Read(Point& where) override {
        ++reads;
        if (!readFails) where = at;
    }
    void MoveBy(std::int32_t dx, std::int32_t dy) override {
        moves.push_back(dx);
        at.x = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{at.x} + dx, 0, width - 1));
        at.y = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{at.y} + dy, 0, height - 1));
    }
};

struct FakeLauncher : Launcher {
    std::vector<std::string> opened;
    std::optional<std::string> failure;
    std::optional<std::string> Open(const std::string& address) override {
        opened.push_back(address);
        return failure;
    }
};

struct FakeCommandLine : CommandLineSource {
    std::string text;
    std::string Text() const override { return text; }
};

// A window wired to fakes, started with the given command-line text.
struct Rig {
    FakeTextBox txtInterval, txtPixels;
    FakeButton btoGO;
    FakeLabel lblURL;
    FakeTimer Timer1;
    FakeMessages messages;
    FakePointer pointer;
    FakeLauncher launcher;
    FakeCommandLine commandLine;
    frmMain form{FormParts{txtInterval, txtPixels, btoGO, lblURL, Timer1, messages, pointer, launcher, commandLine}};

    explicit Rig(std::string commandLineText = "") {
        commandLine.text = std::move(commandLineText);
        messages.box = &txtInterval;
        form.Form_Load();
    }
    const WindowState& state() const { return form.State(); }
};

}  // namespace nudgewick::testing
