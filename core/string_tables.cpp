#include "core/string_tables.h"

#include <algorithm>

namespace nudgewick {
namespace {

// Where each text of table starts: each ends at its NUL, the last at the
// string's own.
std::vector<const char*> TextsOf(const std::string& table) {
    std::vector<const char*> texts;
    for (std::size_t start = 0; start < table.size(); start = std::min(table.find('\0', start), table.size()) + 1) {
        texts.push_back(table.c_str() + start);
    }
    return texts;
}

const char* At(const std::vector<const char*>& texts, unsigned id) { return id < texts.size() ? texts[id] : ""; }

}  // namespace

std::optional<std::uint16_t> ChosenLanguage(std::uint16_t users, std::span<const std::uint16_t> tables) {
    constexpr std::uint16_t kPrimary = 0x3ff;  // PRIMARYLANGID's bits
    if (std::find(tables.begin(), tables.end(), users) != tables.end()) return users;
    const auto same = std::find_if(tables.begin(), tables.end(),
                                   [&](std::uint16_t table) { return (table & kPrimary) == (users & kPrimary); });
    return same == tables.end() ? std::nullopt : std::optional<std::uint16_t>(*same);
}

std::unique_ptr<StringTableCatalogue> StringTableCatalogue::Read(std::string english, std::string language) {
    std::unique_ptr<StringTableCatalogue> read(new StringTableCatalogue);
    read->english_ = std::move(english);
    read->language_ = std::move(language);
    const std::vector<const char*> englishTexts = TextsOf(read->english_), translations = TextsOf(read->language_);
    auto rule = PluralRule::Read(At(translations, kHeaderId));
    if (!rule) return nullptr;
    TranslationIds ids;
    // No text of the template is empty: the first empty id ends it.
    for (unsigned text = 0; *At(englishTexts, EnglishId(text, false)) != '\0'; ++text) {
        const char* other = At(englishTexts, EnglishId(text, true));
        const unsigned first = ids.Next(*other != '\0');
        const unsigned long forms = *other == '\0' ? 1 : std::min<unsigned long>(rule->Forms(), kMostForms);
        auto& translated = read->forms_.emplace_back();
        for (unsigned form = 0; form < forms; ++form) {
            const char* translation = At(translations, first + form);
            if (*translation == '\0') break;  // a form missing: the text stays English
            translated.push_back(translation);
        }
        read->rows_.push_back({At(englishTexts, EnglishId(text, false)), *other == '\0' ? nullptr : other, translated});
    }
    read->catalogue_.emplace(read->rows_, *rule);
    return read;
}

}  // namespace nudgewick
