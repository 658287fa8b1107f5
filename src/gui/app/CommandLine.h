#pragma once
// The program's command line: "pelm [ФАЙЛ]", plus --help and --version, which
// print (in Russian) and end the program before any window exists.
#include <string>
#include <vector>

namespace pelm {

struct CommandLine {
    // Text to print on standard output and exit with code 0 (--help,
    // --version); empty for a normal start.
    std::string printAndExit;
    // Where in the arguments the file to open is; -1 when none. Only the
    // first file name counts: further ones are ignored.
    int fileIndex = -1;
};

// args are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace pelm
