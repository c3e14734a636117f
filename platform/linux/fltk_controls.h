#pragma once
// The window's controls as FLTK widgets, and the timer as an FLTK timeout,
// each behind the interface the core talks to.

#include <FL/Fl.H>
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
    void SetText(const std::string& text) override;

    void OnFocusLeft(std::function<void(FocusMove)> handler) { focusLeft_ = std::move(handler); }
    // CHANGED is called after each event the box handled and each new text,
    // for assistive technologies to hear of its text and caret.
    void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    int handle(int event) override;
    // Where the text starts, from the box's left edge, as the box draws it.
    int TextLeft() const { return Fl::box_dx(box()) + 3 - xscroll(); }

private:
    void ReportFocusLeft();

    std::function<void(FocusMove)> focusLeft_;
    std::function<void()> changed_;
};

class FltkButton : public Fl_Button, public Button {
public:
    FltkButton(int x, int y, int width, int height, const char* caption) : Fl_Button(x, y, width, height, caption) {}

    void SetCaption(const std::string& caption) override;
    // CHANGED is called after each new caption.
    void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    int handle(int event) override;

private:
    std::function<void()> changed_;
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

// One line of text, centred, cut short with an ellipsis where it is wider
// than its room.
class FltkStatusLine : public Fl_Box, public TextLabel {
public:
    FltkStatusLine(int x, int y, int width, int height);

    void SetText(const std::string& text) override;
    const std::string& Text() const { return text_; }
    // CHANGED is called after each new text.
    void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    void draw() override;

private:
    std::string text_;
    std::function<void()> changed_;
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

    // The message on the screen, for assistive technologies.
    struct Open {
        Fl_Window* window;
        Fl_Box* text;
        Fl_Button* ok;
        const std::string& message;
    };
    const Open* Opened() const { return open_; }
    // CHANGED is called as a message opens and as it closes.
    void OnOpenChanged(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void SetOpen(const Open* open);

    int fontSize_;
    Fl_Window* owner_;
    const Open* open_ = nullptr;
    std::function<void()> changed_;
};

}  // namespace nudgewick::linux_desktop
