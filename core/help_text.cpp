#include "core/help_text.h"

#include <algorithm>

namespace nudgewick {
namespace {

constexpr std::size_t kIndent = 2;
constexpr std::size_t kTermWidth = 16;

}  // namespace

std::string HelpColumns(const std::vector<HelpEntry>& entries) {
    const std::string continuation(kIndent + kTermWidth, ' ');
    std::string text;
    for (const HelpEntry& entry : entries) {
        std::string line = std::string(kIndent, ' ') + entry.term;
        // A term that fills its column still keeps two blanks before the description.
        line.resize(std::max(line.size() + 2, kIndent + kTermWidth), ' ');
        for (const char c : entry.description) line += c == '\n' ? "\n" + continuation : std::string(1, c);
        text += line + '\n';
    }
    return text;
}

std::string HelpLines(const std::vector<HelpEntry>& entries) {
    std::string text;
    for (const HelpEntry& entry : entries) {
        text += entry.term + " \u2013 ";
        for (const char c : entry.description) text += c == '\n' ? ' ' : c;
        text += '\n';
    }
    return text;
}

}  // namespace nudgewick
