#pragma once
// The core speaks UTF-8, Windows speaks UTF-16.
#include <string>
#include <string_view>

namespace nudgewick::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's own description of an error code from GetLastError, in UTF-8.
std::string SystemMessage(unsigned long error);

// What failed, in the program's words, followed by the system's reason.
std::string Failure(std::string_view what, unsigned long error);

}  // namespace nudgewick::win32
