#pragma once
// The two settings, the interval and the distance: their ranges, their
// defaults, how a text becomes one, and every text that states them.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/help_text.h"

namespace nudgewick {

inline constexpr std::int16_t kIntervalFloor = 3000;
inline constexpr std::int16_t kIntervalLimit = std::numeric_limits<std::int16_t>::max();
inline constexpr std::int16_t kPixelsLowest = std::numeric_limits<std::int16_t>::min();
inline constexpr std::int16_t kPixelsHighest = std::numeric_limits<std::int16_t>::max();
inline constexpr std::int16_t kDefaultInterval = 10000;
inline constexpr std::int16_t kDefaultPixels = 3;

// The interval a command-line word asks for: rounded, and raised to the floor
// when below it. Nothing when the word is not a number or lies above the limit.
std::optional<std::int16_t> IntervalFromWord(std::string_view word);

// The distance a text asks for, rounded; nothing when it is not a number or
// lies outside the distance range.
std::optional<std::int16_t> PixelsFromText(std::string_view text);

// The interval box's messages: below the floor, and anything else it refuses.
std::string FloorMessage();
std::string IntervalMessage();
// The pixels box's message.
std::string PixelsMessage();

// Why the command line's word for a setting is refused.
std::string IntervalWordProblem(std::string_view word);
std::string PixelsWordProblem(std::string_view word);

// The entries of --help that describe the two settings.
std::vector<HelpEntry> SettingsHelp();

}  // namespace nudgewick
