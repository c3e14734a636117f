#include "packaging/po_file.h"

#include <fstream>
#include <stdexcept>
#include <utility>

namespace nudgewick {
namespace {

// The text of a quoted line of a catalogue, its C escapes undone.
std::string Unquoted(const std::string& line) {
    std::string text;
    const std::size_t end = line.rfind('"');
    for (std::size_t at = line.find('"') + 1; at < end; ++at) {
        if (line[at] != '\\' || at + 1 == end) {
            text += line[at];
            continue;
        }
        const char escaped = line[++at];
        text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
    }
    return text;
}

}  // namespace

std::vector<PoEntry> ReadPoFile(const char* path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error(std::string(path) + ": cannot be read");
    std::vector<PoEntry> entries(1);
    std::string line, *continued = nullptr;
    bool fuzzy = false;  // the comments come before the entry they speak of
    std::string places;
    while (std::getline(file, line)) {
        if (line.starts_with("#,") && line.find("fuzzy") != std::string::npos) fuzzy = true;
        if (line.starts_with("#:")) places += line.substr(2) + ' ';
        if (line.empty() || line[0] == '#') continue;
        if (line.starts_with("msgid ") && !entries.back().forms.empty()) entries.emplace_back();
        PoEntry& entry = entries.back();
        if (line.starts_with("msgid ")) {
            entry.fuzzy = std::exchange(fuzzy, false);
            entry.places = std::exchange(places, "");
            continued = &entry.english;
        } else if (line.starts_with("msgid_plural ")) {
            continued = &entry.englishPlural;
        } else if (line.starts_with("msgstr")) {
            continued = &entry.forms.emplace_back();
        } else if (!line.starts_with('"') || continued == nullptr) {
            continue;  // msgctxt: this program gives none
        }
        *continued += Unquoted(line);
    }
    return entries;
}

std::map<std::string, const PoEntry*> TranslatedEntries(const std::vector<PoEntry>& entries) {
    std::map<std::string, const PoEntry*> translations;
    for (const PoEntry& entry : entries) {
        if (!entry.fuzzy) translations[entry.english] = &entry;
    }
    return translations;
}

}  // namespace nudgewick
