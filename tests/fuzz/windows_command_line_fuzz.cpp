// A Windows command line, any UTF-16: the tail is what follows the program's name and the one blank or tab
// that ends it, the name having no blank or tab outside double quotes.
#include "core/windows_command_line.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::wstring_view tail = nudgewick::CommandLineTail(line);
    FUZZ_EXPECT(std::wstring_view(line).ends_with(tail));
    const std::wstring_view name = std::wstring_view(line).substr(0, line.size() - tail.size());
    bool quoted = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool blank = name[i] == L' ' || name[i] == L'\t';
        FUZZ_EXPECT(!blank || quoted || i + 1 == name.size());
        quoted ^= name[i] == L'"';
    }
    FUZZ_EXPECT(tail.empty() || (!name.empty() && (name.back() == L' ' || name.back() == L'\t') && !quoted));
    return 0;
}
