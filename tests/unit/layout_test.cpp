#include "core/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace nudgewick {
namespace {

// Translates the texts it is given into runs of that many letters.
class LengthCatalogue final : public Catalogue {
public:
    explicit LengthCatalogue(std::map<std::string, int> lengths) : lengths_(std::move(lengths)) {}
    std::string Text(const char* text) const override {
        const auto found = lengths_.find(text);
        return found == lengths_.end() ? text : std::string(static_cast<std::size_t>(found->second), 'x');
    }
    std::string Plural(const char* one, const char*, unsigned long) const override { return one; }

private:
    std::map<std::string, int> lengths_;
};

// Each letter a quarter of the font's size wide.
int FakeWidth(const char* caption, int size) { return static_cast<int>(std::string(caption).size()) * size / 4; }

constexpr CaptionInsets kInsets{.label = 6, .button = 6};

WindowPixels LayOut(int dpi) {
    return LayOutWindow(dpi, PointsToPixels(8.0, dpi), kInsets, FakeWidth);
}

struct GrowthRow {
    const char* why;
    std::map<std::string, int> lengths;
    int dpi;
    int labelColumnGrowth, buttonGrowth;
};

TEST(LayoutTest, TheWindowGrowsOnlyByWhatItsTextsLack) {
    const GrowthRow rows[] = {
        {"English at 96 dpi", {}, 96, 0, 0},
        {"English at 144 dpi", {}, 144, 0, 0},
        {"a label that fits once made smaller", {{"Pixels", 38}}, 96, 0, 0},
        {"a label too long at the smallest size", {{"Interval (Milliseconds)", 48}}, 96, 21, 0},
        {"the longer of two long labels sets the column", {{"Pixels", 44}, {"Interval (Milliseconds)", 48}}, 96, 21, 0},
        {"a long label at 144 dpi", {{"Pixels", 48}}, 144, 28, 0},
        {"a caption the button cannot hold", {{"Stop", 30}}, 96, 0, 23},
        {"the other caption too", {{"Go", 30}}, 96, 0, 23},
        {"both grow, and the window by both", {{"Interval (Milliseconds)", 48}, {"Go", 30}}, 96, 21, 23},
    };
    for (const GrowthRow& row : rows) {
        SCOPED_TRACE(row.why);
        UseCatalogue(nullptr);
        const WindowPixels english = LayOut(row.dpi);
        const LengthCatalogue catalogue(row.lengths);
        UseCatalogue(&catalogue);
        const WindowPixels shown = LayOut(row.dpi);
        UseCatalogue(nullptr);
        const int growth = row.labelColumnGrowth + row.buttonGrowth;
        EXPECT_EQ(shown.width, english.width + growth);
        EXPECT_EQ(shown.height, english.height);
        const auto moved = [&](ControlId id) { return shown.Of(id).x - english.Of(id).x; };
        const auto widened = [&](ControlId id) { return shown.Of(id).width - english.Of(id).width; };
        EXPECT_EQ(widened(ControlId::IntervalLabel), row.labelColumnGrowth);
        EXPECT_EQ(widened(ControlId::PixelsLabel), row.labelColumnGrowth);
        for (const ControlId id : {ControlId::IntervalBox, ControlId::PixelsBox, ControlId::StartStopButton})
            EXPECT_EQ(moved(id), row.labelColumnGrowth);
        EXPECT_EQ(widened(ControlId::StartStopButton), row.buttonGrowth);
        for (const ControlId id : {ControlId::TitleLabel, ControlId::Link, ControlId::State}) {
            EXPECT_EQ(moved(id), growth / 2);
            EXPECT_EQ(widened(id), 0);
        }
    }
}

TEST(LayoutTest, EnglishKeepsEveryPlaceOfTheTable) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const WindowPixels window = LayOut(dpi);
        for (std::size_t i = 0; i < kControls.size(); ++i) EXPECT_EQ(window.controls[i], PixelsOf(kControls[i], dpi));
        EXPECT_EQ(window.statusLine, PixelsOf(kStatusLine, dpi));
        EXPECT_EQ(window.width, TwipsToPixels(kClientWidthTwips, dpi));
        EXPECT_EQ(window.height, TwipsToPixels(kClientHeightTwips, dpi));
    }
}

TEST(LayoutTest, EveryTextFitsItsGrownControl) {
    const LengthCatalogue catalogue({{"Interval (Milliseconds)", 90}, {"Pixels", 60}, {"Go", 40}, {"Stop", 50}});
    UseCatalogue(&catalogue);
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const WindowPixels window = LayOut(dpi);
        for (std::size_t i = 0; i < kControls.size(); ++i) {
            const ControlLayout& control = kControls[i];
            if (control.kind == ControlKind::Label) {
                EXPECT_LE(FakeWidth(ShownText(control).c_str(), window.fontSizes[i]) + kInsets.label,
                          window.controls[i].width)
                    << ShownText(control);
            }
            if (control.kind == ControlKind::Button) {
                for (const char* caption : {kCaptionGo, kCaptionStop})
                    EXPECT_LE(FakeWidth(Tr(caption).c_str(), window.fontSizes[i]) + kInsets.button,
                              window.controls[i].width);
            }
        }
    }
    UseCatalogue(nullptr);
}

}  // namespace
}  // namespace nudgewick
