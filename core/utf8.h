#pragma once
// UTF-8 read one character at a time, forgiving of stray bytes: texts come
// from other programs and from the user.

#include <cstddef>
#include <string_view>

namespace nudgewick {

// A byte inside a character, not at its start.
inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The bytes of the character starting at byte: a whole, well-formed UTF-8
// sequence, or 1 for a byte that does not start one.
std::size_t CharacterSize(std::string_view text, std::size_t byte);

// Whether the byte at byte starts no character: CharacterSize gives it alone.
bool IsStray(std::string_view text, std::size_t byte);

// The code point of one character as CharacterSize cuts it; a stray byte
// reads as the replacement character.
char32_t CodePoint(std::string_view character);

}  // namespace nudgewick
