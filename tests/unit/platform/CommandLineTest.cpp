#include "core/platform/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    const char* text;
    Args expected;
};

// Parameter texts as the program passes them (a quoted preview file name, a
// help path) and the corner rules of the Windows runtime's splitter.
const SplitCase kCases[] = {
    {"", {}},
    {"   \t ", {}},
    {"a", {"a"}},
    {"  a   b\tc  ", {"a", "b", "c"}},
    {"\"/tmp/my page.html-preview.htm\"", {"/tmp/my page.html-preview.htm"}},
    {"-new \"C:\\Program Files\\x.htm\" tail", {"-new", "C:\\Program Files\\x.htm", "tail"}},
    {"ab\"c d\"ef g", {"abc def", "g"}},            // quotes inside a word join the run
    {"\"\"", {""}},                                 // an empty quoted argument survives
    {"a \"\" b", {"a", "", "b"}},
    {"\"unterminated run", {"unterminated run"}},   // the end of the text closes it
    {"\"say \"\"hi\"\"\"", {"say \"hi\""}},         // "" inside quotes is one quote
    {"a\\\\b", {"a\\\\b"}},                         // backslashes before no quote stay
    {"a\\\"b", {"a\"b"}},                           // odd run: literal quote
    {"\"a\\\\\" b", {"a\\", "b"}},                  // even run: halved, quote closes
    {"\"a\\\\\\\" b\"", {"a\\\" b"}},               // three: one backslash, literal quote
    {"dir\\ \"x\"", {"dir\\", "x"}},
    {"\xcf\xf0\xe8\xe2\xe5\xf2 \"\xec\xe8\xf0\"", {"\xcf\xf0\xe8\xe2\xe5\xf2", "\xec\xe8\xf0"}},  // 8-bit bytes pass through
};

TEST(SplitCommandLine, SplitsLikeTheWindowsRuntime) {
    for (const auto& c : kCases) {
        EXPECT_EQ(pelm::SplitCommandLine(c.text), c.expected) << "text: [" << c.text << "]";
    }
}

}  // namespace
