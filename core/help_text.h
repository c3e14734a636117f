#pragma once
#include <string>
#include <vector>

namespace nudgewick {

// One entry of --help: what is typed, and what it does. A '\n' in the
// description is where a terminal's line breaks; a message box wraps it itself.
struct HelpEntry {
    std::string term;
    std::string description;
};

// For a terminal's fixed-width font: the descriptions in one column beside
// the indented terms.
std::string HelpColumns(const std::vector<HelpEntry>& entries);

// For a message box's proportional font, where blanks line up no column and a
// line too long for the box wraps to its left edge: one line per entry, the
// term and its description joined by a dash.
std::string HelpLines(const std::vector<HelpEntry>& entries);

}  // namespace nudgewick
