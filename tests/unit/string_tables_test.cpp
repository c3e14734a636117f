#include <memory>
#include <string>
#include <vector>

#include "core/string_tables.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

TEST(StringTablesTest, TheUsersLanguageOrOneOfItsPrimaryLanguage) {
    constexpr std::uint16_t german = 0x0407, austrian = 0x0c07, brazilian = 0x0416, portuguese = 0x0816,
                            french = 0x040c;
    const std::uint16_t both[] = {brazilian, portuguese}, germanOnly[] = {german};
    // The user's language, the tables' languages, the one chosen, and why.
    const std::tuple<std::uint16_t, std::span<const std::uint16_t>, std::optional<std::uint16_t>, const char*> rows[] =
        {
            {portuguese, both, portuguese, "its own table before another of its primary language"},
            {brazilian, both, brazilian, "the first of a primary language is not taken over its own"},
            {austrian, germanOnly, german, "a country without a table of its own"},
            {french, germanOnly, std::nullopt, "no table of its primary language: English"},
            {german, {}, std::nullopt, "no tables at all"},
        };
    for (const auto& [users, tables, expected, why] : rows) EXPECT_EQ(ChosenLanguage(users, tables), expected) << why;
}

// Tables laid out as the build writes them: one text per row, a plural's
// forms in its order; an empty form is one the catalogue lacks.
struct Row {
    const char* english;
    const char* englishPlural;
    std::vector<std::string> forms;
};
struct Tables {
    TableWriter english, language;
};
Tables Written(const std::string& header, const std::vector<Row>& rows) {
    Tables tables;
    tables.language.Put(kHeaderId, header);
    TranslationIds ids;
    for (unsigned text = 0; text < rows.size(); ++text) {
        const Row& row = rows[text];
        tables.english.Put(EnglishId(text, false), row.english);
        if (row.englishPlural) tables.english.Put(EnglishId(text, true), row.englishPlural);
        const unsigned first = ids.Next(row.englishPlural != nullptr);
        for (unsigned form = 0; form < row.forms.size(); ++form) tables.language.Put(first + form, row.forms[form]);
    }
    return tables;
}
std::unique_ptr<StringTableCatalogue> Read(const Tables& tables) {
    return StringTableCatalogue::Read(tables.english.Table(), tables.language.Table());
}

TEST(StringTablesTest, ReadsBackEachTextAndEachPluralFormUnderItsRule) {
    const Tables tables =
        Written("Plural-Forms: " + std::string(kRussian), {{"stop", nullptr, {"S"}},
                                                           {"%1 hour", "%1 hours", {"H0", "H1", "H2"}},
                                                           {"left alone", nullptr, {}},
                                                           {"%1 minute", "%1 minutes", {"M0", ""}},
                                                           {"after the gap", nullptr, {"A"}}});
    const auto catalogue = Read(tables);
    ASSERT_NE(catalogue, nullptr);
    const std::tuple<std::string, std::string, const char*> rows[] = {
        {catalogue->Text("stop"), "S", "a text"},
        {catalogue->Plural("%1 hour", "%1 hours", 21), "H0", "the rule's first form"},
        {catalogue->Plural("%1 hour", "%1 hours", 3), "H1", "its second"},
        {catalogue->Plural("%1 hour", "%1 hours", 11), "H2", "its third"},
        {catalogue->Text("left alone"), "left alone", "untranslated: English"},
        {catalogue->Plural("%1 minute", "%1 minutes", 1), "M0", "a form the catalogue has"},
        {catalogue->Plural("%1 minute", "%1 minutes", 2), "%1 minutes", "a form it lacks: English"},
        {catalogue->Text("after the gap"), "A", "a text after a plural's room for forms"},
        {catalogue->Text("%1 hour"), "%1 hour", "a plural's English is no text on its own"},
        {catalogue->Text("Go") + catalogue->Plural("%1 day", "%1 days", 5), "Go%1 days", "what the tables lack"},
    };
    for (const auto& [got, expected, why] : rows) EXPECT_EQ(got, expected) << why;
    for (const std::string header : {"", "Plural-Forms: nplurals=2; plural=(n !=;"})  // no rule, no catalogue
        EXPECT_EQ(Read(Written(header, {{"stop", nullptr, {"S"}}})), nullptr) << '"' << header << '"';
}

}  // namespace
}  // namespace nudgewick::testing
