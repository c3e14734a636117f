#include "core/utf8.h"

#include <bit>

namespace nudgewick {
std::size_t CharacterSize(std::string_view text, std::size_t byte) {
    const auto lead = static_cast<unsigned char>(text.at(byte));
    // A lead byte's ones before its first zero count the sequence's bytes:
    // none for ASCII, one for a continuation byte, which leads nothing.
    const int ones = std::countl_one(lead);
    const std::size_t size = ones >= 2 && ones <= 4 ? static_cast<std::size_t>(ones) : 1;
    if (size == 1 || byte + size > text.size()) return 1;
    for (std::size_t next = byte + 1; next < byte + size; ++next)
        if (!IsContinuation(static_cast<unsigned char>(text.at(next)))) return 1;
    // A longer form than the code point needs, one of UTF-16's surrogates or
    // one past Unicode's last is no character: its bytes are stray.
    const char32_t code = CodePoint(text.substr(byte, size));
    constexpr char32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLowest[size] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 1;
    return size;
}

bool IsStray(std::string_view text, std::size_t byte) {
    return static_cast<unsigned char>(text.at(byte)) >= 0x80 && CharacterSize(text, byte) == 1;
}

char32_t CodePoint(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character.front());
    if (character.size() == 1) return lead < 0x80 ? lead : 0xFFFD;
    char32_t value = lead & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    return value;
}

}  // namespace nudgewick
