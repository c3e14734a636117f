#pragma once
// A catalogue's plural rule as its header gives it ("nplurals=3;
// plural=(n%10==1 && n%100!=11 ? 0 : ...);"), evaluated as gettext does: C's
// integer expressions over the count n. For a front-end that reads the
// catalogues from tables of its own rather than through gettext.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/catalogue.h"

namespace nudgewick {

class PluralRule {
public:
    // Nothing for a header without a rule that can be evaluated.
    static std::optional<PluralRule> Read(std::string_view header);
    // The form for count, below Forms(); one outside them picks the first.
    unsigned long FormFor(unsigned long count) const;
    unsigned long Forms() const { return forms_; }

private:
    PluralRule(unsigned long forms, std::string expression) : forms_(forms), expression_(std::move(expression)) {}
    unsigned long forms_;
    std::string expression_;
};

// One text of a catalogue, in English and translated; a text with a plural
// has a form for each of the rule's.
struct TranslatedText {
    const char* english;
    const char* englishPlural;  // nullptr for a text without one
    std::span<const char* const> forms;
};

// A catalogue from a table of texts (the English ones in any order): a text
// it lacks stays English.
class TableCatalogue final : public Catalogue {
public:
    TableCatalogue(std::span<const TranslatedText> texts, PluralRule rule) : texts_(texts), rule_(std::move(rule)) {}
    std::string Text(const char* text) const override;
    std::string Plural(const char* one, const char* other, unsigned long count) const override;

private:
    const TranslatedText* Find(std::string_view english, const char* plural) const;
    std::span<const TranslatedText> texts_;
    PluralRule rule_;
};

}  // namespace nudgewick
