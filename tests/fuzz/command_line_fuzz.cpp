// The command-line splitter against a reference split. The first byte picks
// maxArgs from -15..15, so that negative counts are tried too; the rest is the
// command line.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "require.h"
#include "startup/command_line.h"

namespace {

using nudgewick::fuzz::Require;

constexpr std::string_view kBlanks = " \t";

// Every word of the text, found by searching rather than char by char.
std::vector<std::string> ReferenceWords(std::string_view text) {
    std::vector<std::string> words;
    auto start = text.find_first_not_of(kBlanks);
    while (start != std::string_view::npos) {
        const auto end = text.find_first_of(kBlanks, start);
        words.emplace_back(text.substr(start, end - start));
        start = text.find_first_not_of(kBlanks, std::min(end, text.size()));
    }
    return words;
}

void CheckSplit(std::string_view text, int maxArgs) {
    const auto slots = nudgewick::SplitCommandLine(text, maxArgs);
    const auto words = ReferenceWords(text);
    const auto kept = std::min(words.size(), static_cast<std::size_t>(std::max(maxArgs, 0)));

    Require(!slots.empty() && slots[0].empty(), "slot 0 exists and is empty");
    Require(slots.size() == kept + 1, "one slot per word, at most maxArgs");
    for (std::size_t i = 1; i < slots.size(); ++i) {
        Require(!slots[i].empty(), "no empty word");
        Require(slots[i].find_first_of(kBlanks) == std::string::npos, "no blank in a word");
        Require(slots[i] == words[i - 1], "the text's words, in order");
    }

    const std::vector<std::string> keptWords(slots.begin() + 1, slots.end());
    Require(nudgewick::SplitCommandLine(nudgewick::JoinArguments(keptWords), maxArgs) == slots,
            "joined words split back into the same words");
}

// Whatever the text, start-up either goes ahead silently or stops saying why.
void CheckStartup(std::string_view text) {
    const auto check = nudgewick::CheckCommandLine(text);
    if (check.proceed) {
        Require(check.exitCode == 0 && check.output.empty(), "going ahead says nothing");
    } else {
        Require(check.exitCode == 0 || check.exitCode == 2, "exit code 0 or 2");
        Require(!check.output.empty() && check.output.back() == '\n', "stopping says why");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int maxArgs = static_cast<std::int8_t>(data[0]) % 16;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckSplit(text, maxArgs);
    CheckStartup(text);
    return 0;
}
