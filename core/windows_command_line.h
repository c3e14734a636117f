#pragma once
// The Windows command lines: the one the program is started with, and the one
// that opens the web address through cmd.

#include <string>
#include <string_view>

namespace nudgewick {

// What a Windows command line holds after the program's own name and the one
// blank or tab that ends it; any further blanks belong to the arguments, so a
// command line of blanks only stays one. The name ends at the first blank or
// tab outside double quotes, so a quoted path may contain blanks.
std::wstring_view CommandLineTail(std::wstring_view commandLine);

// True when no character of the address means anything to cmd, so that
// handing it to "start" opens exactly this address and runs nothing else.
// A blank is refused too: start would split the address there.
constexpr bool IsPlainAddress(std::string_view address) {
    if (address.empty()) return false;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) return false;
        if (std::string_view(" &|<>^%\"").find(c) != std::string_view::npos) return false;
    }
    return true;
}

// The Windows command line that opens an address: cmd /c "Start <address>".
std::string CmdStartCommandLine(std::string_view address);

}  // namespace nudgewick
