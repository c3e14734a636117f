#include "core/string_tables.h"

#include <algorithm>

namespace nudgewick {

std::optional<std::uint16_t> ChosenLanguage(std::uint16_t users, std::span<const std::uint16_t> tables) {
    constexpr std::uint16_t kPrimary = 0x3ff;  // PRIMARYLANGID's bits
    if (std::find(tables.begin(), tables.end(), users) != tables.end()) return users;
    const auto same = std::find_if(tables.begin(), tables.end(),
                                   [&](std::uint16_t table) { return (table & kPrimary) == (users & kPrimary); });
    return same == tables.end() ? std::nullopt : std::optional<std::uint16_t>(*same);
}

const char* StringTableCatalogue::Kept(std::string text) { return strings_.emplace_back(std::move(text)).c_str(); }

std::unique_ptr<StringTableCatalogue> StringTableCatalogue::Read(const Table& english, const Table& language) {
    auto rule = PluralRule::Read(language(kHeaderId));
    if (!rule) return nullptr;
    std::unique_ptr<StringTableCatalogue> read(new StringTableCatalogue);
    TranslationIds ids;
    // No text of the template is empty: the first empty id ends it.
    for (unsigned text = 0; !english(EnglishId(text, false)).empty(); ++text) {
        const std::string other = english(EnglishId(text, true));
        const unsigned first = ids.Next(!other.empty());
        const unsigned long forms = other.empty() ? 1 : std::min<unsigned long>(rule->Forms(), kMostForms);
        auto& translated = read->forms_.emplace_back();
        for (unsigned form = 0; form < forms; ++form) {
            std::string translation = language(first + form);
            if (translation.empty()) break;  // a form missing: the text stays English
            translated.push_back(read->Kept(std::move(translation)));
        }
        read->rows_.push_back(
            {read->Kept(english(EnglishId(text, false))), other.empty() ? nullptr : read->Kept(other), translated});
    }
    read->catalogue_.emplace(read->rows_, *rule);
    return read;
}

}  // namespace nudgewick
