#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace nudgewick {

// One entry of --help: what is typed, and what it does, in one line of words
// that the layout breaks where it needs to.
struct HelpEntry {
    std::string term;
    std::string description;
};

// No line of a terminal's help is wider: 80 columns, less the indent that
// the zip's README.txt gives it.
inline constexpr std::size_t kHelpWidth = 78;

// For a terminal's fixed-width font: the descriptions in one column beside
// the indented terms, broken between words into lines of at most kHelpWidth.
std::string HelpColumns(const std::vector<HelpEntry>& entries);

// For a message box's proportional font, where blanks line up no column and a
// line too long for the box wraps to its left edge: one line per entry, the
// term and its description joined by a dash.
std::string HelpLines(const std::vector<HelpEntry>& entries);

}  // namespace nudgewick
