#pragma once
#include <string>
#include <string_view>

namespace nudgewick {

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
