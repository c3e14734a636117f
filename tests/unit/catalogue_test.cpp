#include <algorithm>
#include <sstream>

#include "core/catalogue.h"
#include "core/command_channel.h"
#include "core/command_line.h"
#include "core/layout.h"
#include "core/plural_rule.h"
#include "core/settings.h"
#include "core/tray.h"
#include "core/wayland_session.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

TEST(CatalogueTest, ValuesGoWhereTheTranslationPutsThem) {
    // The pattern, its text, why.
    const std::tuple<std::string_view, std::string_view, const char*> rows[] = {
        {"%2 before %1", "b before a", "reordered"},
        {"%1, %1", "a, a", "repeated"},
        {"at 40%: %1%", "at 40%: a%", "a % before no digit stays"},
        {"%3 %0", "%3 %0", "no such value"},
    };
    for (const auto& [pattern, expected, why] : rows) EXPECT_EQ(Format(pattern, {"a", "b"}), expected) << why;
    EXPECT_EQ(Format("%9", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}), "9");
}

// What a running copy answers is made as its meaning, which the second start
// says in its own language, the values that are texts too.
TEST(CatalogueTest, AMeaningIsSaidInTheReadersLanguage) {
    const char* const of[] = {"%2 de %1"};
    const char* const one[] = {"uno"};
    const TranslatedText texts[] = {{"%1 of %2", nullptr, of}, {"one", nullptr, one}};
    const TableCatalogue reader(texts, *PluralRule::Read("nplurals=1; plural=0;"));
    std::vector<std::pair<std::string, std::string_view>> rows;  // kept, said
    {
        const MeaningOnly meaning;
        rows = {{Format(Tr("%1 of %2"), {Tr("one"), "7"}), "7 de uno"},
                {Format(Tr("%1 of %2"), {Tr("one") + "!", "7"}), "7 de uno!"},
                {TrN("one", "ones", 1), "uno"},
                {TrN("one", "ones", 2), "ones"},
                {"a\2b\3c", "abc"}};  // marks out of place are dropped
    }
    UseCatalogue(&reader);
    for (const auto& [kept, said] : rows) EXPECT_EQ(Spoken(kept), said);
    UseCatalogue(nullptr);
    EXPECT_EQ(TrN("one", "ones", 1) + TrN("one", "ones", 0), "oneones");
}

// The words with a letter outside the marks, less those that stay English:
// the product's name, the options, and the example command lines of --help.
std::string Unmarked(const std::string& text) {
    std::string left, words, word;
    int depth = 0;
    for (const char c : text)
        depth += c == '\1' ? 1 : c == '\2' ? -1 : 0, left += depth == 0 && c != '\2' && c != ',' ? c : ' ';
    for (std::istringstream lines(left); std::getline(lines, word);) {
        std::istringstream in(word);
        while (in >> word && word != "nudgewick") {
            const bool option = std::any_of(kOptionNames.begin(), kOptionNames.end(),
                                            [&](const OptionName& o) { return word == o.name || word == o.value; });
            const bool english = option || word.starts_with("Nudgewick") || word == "INTERVAL" || word == "PIXELS";
            if (!english && std::any_of(word.begin(), word.end(), isalpha)) words += word + ' ';
        }
    }
    return words;
}

// Every text comes wrapped in \1 and \2: a word that reaches the user outside them did not come from the catalogue.
TEST(CatalogueTest, EveryTextAPersonReadsComesFromTheCatalogue) {
    std::optional<FakeCatalogue> marking(std::in_place,
                                         [](const char* text) { return "\1" + std::string(text) + "\2"; });
    // One row of the texts that need no command line.
    std::vector<std::string> shown{
        RefusePid(1, "why").output + "\n" + RefuseCommand({std::nullopt, false, "make", "why"}).windowText + "\n" +
        AnswerWithoutCopy(Command::Query)->text + "\n" + AnswerWithoutCopy(Command::Stop)->text + "\n" +
        ReadAnswer(std::nullopt).text + "\n" + ReadAnswer("x").text + "\n" +
        AnswerFor(CheckCommandLine("--quit").settings, true, "").text + "\n" + AnswerFor({}, true, "").text + "\n" +
        TrayMenu(false).front().text + "\n" + NudgingTooltip(4500, "17:30") + "\n" +
        NudgingTooltip(4500, ProcessEndText(1)) + "\n" + StoppedTooltip(0) + "\n" + StoppedTooltip({}) + "\n" +
        ProcessEndedTooltip(1) + "\n" + WaitingTooltip("zoom") + "\n" + LockedTooltip() + "\n" + BatteryTooltip(35) +
        "\n" + BatteryTooltip({}) + "\n" + StoppedUntilTooltip("Mon 09:00") + "\n" + FloorMessage() + "\n" +
        IntervalMessage() + "\n" + PixelsMessage() + "\n" + LockCheckLines("", true) + "\n" + NudgeRefusedLine("why") +
        X11SessionCheckLines("", false, false) + X11SessionCheckLines(":1", true, false) +
        WaylandSessionCheckLines(":1", ":1", false, RouteName(WaylandRoute::Missing), IdleName(IdleFrom::Nowhere)) +
        WaylandSessionCheckLines(":1", "", true, "", "")};
    // Each command line refused for a reason of its own, and --help; one a line.
    std::istringstream lines(
        "--help\n--for 3x\n--until 25:00\n--hours 9-9\n--hours 09:00-09:00\n--days x\n--battery 101\n"
        "--while a/b\n--pid 0\n--for 1h --until 10:00\n--bogus\n--for\n--check=1\n--stop 1\n--\n"
        "--check -- ls\n--hotkey q+q\nx\n1 x\n--while a b\n");
    for (std::string line; std::getline(lines, line);) {
        shown.push_back(CheckCommandLine(line).output);
        shown.push_back(CheckCommandLine(line).windowText);
    }
    for (const auto& entry : TrayMenu(true, true)) shown.push_back(entry.text);
    for (const ControlLayout& control : kControls) shown.push_back(ShownText(control));
    marking.reset();
    for (const std::string& text : shown) EXPECT_EQ(Unmarked(text), "") << text;
}

TEST(CatalogueTest, APluralRulePicksTheFormOfItsLanguage) {
    // The header, its forms for 0, 1, 2, 5, 11, 21, 22, 111.
    const std::pair<std::string_view, std::string_view> rows[] = {
        {kRussian, "20122012"},
        {"nplurals=2; plural=(n != 1);", "10111111"},
        {"nplurals=1; plural=0;", "00000000"},
        {"nplurals=3; plural=(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2;", "20122222"},  // Czech
        {"nplurals=2; plural=n>1;", "00111111"},                                  // French
        {"nplurals=3; plural=2-n%3;", "21000212"},
        {"nplurals=2; plural=n<2;", "11000000"},
        {"nplurals=2; plural=!(n==1);", "10111111"},
        {"nplurals=2; plural=2/n ;", "00100000"},  // past the forms, or dividing by zero: the first
        {"nplurals=2; plural=n<=1;", "11000000"},
    };
    for (const auto& [header, expected] : rows) {
        const auto rule = PluralRule::Read(header);
        ASSERT_TRUE(rule) << header;
        std::string forms;
        for (const unsigned long n : {0, 1, 2, 5, 11, 21, 22, 111}) forms += static_cast<char>('0' + rule->FormFor(n));
        EXPECT_EQ(forms, expected) << header;
    }
    for (const char* broken :
         {"nplurals=2;", "nplurals=2; plural=(n != 1;", "nplurals=2; plural=n/0;", "nplurals=0; plural=0;",
          "nplurals=2; plural=n =! 1;", "nplurals=2; plural=n==;", "nplurals=2; plural=n<-1;", "plural=n!=1;",
          "nplurals=2; plural=n ? 1 :;", "nplurals=n; plural=0;", "nplurals=2; plural=1/(n-1);"})
        EXPECT_FALSE(PluralRule::Read(broken)) << broken;
}

}  // namespace
}  // namespace nudgewick::testing
