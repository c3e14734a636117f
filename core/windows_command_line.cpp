#include "core/windows_command_line.h"

namespace nudgewick {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring_view CommandLineTail(std::wstring_view commandLine) {
    std::size_t at = 0;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || !IsBlank(commandLine[at])); ++at) {
        if (commandLine[at] == L'"') quoted = !quoted;
    }
    if (at < commandLine.size()) ++at;
    return commandLine.substr(at);
}

std::string CmdStartCommandLine(std::string_view address) {
    std::string line = "cmd /c \"Start ";
    line += address;
    line += '"';
    return line;
}

}  // namespace nudgewick
