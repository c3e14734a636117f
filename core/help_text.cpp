#include "core/help_text.h"

#include <algorithm>
#include <string_view>

namespace nudgewick {
namespace {

constexpr std::size_t kIndent = 2;
constexpr std::size_t kTermWidth = 16;

// East Asian wide characters take two of a terminal's columns.
bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

struct Character {
    std::size_t bytes;
    bool wide;
};

Character CharacterAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = std::min<std::size_t>(lead < 0xC0   ? 1
                                                     : lead < 0xE0 ? 2
                                                     : lead < 0xF0 ? 3
                                                                   : 4,
                                                     text.size() - at);
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) point = point << 6 | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    return {length, IsWide(point)};
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
            afterBlank = end < description.size() && description[end] == ' ';
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
