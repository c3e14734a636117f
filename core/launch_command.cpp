#include "core/launch_command.h"

namespace nudgewick {

std::string CmdStartCommandLine(std::string_view address) {
    std::string line = "cmd /c \"Start ";
    line += address;
    line += '"';
    return line;
}

}  // namespace nudgewick
