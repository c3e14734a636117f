// Prints the program's --help for the zip's README.txt: the same core as the
// program's, built for the machine that builds the package, so that the two
// cannot say different things.
#include <cstdio>

#include "core/command_line.h"

int main() { return std::fputs(nudgewick::CheckCommandLine("--help").output.c_str(), stdout) < 0 ? 1 : 0; }
