// Prints a libFuzzer dictionary of every option in core/options.h and the word that starts a command to run, so
// that the fuzzer tries each one: options_dict >options.dict
#include <cstdio>

#include "core/options.h"

int main() {
    for (const nudgewick::OptionName& entry : nudgewick::kOptionNames)
        std::printf("\"%.*s\"\n", static_cast<int>(entry.name.size()), entry.name.data());
    std::printf("\"%.*s\"\n", static_cast<int>(nudgewick::kCommandMark.size()), nudgewick::kCommandMark.data());
    return 0;
}
