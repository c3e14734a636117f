#pragma once
// Raw deflate streams (RFC 1951) undone: the Windows program carries its
// catalogues compressed by the build, and a decoder this size costs less
// than a library in a one-file .exe.

#include <optional>
#include <string>
#include <string_view>

namespace nudgewick {

// What deflated stands for; nothing when it is not a whole stream (cut short,
// a reserved block type, a code that is no code, a distance before the start).
std::optional<std::string> Inflate(std::string_view deflated);

}  // namespace nudgewick
