#include "core/help_text.h"

#include "core/utf8.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace nudgewick {
namespace {

constexpr std::size_t kIndent = 2;
constexpr std::size_t kTermWidth = 16;

// East Asian wide characters take two of a terminal's columns: Hangul, the
// CJK blocks with their punctuation and kana, and full-width forms.
constexpr std::pair<char32_t, char32_t> kWideRanges[] = {
    {0x1100, 0x115F}, {0x2E80, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x20000, 0x3FFFD},
};

bool IsWide(char32_t c) {
    return std::any_of(std::begin(kWideRanges), std::end(kWideRanges),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

struct Character {
    std::size_t bytes;
    bool wide;
};

Character CharacterAt(std::string_view text, std::size_t at) {
    const std::size_t size = CharacterSize(text, at);
    return {size, IsWide(CodePoint(text.substr(at, size)))};
}

std::size_t Columns(std::string_view text) {
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = CharacterAt(text, at);
        columns += c.wide ? 2 : 1;
        at += c.bytes;
    }
    return columns;
}

// Punctuation that closes what comes before it: no line starts with it.
bool ClosesBefore(std::string_view text) {
    for (const std::string_view closer : {"\u3001", "\u3002", "\uFF0C", "\uFF0E", "\uFF09", "\u300D", "\u300F",
                                          "\uFF01", "\uFF1F", "\uFF1A", "\uFF1B"}) {
        if (text.starts_with(closer)) return true;
    }
    return false;
}

// The end of the piece of text at at that no line may break: up to a blank,
// or past a wide character, after which Chinese and Japanese may break.
std::size_t PieceEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && text[at] != ' ') {
        const Character c = CharacterAt(text, at);
        at += c.bytes;
        if (c.wide && !ClosesBefore(text.substr(at))) break;
    }
    return at;
}

}  // namespace

std::string HelpColumns(const std::vector<HelpEntry>& entries) {
    const std::string continuation(kIndent + kTermWidth, ' ');
    std::string text;
    for (const HelpEntry& entry : entries) {
        std::string line = std::string(kIndent, ' ') + entry.term;
        // A term that fills its column still keeps two blanks before the description.
        const std::size_t termColumns = Columns(line);
        line.append(termColumns + 2 > continuation.size() ? 2 : continuation.size() - termColumns, ' ');
        std::size_t columns = Columns(line);
        bool empty = true;        // no piece of the description on this line yet
        bool afterBlank = false;  // a blank stands between this piece and the one before
        const std::string_view description = entry.description;
        for (std::size_t at = 0; at < description.size();) {
            const std::size_t end = PieceEnd(description, at);
            const std::string_view piece = description.substr(at, end - at);
            std::string_view glue = empty || !afterBlank ? "" : " ";
            if (!empty && columns + glue.size() + Columns(piece) > kHelpWidth) {
                text += line + '\n';
                line = continuation, columns = continuation.size(), glue = "";
            }
            line.append(glue).append(piece);
            columns += glue.size() + Columns(piece);
            empty = false;
            afterBlank = description.substr(end).starts_with(' ');
            at = afterBlank ? end + 1 : end;
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
