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
        line.resize(std::max(line.size() + 2, continuation.size()), ' ');
        bool empty = true;  // no word of the description on this line yet
        for (std::size_t at = 0; at < entry.description.size();) {
            const std::size_t end = std::min(entry.description.find(' ', at), entry.description.size());
            const std::string_view word = std::string_view(entry.description).substr(at, end - at);
            if (!empty && line.size() + 1 + word.size() > kHelpWidth) {
                text += line + '\n';
                line = continuation;
                empty = true;
            }
            line.append(empty ? "" : " ").append(word);
            empty = false;
            at = end + 1;
        }
        text += line + '\n';
    }
    return text;
}

std::string HelpLines(const std::vector<HelpEntry>& entries) {
    std::string text;
    for (const HelpEntry& entry : entries) text += entry.term + " \u2013 " + entry.description + '\n';
    return text;
}

}  // namespace nudgewick
