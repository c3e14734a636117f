#include "core/main_window.h"

#include "core/number_text.h"
#include "core/product_address.h"
#include "core/settings.h"

namespace nudgewick {
namespace {

std::string LinkMessage(const std::string& address, const std::string& failure) {
    const std::string message = "The web address " + address + " could not be opened: " + failure;
    return message.ends_with('.') ? message : message + ".";
}

// Written only when it differs, so that an unchanged box keeps its caret.
void ShowInForce(TextBox& box, std::int16_t value) {
    const std::string text = WholeNumberText(value);
    if (box.Text() != text) box.SetText(text);
}

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts, const StartSettings& start)
    : parts_(parts), start_(start), session_(parts.clock) {}

void MainWindow::Load() {
    state_.interval = start_.interval;
    state_.pixels = start_.pixels;
    parts_.intervalBox.SetText(WholeNumberText(state_.interval));
    parts_.pixelsBox.SetText(WholeNumberText(state_.pixels));
    state_.phase = NudgePhase::Right;
    parts_.startStopButton.SetCaption(kCaptionStop);
    SetTickInterval(state_.interval);
    if (start_.runFor) session_.RunFor(*start_.runFor);
    if (start_.runUntil) session_.RunUntil(*start_.runUntil);
    ArmSessionTimer();
    ShowTray();
}

void MainWindow::OnTick() {
    if (parts_.idle != nullptr) {
        NudgeIfIdle(state_, parts_.pointer, *parts_.idle);
    } else {
        NudgeIfStill(state_, parts_.pointer);
    }
}

void MainWindow::OnStartStopClicked() {
    EndSession();
    Running() ? StopTicks() : StartTicks();
    ShowTray();
}

// Runs on every focus change away from the box, even with the text unchanged,
// and always hands the timer the interval: that resumes stopped ticks, whose
// caption then names the next click's action again, and restarts the
// countdown of running ones.
void MainWindow::OnIntervalBoxLeft(FocusMove move) {
    if (move != FocusMove::ToAnotherControl) return;
    TakeInterval();
    StartTicks();
    ShowTray();
}

void MainWindow::OnPixelsBoxLeft(FocusMove move) {
    if (move != FocusMove::ToAnotherControl) return;
    TakePixels();  // the distance is nothing the icon shows
}

// Ticks go on arriving while a message is open; the tick touches nothing
// this does. The box shows the interval in force afterwards.
void MainWindow::TakeInterval() {
    const auto number = ReadDecimal(parts_.intervalBox.Text());
    if (!number) {
        parts_.messages.Show(IntervalMessage());
    } else if (IsLessThan(*number, kIntervalFloor)) {
        parts_.messages.Show(FloorMessage());
        state_.interval = kIntervalFloor;
    } else if (RoundHalfEven(*number) > kIntervalLimit) {
        parts_.messages.Show(IntervalMessage());
        state_.interval = kIntervalLimit;
    } else {
        state_.interval = static_cast<std::int16_t>(RoundHalfEven(*number));
    }
    ShowInForce(parts_.intervalBox, state_.interval);
}

void MainWindow::TakePixels() {
    if (const auto pixels = PixelsFromText(parts_.pixelsBox.Text())) {
        state_.pixels = *pixels;
    } else {
        parts_.messages.Show(PixelsMessage());
    }
    ShowInForce(parts_.pixelsBox, state_.pixels);
}

void MainWindow::OnLinkClicked() {
    if (const auto failure = parts_.launcher.Open(kProductAddress)) {
        parts_.messages.Show(LinkMessage(kProductAddress, *failure));
    }
}

// Early, or the wall clock says not yet: looks again later.
void MainWindow::OnSessionTimer() {
    if (!session_.Due()) return ArmSessionTimer();
    session_.Cancel();
    ArmSessionTimer();
    StopTicks();
    sessionEndedAt_ = parts_.clock.WallSeconds();
    ShowTray();
}

TrayAction MainWindow::OnTrayEntryChosen(const TrayMenuEntry& entry) {
    switch (entry.command) {
    case TrayCommand::Stop:
        if (Running()) OnStartStopClicked();
        break;
    case TrayCommand::Go:
        if (!Running()) OnStartStopClicked();
        break;
    case TrayCommand::RunFor:
        session_.RunFor(entry.length);
        Resume();
        break;
    case TrayCommand::RunUntilStopped:
        session_.Cancel();
        Resume();
        break;
    case TrayCommand::ShowWindow: return TrayAction::ShowWindow;
    case TrayCommand::Exit: return TrayAction::Exit;
    }
    return TrayAction::Handled;
}

TrayView MainWindow::Tray() const {
    const std::optional<std::string> until = session_.Active() ? std::optional(session_.EndText()) : std::nullopt;
    return {Running(), Running() ? NudgingTooltip(tickInterval_, until) : StoppedTooltip(sessionEndedAt_),
            TrayMenu(Running())};
}

void MainWindow::SetTickInterval(int milliseconds) {
    tickInterval_ = milliseconds;
    if (milliseconds != 0) {
        parts_.tickTimer.Start(milliseconds);
    } else {
        parts_.tickTimer.Stop();
    }
}

void MainWindow::StartTicks() {
    SetTickInterval(state_.interval);
    parts_.startStopButton.SetCaption(kCaptionStop);
}

void MainWindow::StopTicks() {
    SetTickInterval(0);
    parts_.startStopButton.SetCaption(kCaptionGo);
}

void MainWindow::EndSession() {
    session_.Cancel();
    sessionEndedAt_.reset();
    ArmSessionTimer();
}

void MainWindow::Resume() {
    if (!Running()) StartTicks();
    ArmSessionTimer();
    ShowTray();
}

void MainWindow::ArmSessionTimer() {
    if (const auto wait = session_.MillisecondsToCheck()) {
        parts_.sessionTimer.Start(*wait);
    } else {
        parts_.sessionTimer.Stop();
    }
}

}  // namespace nudgewick
