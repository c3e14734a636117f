#pragma once
// Every text a person reads is looked up in the catalogue of the user's
// language, which the front-end installs once at start: gettext's on Linux,
// tables built from the same catalogues on Windows. English is the
// texts as written here: with no catalogue installed, each comes back as it is.
//
// Tr and TrN mark a text for the template (po/nudgewick.pot, made by
// xgettext); Marked only marks one kept in a table, translated where it is
// used. A text with values names them %1 to %9, so that a translation can put
// them in its own order; msgfmt --check holds every translation to the same
// ones.

#include <initializer_list>
#include <string>
#include <string_view>

namespace nudgewick {

class Catalogue {
public:
    virtual ~Catalogue() = default;
    // The translation of text, or text itself where there is none.
    virtual std::string Text(const char* text) const = 0;
    // The form of the user's language for count, of the English forms for one
    // (one) and for any other count (other), as the language's plural rule
    // picks it.
    virtual std::string Plural(const char* one, const char* other, unsigned long count) const = 0;
};

// From now on every text comes from catalogue (nullptr: English). Installed
// before the first text is made, and left alone while the program runs.
void UseCatalogue(const Catalogue* catalogue);

std::string Tr(const char* text);
std::string TrN(const char* one, const char* other, unsigned long count);
constexpr const char* Marked(const char* text) { return text; }

// pattern with each %1 to %9 replaced by that value; a "%" before anything
// else is kept as it is ("40%"), as Qt's format that msgfmt checks them by.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> values);

// While one lives, each text is made as its meaning, its English and its
// values, which Spoken says in the language of the copy that reads it: what
// the running copy answers a second start is said in the second start's.
class MeaningOnly {
public:
    MeaningOnly();
    ~MeaningOnly();
    MeaningOnly(const MeaningOnly&) = delete;
    MeaningOnly& operator=(const MeaningOnly&) = delete;

private:
    const Catalogue* before_;
};

// A text made under MeaningOnly in this copy's language, cut short past 16 KiB;
// any other text as it is, less the control characters that mark a meaning.
std::string Spoken(std::string_view kept);

}  // namespace nudgewick
