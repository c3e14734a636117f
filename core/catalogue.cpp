#include "core/catalogue.h"

#include <vector>

namespace nudgewick {
namespace {

const Catalogue* installed = nullptr;

const char* EnglishForm(const char* one, const char* other, unsigned long count) { return count == 1 ? one : other; }

// A text kept for another copy: its English, each value after kNext, all
// between kOpen and kClose.
constexpr char kOpen = '\1', kClose = '\2', kNext = '\3';
constexpr std::string_view kMarks = "\1\2\3";
// What a meaning that another program wrote may say at most: its texts could
// repeat their values at every level.
constexpr std::size_t kLongestSpoken = 16384;

class MeaningCatalogue final : public Catalogue {
public:
    std::string Text(const char* text) const override { return kOpen + std::string(text) + kClose; }
    // Kept as the English form for count: the meaning of what a copy answers
    // holds no plural.
    std::string Plural(const char* one, const char* other, unsigned long count) const override {
        return Text(EnglishForm(one, other, count));
    }
};
const MeaningCatalogue meaning;

// No translation starts with a control character.
bool Kept(std::string_view pattern) { return pattern.starts_with(kOpen); }

std::string Filled(std::string_view pattern, const std::string_view* values, std::size_t count,
                   std::size_t longest = std::string::npos) {
    std::string text;
    if (Kept(pattern)) {
        text = pattern.substr(0, pattern.size() - 1);
        for (std::size_t k = 0; k < count; ++k) (text += kNext) += values[k];
        return text += kClose;
    }
    for (std::size_t at = 0; at < pattern.size() && text.size() <= longest; ++at) {
        const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
        const auto number = static_cast<std::size_t>(next - '1');
        if (pattern[at] == '%' && next >= '1' && next <= '9' && number < count) {
            text += values[number];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

std::string SpokenText(std::string_view kept, std::size_t& at);

// The text from at to the end, or to the end of the value it is (inner);
// marks out of place are dropped.
std::string SpokenFrom(std::string_view kept, std::size_t& at, bool inner) {
    std::string said;
    while (at < kept.size() && said.size() <= kLongestSpoken) {
        const char c = kept[at];
        if (inner && (c == kNext || c == kClose)) break;
        ++at;
        if (c == kOpen) {
            said += SpokenText(kept, at);
        } else if (kMarks.find(c) == std::string_view::npos) {
            said += c;
        }
    }
    return said;
}

// After kOpen: the English, then the values, translated here.
std::string SpokenText(std::string_view kept, std::size_t& at) {
    const std::size_t end = std::min(kept.find_first_of(kMarks, at), kept.size());
    const std::string english(kept.substr(at, end - at));
    at = end;
    std::vector<std::string> values;
    while (kept.substr(at).starts_with(kNext)) values.push_back(SpokenFrom(kept, ++at, true));
    if (kept.substr(at).starts_with(kClose)) ++at;
    const std::vector<std::string_view> views(values.begin(), values.end());
    return Filled(Tr(english.c_str()), views.data(), views.size(), kLongestSpoken);
}

}  // namespace

void UseCatalogue(const Catalogue* catalogue) { installed = catalogue; }

// gettext gives the empty text the catalogue's header.
std::string Tr(const char* text) { return installed && *text != '\0' ? installed->Text(text) : std::string(text); }

std::string TrN(const char* one, const char* other, unsigned long count) {
    if (installed) return installed->Plural(one, other, count);
    return EnglishForm(one, other, count);
}

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> values) {
    return Filled(pattern, values.begin(), values.size());
}

MeaningOnly::MeaningOnly() : before_(installed) { installed = &meaning; }
MeaningOnly::~MeaningOnly() { installed = before_; }

std::string Spoken(std::string_view kept) {
    std::size_t at = 0;
    return SpokenFrom(kept, at, false);
}

}  // namespace nudgewick
