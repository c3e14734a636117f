#include "core/catalogue.h"

namespace nudgewick {
namespace {

const Catalogue* installed = nullptr;

}  // namespace

void UseCatalogue(const Catalogue* catalogue) { installed = catalogue; }

// gettext gives the empty text the catalogue's header.
std::string Tr(const char* text) { return installed && *text != '\0' ? installed->Text(text) : std::string(text); }

std::string TrN(const char* one, const char* other, unsigned long count) {
    if (installed) return installed->Plural(one, other, count);
    return count == 1 ? one : other;
}

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
        const auto number = static_cast<std::size_t>(next - '1');
        if (pattern[at] == '%' && next >= '1' && next <= '9' && number < values.size()) {
            text += values.begin()[number];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

}  // namespace nudgewick
