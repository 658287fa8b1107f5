// Fuzzes every highlighter of the language registry: the first byte picks the
// language, the second the state of the first line (any byte value); the rest,
// split at LF (CR, NUL and every other byte stay inside the lines), is scanned
// line by line, each line starting from the end state of the line above. Every line must be covered by contiguous tokens
// up to its first NUL and end with a stable end token; a second scan from the
// same state must give the same tokens and end state; and a line started from
// a real state must end in a state that survives a line end. Finally the lines
// go into a line buffer: after one line is changed, the incremental rescan
// must leave the same states as a full rescan.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/highlight/LanguageRegistry.h"

using pelm::TLanguageHighlighter;

namespace {

struct Token {
    int start;
    int end;
    int kind;
    bool operator==(const Token&) const = default;
};

[[noreturn]] void fail(const char* what, int pos) {
    std::fprintf(stderr, "fuzz_highlight: %s (position %d)\n", what, pos);
    std::abort();
}

uint32_t scanLine(TLanguageHighlighter& hl, uint32_t state, std::string_view line, std::vector<Token>& out) {
    out.clear();
    hl.SetState(state);
    hl.StartLine(line, 0);
    const size_t nulPos = std::min(line.find('\0'), line.size());
    const int nul = static_cast<int>(nulPos);
    int expected = 0;
    const size_t limit = 2 * line.size() + 4;  // a token may be empty, never two in a row
    for (size_t n = 0;; ++n) {
        if (n > limit) fail("the end of the line is never reached", expected);
        if (hl.TokenStart() != expected) fail("tokens are not contiguous", hl.TokenStart());
        if (hl.AtLineEnd()) break;
        int end = hl.ScanPosition();
        if (end < expected || end > nul) fail("token outside the line", end);
        if (hl.TokenView().size() != static_cast<size_t>(end - expected)) fail("token text", end);
        const int kind = hl.TokenKind();
        if (kind < 0 || kind >= hl.TokenKindCount() || kind == hl.Tables().endOfLineKind) fail("token kind", end);
        if (hl.TokenAttribute() != hl.Attribute(hl.Tables().kinds[static_cast<size_t>(kind)].attribute))
            fail("token attribute is not its kind's", end);
        out.push_back({expected, end, hl.TokenKind()});
        expected = end;
        hl.NextToken();
    }
    if (expected != nul) fail("line ended before its NUL", expected);
    hl.NextToken();
    if (!hl.AtLineEnd() || hl.TokenStart() != nul) fail("end token not stable", hl.TokenStart());
    return hl.GetState();
}

// A state a scan can leave at the end of a line: its low byte is one of the
// language's line-end states, and where a language keeps another state above
// it (the state a CSS comment returns to) that is one too.
bool survivesLineEnd(const TLanguageHighlighter& hl, uint32_t s) {
    auto endState = [&](uint32_t v) { return v < 64 && ((hl.Tables().lineEndStates >> v) & 1); };
    const uint32_t upper = s >> 8;
    return endState(s & 0xFF) && (upper == 0 || !hl.Tables().upperBitsHoldAState || endState(upper));
}

// One highlighter per language, made once. PELM_FUZZ_LANGUAGE=<folder> in the
// environment (html, css, xml, js, php, perl) keeps only that language.
std::vector<std::unique_ptr<TLanguageHighlighter>>& highlighters() {
    static std::vector<std::unique_ptr<TLanguageHighlighter>> list = [] {
        std::vector<std::unique_ptr<TLanguageHighlighter>> out;
        const char* only = std::getenv("PELM_FUZZ_LANGUAGE");
        for (const pelm::TLanguageEntry& e : pelm::Languages())
            if (e.make && (!only || std::strcmp(only, e.folder) == 0)) out.push_back(e.make());
        if (out.empty()) fail("PELM_FUZZ_LANGUAGE names no language", 0);
        return out;
    }();
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    TLanguageHighlighter& hl = *highlighters()[data[0] % highlighters().size()];
    std::vector<Token> first, second;
    uint32_t state = data[1];
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::vector<std::string_view> lines;
    for (;;) {
        size_t lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        bool validStart = survivesLineEnd(hl, state);
        uint32_t end = scanLine(hl, state, line, first);
        uint32_t again = scanLine(hl, state, line, second);
        if (first != second || end != again) fail("second scan differs", 0);
        if (validStart && !survivesLineEnd(hl, end)) fail("end state cannot survive a line end", static_cast<int>(end));
        state = end;
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        rest.remove_prefix(lf + 1);
    }

    pelm::TCodeEditStringList buffer, copy;
    for (std::string_view l : lines) buffer.Add(l);
    pelm::FullRescan(buffer, hl);
    // Change one line: drop its first half, so that open constructs change.
    int changed = data[1] % static_cast<int>(lines.size());
    std::string_view old = lines[static_cast<size_t>(changed)];
    buffer.SetStrings(changed, old.substr(old.size() / 2));
    int last = pelm::RescanFrom(buffer, hl, changed);
    if (last < changed || last >= buffer.Count()) fail("rescan returned a line outside the buffer", last);
    copy.Assign(buffer);
    pelm::FullRescan(copy, hl);
    for (int i = 0; i < buffer.Count(); ++i)
        if (buffer.LineState(i) != copy.LineState(i)) fail("incremental rescan differs from a full rescan", i);
    return 0;
}
