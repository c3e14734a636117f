#pragma once
// The catalogues as the Windows program carries them, which the build writes
// from po/ and the Windows front-end reads back: where each text sits, and
// the catalogue made from them. A table is UTF-8 texts, each ended by a NUL,
// the nth at id n. The English table holds the template's texts in its
// order, each at EnglishId (a plural's English form for other counts beside
// it); each language's table holds its Plural-Forms at kHeaderId, then each
// text's translation, a plural's with room for kMostForms forms. The .exe
// holds each table deflated (core/inflate.h undoes it) as an RCDATA
// resource: English as kEnglishTable, each language as kLanguageTable in the
// language's own LANGUAGE block, so that Windows' own list of the .exe's
// languages says which it speaks.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/plural_rule.h"

namespace nudgewick {

constexpr unsigned kEnglishTable = 1, kLanguageTable = 2;  // the resources' ids

constexpr unsigned kHeaderId = 0;
// gettext's languages have at most six forms (Arabic).
constexpr unsigned kMostForms = 6;

// The id of the template's text number text in the English table; with
// plural, of its form for other counts.
constexpr unsigned EnglishId(unsigned text, bool plural) { return 2 * text + (plural ? 1 : 0); }

// The first id of each text's translation, for the template's texts in order.
class TranslationIds {
public:
    unsigned Next(bool plural) {
        const unsigned id = next_;
        next_ += plural ? kMostForms : 1;
        return id;
    }

private:
    unsigned next_ = kHeaderId + 1;
};

// A table as the build writes it: each text Put at its id, then the whole
// table; an id given no text holds an empty one. Inline: the build's own tool
// writes tables without the rest of the core.
class TableWriter {
public:
    void Put(unsigned id, std::string text) {
        if (texts_.size() <= id) texts_.resize(id + 1);
        texts_[id] = std::move(text);
    }
    std::string Table() const {
        std::string table;
        for (const std::string& text : texts_) table.append(text).push_back('\0');
        return table;
    }

private:
    std::vector<std::string> texts_;
};

// Of the languages that have a table (Windows LANGIDs), the one for the
// user's: the same, else one of its primary language (German for Austrian).
std::optional<std::uint16_t> ChosenLanguage(std::uint16_t users, std::span<const std::uint16_t> tables);

class StringTableCatalogue final : public Catalogue {
public:
    // Nothing when the language's table has no plural rule that can be read.
    static std::unique_ptr<StringTableCatalogue> Read(std::string english, std::string language);

    std::string Text(const char* text) const override { return catalogue_->Text(text); }
    std::string Plural(const char* one, const char* other, unsigned long count) const override {
        return catalogue_->Plural(one, other, count);
    }

private:
    StringTableCatalogue() = default;

    std::string english_, language_;  // the tables, which the rows point into
    std::deque<std::vector<const char*>> forms_;
    std::vector<TranslatedText> rows_;
    std::optional<TableCatalogue> catalogue_;
};

}  // namespace nudgewick
