#include "core/settings.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/number_text.h"

namespace nudgewick {
namespace {

std::string Text(std::int64_t value) { return WholeNumberText(value); }

std::string IntervalRange() {
    return Format(Tr("a number of milliseconds from %1 to %2"), {Text(kIntervalFloor), Text(kIntervalLimit)});
}

std::string PixelsRange() {
    return Format(Tr("a number of pixels from %1 to %2"), {Text(kPixelsLowest), Text(kPixelsHighest)});
}

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

std::string FloorMessage() { return Format(Tr("You must pick a value greater than %1."), {Text(kIntervalFloor)}); }
std::string IntervalMessage() { return Format(Tr("The interval must be %1."), {IntervalRange()}); }
std::string PixelsMessage() { return Format(Tr("The distance must be %1."), {PixelsRange()}); }

// A command-line interval below the floor is raised to it, not refused.
std::string IntervalWordProblem(std::string_view word) {
    return Format(Tr("the interval %1 is not a number of milliseconds up to %2"), {Quoted(word), Text(kIntervalLimit)});
}

std::string PixelsWordProblem(std::string_view word) {
    return Format(Tr("the distance %1 is not %2"), {Quoted(word), PixelsRange()});
}

std::vector<HelpEntry> SettingsHelp() {
    return {{"INTERVAL", Format(Tr("milliseconds between looks at the pointer, up to %1; below %2 counts as %2 "
                                   "(default %3)"),
                                {Text(kIntervalLimit), Text(kIntervalFloor), Text(kDefaultInterval)})},
            {"PIXELS", Format(Tr("how far each nudge moves the pointer, %1 to %2 (default %3)"),
                              {Text(kPixelsLowest), Text(kPixelsHighest), Text(kDefaultPixels)})}};
}

}  // namespace nudgewick
