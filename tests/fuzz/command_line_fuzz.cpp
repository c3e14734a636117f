// The command line, any text: a start it accepts is in range and stated again by its own words; a refusal
// names a word, option or value that was given.
#include "tests/fuzz/fuzz.h"

namespace {

// A word of the input, or its option or value around "=", named quoted or, an option, as it is.
bool NamesAWordOf(std::string_view refusal, std::string_view input) {
    for (std::size_t at = 0; at < input.size(); ++at) {
        const std::string_view word = input.substr(at, input.find_first_of(" \t", at) - at);
        at += word.size();
        for (const std::string_view part : {word, word.substr(0, word.find('=')), word.substr(word.find('=') + 1)}) {
            const bool option = part.starts_with('-') && refusal.find(part) != std::string_view::npos;
            if (!part.empty() && (option || refusal.find(nudgewick::Quoted(part)) != std::string_view::npos))
                return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const nudgewick::StartupCheck check = nudgewick::CheckCommandLine(text);
    if (check.proceed) nudgewick::fuzz::ExpectAccepted(check.settings);
    FUZZ_EXPECT(check.proceed || !check.output.empty());
    const std::string problem = check.output.substr(0, check.output.rfind("\nusage:"));
    FUZZ_EXPECT(check.exitCode != 2 || NamesAWordOf(problem, text));
    return 0;
}
