#pragma once
// The catalogues as Windows string tables, which the build writes from po/
// and the Windows front-end reads back: where each text sits, and the
// catalogue made from them. The English table holds the template's texts in
// its order, each at EnglishId (a plural's English form for other counts
// beside it); each language's table holds its Plural-Forms at kHeaderId, then
// each text's translation, a plural's with room for kMostForms forms.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/plural_rule.h"

namespace nudgewick {

constexpr unsigned kHeaderId = 1;
// gettext's languages have at most six forms (Arabic).
constexpr unsigned kMostForms = 6;

// The id of the template's text number text in the English table; with
// plural, of its form for other counts.
constexpr unsigned EnglishId(unsigned text, bool plural) { return 0x4000 + 2 * text + (plural ? 1 : 0); }

// The first id of each text's translation, for the template's texts in order.
class TranslationIds {
public:
    unsigned Next(bool plural) {
        const unsigned id = next_;
        next_ += plural ? kMostForms : 1;
        return id;
    }

private:
    unsigned next_ = 16;  // string tables go in blocks of 16: the header's is its own
};

// Of the languages that have a table (Windows LANGIDs), the one for the
// user's: the same, else one of its primary language (German for Austrian).
std::optional<std::uint16_t> ChosenLanguage(std::uint16_t users, std::span<const std::uint16_t> tables);

class StringTableCatalogue final : public Catalogue {
public:
    // A table's text by id; empty where it has none.
    using Table = std::function<std::string(unsigned id)>;
    // Nothing when the language's table has no plural rule that can be read.
    static std::unique_ptr<StringTableCatalogue> Read(const Table& english, const Table& language);

    std::string Text(const char* text) const override { return catalogue_->Text(text); }
    std::string Plural(const char* one, const char* other, unsigned long count) const override {
        return catalogue_->Plural(one, other, count);
    }

private:
    StringTableCatalogue() = default;
    const char* Kept(std::string text);

    std::deque<std::string> strings_;  // a deque, so that the rows' pointers stay put
    std::deque<std::vector<const char*>> forms_;
    std::vector<TranslatedText> rows_;
    std::optional<TableCatalogue> catalogue_;
};

}  // namespace nudgewick
