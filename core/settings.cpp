#include "core/settings.h"

#include <algorithm>

#include "core/number_text.h"

namespace nudgewick {
namespace {

std::string Text(std::int64_t value) { return WholeNumberText(value); }

std::string IntervalRange() {
    return "a number of milliseconds from " + Text(kIntervalFloor) + " to " + Text(kIntervalLimit);
}

std::string PixelsRange() { return "a number of pixels from " + Text(kPixelsLowest) + " to " + Text(kPixelsHighest); }

}  // namespace

std::optional<std::int16_t> IntervalFromWord(std::string_view word) {
    const auto value = ToWholeNumber(word);
    if (!value || *value > kIntervalLimit) return std::nullopt;
    return static_cast<std::int16_t>(std::max<std::int64_t>(*value, kIntervalFloor));
}

std::optional<std::int16_t> PixelsFromText(std::string_view text) {
    const auto value = ToWholeNumber(text);
    if (!value || *value < kPixelsLowest || *value > kPixelsHighest) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::string FloorMessage() { return "You must pick a value greater than " + Text(kIntervalFloor) + "."; }
std::string IntervalMessage() { return "The interval must be " + IntervalRange() + "."; }
std::string PixelsMessage() { return "The distance must be " + PixelsRange() + "."; }

// A command-line interval below the floor is raised to it, not refused.
std::string IntervalWordProblem(std::string_view word) {
    return "the interval " + Quoted(word) + " is not a number of milliseconds up to " + Text(kIntervalLimit);
}

std::string PixelsWordProblem(std::string_view word) {
    return "the distance " + Quoted(word) + " is not " + PixelsRange();
}

std::vector<HelpEntry> SettingsHelp() {
    return {{"INTERVAL", "milliseconds between looks at the pointer, up to " + Text(kIntervalLimit) + "; below " +
                             Text(kIntervalFloor) + " counts as " + Text(kIntervalFloor) + " (default " +
                             Text(kDefaultInterval) + ")"},
            {"PIXELS", "how far each nudge moves the pointer, " + Text(kPixelsLowest) + " to " + Text(kPixelsHighest) +
                           " (default " + Text(kDefaultPixels) + ")"}};
}

}  // namespace nudgewick
