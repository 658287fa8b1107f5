#pragma once
// Splitting a command-line text into arguments by the rules of the Windows C
// runtime, so that a parameter text written for a Windows program ("a b" c)
// reaches a program started here as the same argument list, without a shell.
#include <string>
#include <string_view>
#include <vector>

namespace pelm {

// Blanks and tabs separate arguments outside double quotes. A double quote
// starts or ends a quoted run, whose blanks belong to the argument; "" inside a
// quoted run stands for one literal quote. Backslashes are literal unless they
// precede a double quote: then each pair gives one backslash, and an odd one
// left over makes the quote literal. An empty quoted run ("") is an empty
// argument.
std::vector<std::string> SplitCommandLine(std::string_view text);

}  // namespace pelm
