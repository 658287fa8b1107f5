// Scanning must not allocate: NextToken never, and StartLine not once its line
// block is large enough. Counted with a replaced global operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/highlight/THTMLHighlighter.h"

namespace {
bool counting = false;
long allocations = 0;
}  // namespace

void* operator new(std::size_t n) {
    if (counting) ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// The nothrow forms too (the standard library's temporary buffers use them),
// so every new and delete of the program pairs malloc with free.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(n ? n : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

TEST(HTMLHighlighter, ScanningDoesNotAllocate) {
    const std::vector<std::string> lines = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">",
        "<body bgcolor=\"red\" text=#000 link='blue'><tabel></noscripts><h1a>",
        "AT&T &amp; &#169; &#xA9; &#12x &copy &thetasym;\t\x01",
        "<!-- open", "still -->", "<img src=\"multi", "line\" alt='a", "b' width=", "10>",
    };
    pelm::THTMLHighlighter hl;
    size_t longest = 0;
    for (const auto& l : lines) longest = std::max(longest, l.size());
    hl.StartLine(std::string(longest, 'x'), 0);  // grows the line block once
    allocations = 0;
    counting = true;
    int tokens = 0;
    for (int pass = 0; pass < 2; ++pass) {
        hl.ResetState();
        for (size_t i = 0; i < lines.size(); ++i) {
            hl.StartLine(lines[i], static_cast<int>(i));
            while (!hl.AtLineEnd()) {
                ++tokens;
                (void)hl.TokenView();
                (void)hl.TokenAttribute();
                hl.NextToken();
            }
        }
    }
    counting = false;
    EXPECT_GT(tokens, 100);
    EXPECT_EQ(allocations, 0);
}

}  // namespace
