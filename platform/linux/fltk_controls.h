#pragma once
// The window's controls as FLTK widgets, and the timer as an FLTK timeout,
// each behind the interface the core talks to.

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <functional>
#include <string>

#include "core/controls.h"

namespace nudgewick::linux_desktop {

// A one-line text box that reports each move of the keyboard focus away from
// it, and where the focus went.
class FltkTextBox : public Fl_Input, public TextBox {
public:
    FltkTextBox(int x, int y, int width, int height) : Fl_Input(x, y, width, height) {}

    std::string Text() const override { return value(); }
    void SetText(const std::string& text) override { value(text.c_str()); }

    void OnFocusLeft(std::function<void(FocusMove)> handler) { focusLeft_ = std::move(handler); }
    int handle(int event) override;

private:
    void ReportFocusLeft();

    std::function<void(FocusMove)> focusLeft_;
};

class FltkButton : public Fl_Button, public Button {
public:
    FltkButton(int x, int y, int width, int height, const char* caption) : Fl_Button(x, y, width, height, caption) {}

    void SetCaption(const std::string& caption) override { copy_label(caption.c_str()); }
    int handle(int event) override;
};

// The web address: navy, underlined, centred; a click (press and release on
// it) runs its callback, and so do Enter and Space once Tab brought the
// keyboard focus to it. A click leaves the focus where it is.
class FltkLink : public Fl_Box {
public:
    FltkLink(int x, int y, int width, int height, const char* address);

    void draw() override;
    int handle(int event) override;
};

// Calls onTick every period as an FLTK timeout.
class FltkTimer : public SystemTimer {
public:
    FltkTimer(void (*onTick)(void*), void* data) : onTick_(onTick), data_(data) {}
    ~FltkTimer() override;
    FltkTimer(const FltkTimer&) = delete;
    FltkTimer& operator=(const FltkTimer&) = delete;

    void Start(int milliseconds) override;
    void Stop() override;

private:
    static void Tick(void* self);

    void (*onTick_)(void*);
    void* data_;
    double seconds_ = 0;
};

// A modal box with the text and an OK button, centred on the screen, with the
// program's icon; it belongs to the owner (no taskbar entry of its own) while
// the owner is on the screen. Without an owner (before the main window
// exists) it stands alone.
class FltkMessageDialog : public MessageDialog {
public:
    FltkMessageDialog(int fontSize, Fl_Window* owner) : fontSize_(fontSize), owner_(owner) {}
    void Show(const std::string& text) override;

private:
    int fontSize_;
    Fl_Window* owner_;
};

}  // namespace nudgewick::linux_desktop
