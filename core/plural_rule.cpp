#include "core/plural_rule.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace nudgewick {
namespace {

// Evaluates the expression for n, lowest precedence first; nothing once it
// finds what C would not read, or a division by zero.
class Evaluation {
public:
    Evaluation(std::string_view text, unsigned long n) : text_(text), n_(n) {}

    std::optional<unsigned long> Whole() {
        const auto value = Choice();  // its last look for an operator took the blanks after it
        return at_ == text_.size() ? value : std::nullopt;
    }

private:
    using Value = std::optional<unsigned long>;

    void Blanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    bool Take(std::string_view token) {
        Blanks();
        // Each caller tries the longer operator first ("<=" before "<"), and a
        // "!" where an operand starts is never the start of "!=".
        if (!text_.substr(at_).starts_with(token)) return false;
        at_ += token.size();
        return true;
    }

    Value Choice() {
        const Value condition = Or();
        if (!condition || !Take("?")) return condition;
        const Value yes = Choice();
        if (!yes || !Take(":")) return std::nullopt;
        const Value no = Choice();
        if (!no) return std::nullopt;
        return *condition ? yes : no;
    }
    Value Or() {
        Value value = And();
        while (value && Take("||")) {
            const Value right = And();
            value = right ? Value(*value || *right) : std::nullopt;
        }
        return value;
    }
    Value And() {
        Value value = Equality();
        while (value && Take("&&")) {
            const Value right = Equality();
            value = right ? Value(*value && *right) : std::nullopt;
        }
        return value;
    }
    Value Equality() {
        Value value = Order();
        while (value) {
            const bool equal = Take("==");
            if (!equal && !Take("!=")) break;
            const Value right = Order();
            value = right ? Value((*value == *right) == equal) : std::nullopt;
        }
        return value;
    }
    Value Order() {
        Value value = Sum();
        while (value) {
            Value right;
            if (Take("<=")) {
                right = Sum(), value = right ? Value(*value <= *right) : std::nullopt;
            } else if (Take(">=")) {
                right = Sum(), value = right ? Value(*value >= *right) : std::nullopt;
            } else if (Take("<")) {
                right = Sum(), value = right ? Value(*value < *right) : std::nullopt;
            } else if (Take(">")) {
                right = Sum(), value = right ? Value(*value > *right) : std::nullopt;
            } else {
                break;
            }
        }
        return value;
    }
    Value Sum() {
        Value value = Product();
        while (value) {
            const bool plus = Take("+");
            if (!plus && !Take("-")) break;
            const Value right = Product();
            value = right ? Value(plus ? *value + *right : *value - *right) : std::nullopt;
        }
        return value;
    }
    Value Product() {
        Value value = Not();
        while (value) {
            const char op = Take("*") ? '*' : Take("/") ? '/' : Take("%") ? '%' : '\0';
            if (op == '\0') break;
            const Value right = Not();
            if (!right || (op != '*' && *right == 0)) return std::nullopt;
            value = op == '*' ? *value * *right : op == '/' ? *value / *right : *value % *right;
        }
        return value;
    }
    Value Not() {
        if (!Take("!")) return Primary();
        const Value value = Not();
        return value ? Value(!*value) : std::nullopt;
    }
    Value Primary() {
        if (Take("(")) {
            const Value value = Choice();
            return value && Take(")") ? value : std::nullopt;
        }
        if (Take("n")) return n_;
        unsigned long number{};  // from_chars sets it or fails
        const char* const end = text_.data() + text_.size();
        const auto [after, error] = std::from_chars(text_.data() + at_, end, number);
        if (error != std::errc()) return std::nullopt;
        at_ = after - text_.data();
        return number;
    }

    std::string_view text_;
    unsigned long n_;
    std::size_t at_ = 0;
};

// The value after "name=" up to the next ';': empty, which no rule reads,
// where the header has none.
std::string_view Field(std::string_view header, std::string_view name) {
    const auto at = header.find(name);
    if (at == std::string_view::npos) return {};
    const std::string_view rest = header.substr(at + name.size());
    return rest.substr(0, rest.find(';'));
}

}  // namespace

std::optional<PluralRule> PluralRule::Read(std::string_view header) {
    const std::string_view forms = Field(header, "nplurals="), expression = Field(header, "plural=");
    const auto count = Evaluation(forms, 0).Whole();
    if (!count || *count == 0 || !Evaluation(expression, 1).Whole()) return std::nullopt;
    return PluralRule(*count, std::string(expression));
}

unsigned long PluralRule::FormFor(unsigned long count) const {
    const auto form = Evaluation(expression_, count).Whole();
    return form && *form < forms_ ? *form : 0;
}

const TranslatedText* TableCatalogue::Find(std::string_view english, const char* plural) const {
    const auto found = std::find_if(texts_.begin(), texts_.end(), [&](const TranslatedText& text) {
        return english == text.english && (plural == nullptr) == (text.englishPlural == nullptr);
    });
    return found == texts_.end() ? nullptr : &*found;
}

std::string TableCatalogue::Text(const char* text) const {
    const TranslatedText* found = Find(text, nullptr);
    return found != nullptr && !found->forms.empty() ? found->forms.front() : text;
}

std::string TableCatalogue::Plural(const char* one, const char* other, unsigned long count) const {
    const TranslatedText* found = Find(one, other);
    const unsigned long form = rule_.FormFor(count);
    if (found == nullptr || form >= found->forms.size()) return count == 1 ? one : other;
    return found->forms[form];
}

}  // namespace nudgewick
