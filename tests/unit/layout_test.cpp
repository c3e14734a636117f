#include "core/layout.h"

#include <map>
#include <string>
#include <utility>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

// Each letter a quarter of the font's size wide; a caption keeps 6 pixels clear.
WindowPixels LayOut(int dpi) {
    const auto width = [](const char* caption, int size) {
        return static_cast<int>(std::string(caption).size()) * size / 4;
    };
    return LayOutWindow(dpi, PointsToPixels(8.0, dpi), {.label = 6, .button = 6}, width);
}

// Every text in the standard size but the link's, which stands out larger.
TEST(LayoutTest, EnglishKeepsEveryPlaceAndSizeOfTheTable) {
    for (const int dpi : {96, 120, 144, 192}) {
        const WindowPixels window = LayOut(dpi);
        const int standard = window.statusLineFontSize, link = window.FontSizeOf(ControlId::Link);
        EXPECT_GT(link, standard) << dpi;
        for (std::size_t i = 0; i < kControls.size(); ++i) {
            EXPECT_EQ(window.controls[i], PixelsOf(kControls[i], dpi));
            EXPECT_EQ(window.fontSizes[i], kControls[i].id == ControlId::Link ? link : standard) << i;
        }
        EXPECT_EQ(window.statusLine, PixelsOf(kStatusLine, dpi));
        EXPECT_EQ(window.width, TwipsToPixels(kClientWidthTwips, dpi)) << dpi;
        EXPECT_EQ(window.height, TwipsToPixels(kClientHeightTwips, dpi)) << dpi;
    }
}

TEST(LayoutTest, TheWindowGrowsOnlyByWhatItsTextsLack) {
    const struct {
        const char* why;
        std::map<std::string, int> lengths;
        int dpi, labelColumnGrowth, buttonGrowth;
    } rows[] = {
        {"a label that fits once made smaller", {{"Pixels", 38}}, 96, 0, 0},
        {"a label too long at the smallest size", {{"Interval (Milliseconds)", 48}}, 96, 21, 0},
        {"the longer of two long labels sets the column", {{"Pixels", 44}, {"Interval (Milliseconds)", 48}}, 96, 21, 0},
        {"a long label at 144 dpi", {{"Pixels", 48}}, 144, 28, 0},
        {"a caption the button cannot hold", {{"Stop", 30}}, 96, 0, 23},
        {"the other caption too", {{"Go", 30}}, 96, 0, 23},
        {"both grow, and the window by both", {{"Interval (Milliseconds)", 48}, {"Go", 30}}, 96, 21, 23},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        const WindowPixels english = LayOut(row.dpi);
        const WindowPixels shown = [&] {  // each text given a length becomes a run of that many letters
            const FakeCatalogue catalogue([&](const char* text) {
                const auto found = row.lengths.find(text);
                return found == row.lengths.end() ? text : std::string(static_cast<std::size_t>(found->second), 'x');
            });
            return LayOut(row.dpi);
        }();
        const int growth = row.labelColumnGrowth + row.buttonGrowth;
        EXPECT_EQ(shown.width, english.width + growth);
        EXPECT_EQ(shown.height, english.height);
        const auto moved = [&](ControlId id) { return shown.Of(id).x - english.Of(id).x; };
        const auto widened = [&](ControlId id) { return shown.Of(id).width - english.Of(id).width; };
        for (const ControlId id : {ControlId::IntervalLabel, ControlId::PixelsLabel})
            EXPECT_EQ(widened(id), row.labelColumnGrowth);
        for (const ControlId id : {ControlId::IntervalBox, ControlId::PixelsBox, ControlId::StartStopButton})
            EXPECT_EQ(moved(id), row.labelColumnGrowth);
        EXPECT_EQ(widened(ControlId::StartStopButton), row.buttonGrowth);
        for (const ControlId id : {ControlId::TitleLabel, ControlId::Link, ControlId::State})
            EXPECT_TRUE(moved(id) == growth / 2 && widened(id) == 0) << "centred over the grown window";
    }
}

}  // namespace
}  // namespace nudgewick::testing
