#pragma once
// A catalogue (po/LANG.po) as the build's host tools read it: its entries in
// order, the header's first, with the C escapes of its quoted lines undone.
#include <map>
#include <string>
#include <vector>

namespace nudgewick {

struct PoEntry {
    std::string english, englishPlural;
    std::vector<std::string> forms;
    bool fuzzy = false;
    std::string places;  // the files and lines that mark it, as its #: comments give them
};

// Obsolete entries (#~) are left out, as msgfmt leaves them; throws
// std::runtime_error when path cannot be read.
std::vector<PoEntry> ReadPoFile(const char* path);

// The entries by their English, fuzzy ones left out: gettext does not use
// them either.
std::map<std::string, const PoEntry*> TranslatedEntries(const std::vector<PoEntry>& entries);

}  // namespace nudgewick
