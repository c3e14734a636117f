#include "platform/linux/fltk_accessibility.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdio>

#include "core/accessible_text.h"
#include "core/catalogue.h"
#include "core/layout.h"
#include "platform/linux/fltk_internals.h"

namespace nudgewick::linux_desktop {
namespace {

using Node = AccessibleNode;

FltkAccessibility* hooked = nullptr;  // whose Dispatch FLTK calls for every event

BoxView ReadBox(const FltkTextBox& box) {
    const std::string text = box.value();
    const int caret = CharacterOffset(text, static_cast<std::size_t>(box.position()));
    const int mark = CharacterOffset(text, static_cast<std::size_t>(box.mark()));
    return {text, caret, std::min(caret, mark), std::max(caret, mark)};
}

Rect OnScreen(const Fl_Window& window) { return {window.x(), window.y(), window.w(), window.h()}; }

Rect OnScreen(const Fl_Window& window, const Fl_Widget& widget) {
    return {window.x() + widget.x(), window.y() + widget.y(), widget.w(), widget.h()};
}

}  // namespace

void FltkAccessibility::Connect(DbusSessionBus* bus) {
    if (bus == nullptr || status_) return;
    status_.emplace(
        *bus, [this](const std::string& address) { TurnOn(address); }, [this] { TurnOff(); });
}

FltkAccessibility::~FltkAccessibility() {
    Unhook();
    Fl::remove_timeout(DropBridge, this);
    Fl::remove_timeout(RunLater, this);
}

void FltkAccessibility::TurnOn(const std::string& address) {
    if (bridge_ != nullptr) return;
    bridge_ = AtspiBridge::Connect(address, *this);
    if (bridge_ == nullptr) {
        std::fputs(Format(Tr("nudgewick: cannot reach the accessibility bus at %1\n"), {address}).c_str(), stderr);
        return;
    }
    bridge_->OnLost([this] { TurnOff(); });
    const auto refresh = [this] { Refresh(); };
    controls_.intervalBox.OnChanged(refresh);
    controls_.pixelsBox.OnChanged(refresh);
    controls_.startStopButton.OnChanged(refresh);
    controls_.statusLine.OnChanged(refresh);
    controls_.messages.OnOpenChanged([this] {
        if (controls_.messages.Opened() != nullptr) ++messagesShown_;
        Refresh();
    });
    hooked = this;
    Fl::event_dispatch(Dispatch);
}

// Keys held back go to the window; the bridge is deleted once outside the
// handler that may have called this.
void FltkAccessibility::TurnOff() {
    if (bridge_ == nullptr) return;
    Unhook();
    keys_.ReleaseAll();
    dropped_ = std::move(bridge_);
    Fl::add_timeout(0.0, DropBridge, this);
}

// Events and changes no longer come here.
void FltkAccessibility::Unhook() {
    if (hooked == this) {
        Fl::event_dispatch(nullptr);
        hooked = nullptr;
    }
    controls_.intervalBox.OnChanged(nullptr);
    controls_.pixelsBox.OnChanged(nullptr);
    controls_.startStopButton.OnChanged(nullptr);
    controls_.statusLine.OnChanged(nullptr);
    controls_.messages.OnOpenChanged(nullptr);
}

void FltkAccessibility::DropBridge(void* self) { static_cast<FltkAccessibility*>(self)->dropped_.reset(); }

void FltkAccessibility::Refresh() {
    if (bridge_ != nullptr) bridge_->Refresh();
}

// Every event of the window passes here while accessibility is on: keys are
// held for the screen reader, the rest handled as usual, and the clients
// hear what each one changed.
int FltkAccessibility::Dispatch(int event, Fl_Window* window) {
    FltkAccessibility* const self = hooked;
    const bool key = (event == FL_KEYDOWN || event == FL_KEYUP) && fl_xevent != nullptr &&
                     (fl_xevent->type == KeyPress || fl_xevent->type == KeyRelease);
    if (self != nullptr && key) {
        self->HoldKey(event, window);
        return 1;
    }
    const int handled = Fl::handle_(event, window);
    if (self != nullptr && hooked == self) self->Refresh();
    return handled;
}

void FltkAccessibility::HoldKey(int event, Fl_Window* window) {
    const auto held = keys_.Hold(event, window);
    bridge_->NotifyKey(DeviceEventOf(held.stroke), [this, id = held.id](bool consumed) { keys_.Answer(id, consumed); });
}

void FltkAccessibility::Later(std::function<void()> action) {
    later_.push_back(std::move(action));
    Fl::remove_timeout(RunLater, this);
    Fl::add_timeout(0.0, RunLater, this);
}

// One action at a time, the next one armed first, so that one that opens a
// message does not hold back those after it.
void FltkAccessibility::RunLater(void* self) {
    auto& accessibility = *static_cast<FltkAccessibility*>(self);
    if (accessibility.later_.empty()) return;
    const auto action = std::move(accessibility.later_.front());
    accessibility.later_.pop_front();
    if (!accessibility.later_.empty()) Fl::add_timeout(0.0, RunLater, self);
    action();
    accessibility.Refresh();
}

AccessibleView FltkAccessibility::View() const {
    AccessibleView view;
    Fl_Window& window = controls_.window;
    const FltkMessageDialog::Open* message = controls_.messages.Opened();
    view.shown = window.shown() && window.visible();
    if (HasKeyboard(&window)) view.activeWindow = Node::Frame;
    if (message != nullptr && HasKeyboard(message->window)) view.activeWindow = Node::Message;
    for (const Node node : kAccessibleNodes)
        if (Fl::focus() != nullptr && Widget(node) == Fl::focus()) view.focus = node;
    view.interval = ReadBox(controls_.intervalBox);
    view.pixels = ReadBox(controls_.pixelsBox);
    view.caption = controls_.startStopButton.label() != nullptr ? controls_.startStopButton.label() : "";
    view.status = controls_.statusLine.Text();
    auto& screen = view.screen;
    screen[static_cast<std::size_t>(Node::Frame)] = OnScreen(window);
    for (const Node node : kAccessibleNodes)
        if (const ControlLayout* control = LayoutOf(node)) {
            const Rect& r = controls_.layout.Of(control->id);
            screen[static_cast<std::size_t>(node)] = {window.x() + r.x, window.y() + r.y, r.width, r.height};
        }
    if (message != nullptr) {
        view.message = message->message;
        screen[static_cast<std::size_t>(Node::Message)] = OnScreen(*message->window);
        screen[static_cast<std::size_t>(Node::MessageText)] = OnScreen(*message->window, *message->text);
        screen[static_cast<std::size_t>(Node::MessageButton)] = OnScreen(*message->window, *message->ok);
    }
    return view;
}

Fl_Widget* FltkAccessibility::Widget(Node node) const {
    switch (node) {
    case Node::StartStopButton: return &controls_.startStopButton;
    case Node::IntervalBox: return &controls_.intervalBox;
    case Node::PixelsBox: return &controls_.pixelsBox;
    case Node::Link: return &controls_.link;
    case Node::MessageButton: return controls_.messages.Opened() != nullptr ? controls_.messages.Opened()->ok : nullptr;
    default: return nullptr;
    }
}

FltkTextBox& FltkAccessibility::BoxWidget(Node box) const {
    return box == Node::IntervalBox ? controls_.intervalBox : controls_.pixelsBox;
}

void FltkAccessibility::Focus(Node node) {
    Later([this, node] {
        if (Fl_Widget* widget = Widget(node)) widget->take_focus();
    });
}

// As a click: on the button it first takes the focus, so that a box left
// gives its value, and a click that brought up a message about that value
// goes no further, as the mouse's does; on the link it leaves the focus
// where it is.
void FltkAccessibility::Act(Node node) {
    Later([this, node] {
        Fl_Widget* const widget = Widget(node);
        if (widget == nullptr) return;
        if (node == Node::StartStopButton) {
            const int shown = messagesShown_;
            widget->take_focus();
            if (messagesShown_ != shown) return;
        }
        widget->do_callback();
    });
}

bool FltkAccessibility::Replace(Node box, int start, int end, std::string_view text) {
    FltkTextBox& widget = BoxWidget(box);
    const std::string current = widget.value();
    const std::size_t from = ByteOffset(current, start), to = ByteOffset(current, end);
    if (current.size() - (to - from) + text.size() > static_cast<std::size_t>(widget.maximum_size())) return false;
    // A length of 0 would make the box measure the text up to its NUL itself.
    widget.replace(static_cast<int>(from), static_cast<int>(to), text.empty() ? "" : text.data(),
                   static_cast<int>(text.size()));
    Refresh();
    return true;
}

void FltkAccessibility::Select(Node box, int anchor, int caret) {
    FltkTextBox& widget = BoxWidget(box);
    const std::string text = widget.value();
    widget.position(static_cast<int>(ByteOffset(text, caret)), static_cast<int>(ByteOffset(text, anchor)));
    Refresh();
}

Rect FltkAccessibility::CharacterExtents(Node box, int offset) const {
    const FltkTextBox& widget = BoxWidget(box);
    const std::string text = widget.value();
    const std::size_t from = ByteOffset(text, offset), to = ByteOffset(text, offset + 1);
    fl_font(widget.textfont(), widget.textsize());
    const int left = static_cast<int>(fl_width(text.data(), static_cast<int>(from)));
    const int width = static_cast<int>(fl_width(text.data() + from, static_cast<int>(to - from)) + 0.5);
    const Rect place = OnScreen(controls_.window, widget);
    return {place.x + widget.TextLeft() + left, place.y + (place.height - fl_height()) / 2, width, fl_height()};
}

int FltkAccessibility::OffsetAtPoint(Node box, long long x, long long y) const {
    const FltkTextBox& widget = BoxWidget(box);
    if (!OnScreen(controls_.window, widget).Contains(x, y)) return -1;
    const std::string text = widget.value();
    fl_font(widget.textfont(), widget.textsize());
    double right = static_cast<double>(OnScreen(controls_.window, widget).x + widget.TextLeft());
    int offset = 0;
    for (std::size_t byte = 0; byte < text.size(); ++offset) {
        const std::size_t next = byte + ByteOffset(std::string_view(text).substr(byte), 1);
        right += fl_width(text.data() + byte, static_cast<int>(next - byte));
        if (static_cast<double>(x) < right) return offset;
        byte = next;
    }
    return -1;
}

void FltkAccessibility::Copy(std::string_view text) { Fl::copy(text.data(), static_cast<int>(text.size()), 1); }

void FltkAccessibility::Paste(Node box, int offset) {
    FltkTextBox& widget = BoxWidget(box);
    const std::string text = widget.value();
    const int at = static_cast<int>(ByteOffset(text, offset));
    widget.position(at, at);
    Fl::paste(widget, 1);
    Refresh();
}

}  // namespace nudgewick::linux_desktop
