#include "platform/linux/fltk_controls.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <algorithm>

#include "core/controller.h"
#include "core/keyboard.h"
#include "core/layout.h"
#include "platform/linux/fltk_internals.h"
#include "platform/linux/x11_dpi.h"
#include "platform/linux/x11_window_icon.h"

namespace nudgewick::linux_desktop {
namespace {

bool IsEnter(int key) { return key == FL_Enter || key == FL_KP_Enter; }
bool HasModifier() { return (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) != 0; }

}  // namespace

void FltkTextBox::SetText(const std::string& text) {
    value(text.c_str());
    if (changed_) changed_();
}

int FltkTextBox::handle(int event) {
    // Unclaimed, Enter would reach the window, which moves the focus on to
    // the control below as a form does.
    if (event == FL_KEYBOARD && IsEnter(Fl::event_key()) && !EnterClicks(ControlKind::TextBox)) return 1;
    const int handled = Fl_Input::handle(event);
    if (event == FL_UNFOCUS) ReportFocusLeft();
    if (changed_) changed_();
    return handled;
}

// By the time FL_UNFOCUS arrives, Fl::focus() names the widget taking over:
// nobody when the window lost the focus or is closing.
void FltkTextBox::ReportFocusLeft() {
    Fl_Widget* next = Fl::focus();
    const FocusMove move =
        WhereFocusWent({.inWindow = next != nullptr && window()->contains(next), .backInBox = next == this});
    if (focusLeft_) focusLeft_(move);
    // A message shown meanwhile borrowed the focus; hand it on to where it
    // was going rather than back to this box.
    if (move == FocusMove::ToAnotherControl && Fl::focus() == nullptr) next->take_focus();
}

void FltkButton::SetCaption(const std::string& caption) {
    copy_label(caption.c_str());
    if (changed_) changed_();
}

// A press that moves the focus out of a box holding a refused value opens the
// message before the toolkit marks the button pressed; the release comes and
// goes while the message is open, so no mouse button is down once the press
// is handled. The click stays lost, as on Windows, but the button is drawn
// released.
//
int FltkButton::handle(int event) {
    if (event == FL_KEYBOARD && Fl::focus() == this && IsEnter(Fl::event_key()) && EnterClicks(ControlKind::Button) &&
        !HasModifier()) {
        simulate_key_action();
        do_callback();
        return 1;
    }
    const int handled = Fl_Button::handle(event);
    if (event == FL_PUSH && Fl::event_buttons() == 0) value(0);
    return handled;
}

// Its box paints the window's background under the text: without one, the
// focus rectangle stayed on the screen after the focus left, until the whole
// window was drawn again.
FltkLink::FltkLink(int x, int y, int width, int height, const char* address) : Fl_Box(x, y, width, height, address) {
    box(FL_FLAT_BOX);
    labelcolor(fl_rgb_color(kLinkRed, kLinkGreen, kLinkBlue));
}

// FLTK has no underlined fonts: the line is drawn under the text's baseline.
void FltkLink::draw() {
    draw_box();
    fl_font(labelfont(), labelsize());
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    const int width = static_cast<int>(fl_width(label()) + 0.5);
    const int left = x() + (w() - width) / 2;
    const int baseline = y() + (h() - fl_height()) / 2 + fl_height() - fl_descent();
    fl_draw(label(), left, baseline);
    fl_xyline(left, baseline + 1, left + width - 1);
    if (Fl::focus() == this) draw_focus(FL_NO_BOX, left - 2, y(), width + 4, h());
}

int FltkLink::handle(int event) {
    switch (event) {
    case FL_ENTER: window()->cursor(FL_CURSOR_HAND); return 1;
    case FL_LEAVE: window()->cursor(FL_CURSOR_DEFAULT); return 1;
    case FL_PUSH: return 1;  // claims the release that follows
    case FL_RELEASE:
        if (Fl::event_inside(this)) do_callback();
        return 1;
    case FL_FOCUS:
    case FL_UNFOCUS: redraw(); return 1;
    case FL_KEYBOARD:
        if (Fl::focus() != this || HasModifier() ||
            !((IsEnter(Fl::event_key()) && EnterClicks(ControlKind::Link)) || Fl::event_key() == ' ')) {
            return 0;
        }
        do_callback();
        return 1;
    default: return Fl_Box::handle(event);
    }
}

// Its box paints the background, so that a new text is not drawn over the old.
FltkStatusLine::FltkStatusLine(int x, int y, int width, int height) : Fl_Box(x, y, width, height) { box(FL_FLAT_BOX); }

void FltkStatusLine::SetText(const std::string& text) {
    text_ = text;
    redraw();
    if (changed_) changed_();
}

// Cut a character at a time, never inside one's UTF-8 bytes. The label's
// drawing would read "@" as a symbol: the text is drawn as it is.
void FltkStatusLine::draw() {
    draw_box();
    fl_font(labelfont(), labelsize());
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    std::string shown = text_;
    const auto fits = [this](const std::string& line) { return fl_width(line.c_str()) <= w(); };
    if (!fits(shown)) {
        while (!shown.empty() && !fits(shown + "\u2026")) {
            while ((static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80 && shown.size() > 1) shown.pop_back();
            shown.pop_back();
        }
        shown += "\u2026";
    }
    fl_draw(shown.c_str(), x(), y(), w(), h(), FL_ALIGN_CENTER, nullptr, 0);
}

FltkTimer::~FltkTimer() { Fl::remove_timeout(Tick, this); }

void FltkTimer::Start(int milliseconds) {
    Stop();
    seconds_ = milliseconds / 1000.0;
    Fl::add_timeout(seconds_, Tick, this);
}

void FltkTimer::Stop() { Fl::remove_timeout(Tick, this); }

// Rescheduled before the handler runs, so that a handler that starts the
// timer afresh replaces this schedule instead of doubling it.
void FltkTimer::Tick(void* self) {
    auto* timer = static_cast<FltkTimer*>(self);
    Fl::repeat_timeout(timer->seconds_, Tick, self);
    timer->onTick_(timer->data_);
}

namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;

void Dismiss(Fl_Widget*, void* dialog) { static_cast<Fl_Window*>(dialog)->hide(); }

// Labels read "@" as the start of a symbol; "@@" shows a plain one.
std::string LiteralLabel(const std::string& text) {
    std::string label;
    for (const char c : text) {
        label += c;
        if (c == '@') label += '@';
    }
    return label;
}

// FLTK makes a modal window transient for the window it lists first (the
// tray icon's, as likely as not): the owner goes first, or, when it is not on
// the screen, no window at all.
void ShowOwnedBy(Fl_Window& dialog, Fl_Window* owner) {
    if (owner == nullptr || !owner->shown() || !owner->visible()) return ShowUnowned(dialog);
    Fl::first_window(owner);
    dialog.show();
}

}  // namespace

void FltkMessageDialog::Show(const std::string& text) {
    UseWindowFont();  // a refusal may come before the window's first text
    fl_font(FL_HELVETICA, fontSize_);
    int textWidth = 0, textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
    const int buttonHeight = fontSize_ * 2 + 6;
    const int width = std::max(textWidth, kButtonWidth) + 2 * kMargin;
    const int height = textHeight + buttonHeight + 3 * kMargin;

    Fl_Window dialog((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height, kMessageTitle);
    const std::string label = LiteralLabel(text);
    Fl_Box message(kMargin, kMargin, width - 2 * kMargin, textHeight, label.c_str());
    message.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    message.labelsize(fontSize_);
    const std::string button = Tr(kMessageButton);
    Fl_Button ok((width - kButtonWidth) / 2, height - kMargin - buttonHeight, kButtonWidth, buttonHeight,
                 button.c_str());
    ok.labelsize(fontSize_);
    ok.shortcut(FL_Enter);
    ok.callback(Dismiss, &dialog);
    dialog.end();
    dialog.callback(Dismiss, &dialog);  // Escape and the close box dismiss it too
    dialog.set_modal();
    SetWindowIcons(dialog);
    // A message shown while another one waits stands for it until it closes.
    const Open* const covered = open_;
    const Open open{&dialog, &message, &ok, text};
    SetOpen(&open);
    ShowOwnedBy(dialog, owner_);
    while (dialog.shown()) Fl::wait();
    SetOpen(covered);
}

void FltkMessageDialog::SetOpen(const Open* open) {
    open_ = open;
    if (changed_) changed_();
}

}  // namespace nudgewick::linux_desktop
