#pragma once
#include <string_view>

namespace nudgewick {

// What a Windows command line holds after the program's own name and the one
// blank or tab that ends it; any further blanks belong to the arguments, so a
// command line of blanks only stays one. The name ends at the first blank or
// tab outside double quotes, so a quoted path may contain blanks.
std::wstring_view CommandLineTail(std::wstring_view commandLine);

}  // namespace nudgewick
