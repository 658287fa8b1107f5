// Fuzzes the regular-expression engine: the first byte holds the six modifiers
// (bits i r s g m x), the rest is the expression, a NUL byte, and the subject
// (a second NUL inside the subject ends it for the engine, as in the editor).
// The engine must either refuse the expression with a compile error or find
// every match of the subject through RunOn and RunNext, or stop with one of the
// run errors an expression can reach (1014, 1016). Each match must lie inside
// the subject, with its groups inside it, and be found again from its own start;
// ReplaceMatches and the templates must not fail. Every input is run twice, the
// usual way and with the verdict table from the first step where the program
// allows it, and both must give the same matches. The step budget is lowered so
// that expressions that run out of it cost little.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/TRegEngine.h"
#include "core/search/TRegEngineImpl.h"

using pelm::ERegEngine;
using pelm::TRegEngine;

namespace {

constexpr size_t kMaxExpression = 200;
constexpr size_t kMaxSubject = 300;

[[noreturn]] void fail(const char* what, std::string_view expr, int value) {
    std::fprintf(stderr, "fuzz_regex: %s (%d) for expression \"%.*s\"\n", what, value, static_cast<int>(expr.size()),
                 expr.data());
    std::abort();
}

struct Match {
    int groups[2 * (TRegEngine::kMaxGroup + 1)];
};

// Every match of the subject, or the run error that stopped the search (0 none,
// -1 a compile error).
int allMatches(TRegEngine& re, std::string_view expr, std::string_view subject, std::vector<Match>& out) {
    out.clear();
    const int len = static_cast<int>(std::min(subject.find('\0'), subject.size()));
    try {
        bool found = re.RunOn(subject);
        for (int n = 0; found; ++n) {
            if (n > len + 1) fail("more matches than positions", expr, n);
            Match m{};
            int start = re.GroupStart(0), length = re.GroupLength(0);
            if (start < 1 || length < 0 || start + length - 1 > len) fail("match outside the subject", expr, start);
            for (int g = 0; g <= TRegEngine::kMaxGroup; ++g) {
                int gs = re.GroupStart(g), gl = re.GroupLength(g);
                if (g > re.GroupCount() && gs != -1) fail("group beyond the expression's groups", expr, g);
                if (gs != -1 && (gs < 1 || gl < 0 || gs + gl - 1 > len)) fail("group outside the subject", expr, g);
                m.groups[2 * g] = gs;
                m.groups[2 * g + 1] = gl;
            }
            re.FillTemplate("[$0|$1|${2}|$&|\\$|$14|$99]");
            out.push_back(m);
            found = re.RunNext();
        }
    } catch (const ERegEngine& e) {
        int code = e.ErrorCode();
        if (code < 1000) {
            if (!out.empty()) fail("compile error after a match", expr, code);
            if (TRegEngine::ErrorMessage(code) == "Unknown error") fail("compile error without a message", expr, code);
            return -1;
        }
        if (code != TRegEngine::reTooComplex && code != TRegEngine::reLoopStackExceeded)
            fail("unexpected run error", expr, code);
        return code;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int mods = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t nul = rest.find('\0');
    if (nul == std::string_view::npos || nul > kMaxExpression) return 0;
    std::string_view expr = rest.substr(0, nul);
    std::string_view subject = rest.substr(nul + 1);
    if (subject.size() > kMaxSubject) return 0;

    pelm::regengine::StepBudget() = 2000000;
    size_t& depth = pelm::regengine::VerdictDepth();
    const size_t usualDepth = size_t(1) << 16;

    TRegEngine usual, table;
    for (TRegEngine* re : {&usual, &table}) {
        for (int k = 0; k < 6; ++k) re->SetModifier(k + 1, (mods >> k) & 1);
        re->SetExpressionText(expr);
    }
    std::vector<Match> a, b;
    depth = usualDepth;
    int errA = allMatches(usual, expr, subject, a);
    if (errA == -1) return 0;
    depth = 0;
    int errB = allMatches(table, expr, subject, b);
    depth = usualDepth;
    if (errA == 0 && errB == 0) {
        if (a.size() != b.size()) fail("the verdict table finds another number of matches", expr, static_cast<int>(b.size()));
        for (size_t i = 0; i < a.size(); ++i)
            for (int k = 0; k < 2 * (TRegEngine::kMaxGroup + 1); ++k)
                if (a[i].groups[k] != b[i].groups[k]) fail("the verdict table finds another match", expr, k);
    }
    if (errA == 0 && !a.empty()) {
        // A match is found again from its own start, the same.
        const Match& m = a.back();
        try {
            if (!usual.RunFrom(m.groups[0])) fail("match not found again from its start", expr, m.groups[0]);
            if (usual.GroupStart(0) != m.groups[0] || usual.GroupLength(0) != m.groups[1])
                fail("match found again differs", expr, usual.GroupStart(0));
        } catch (const ERegEngine& e) {
            if (e.ErrorCode() != TRegEngine::reTooComplex) fail("error on the second search", expr, e.ErrorCode());
        }
        try {
            std::string replaced = usual.ReplaceMatches(subject, "<$&>");
            if (replaced.size() < static_cast<size_t>(std::min(subject.find('\0'), subject.size())))
                fail("replacement shorter than the subject", expr, static_cast<int>(replaced.size()));
        } catch (const ERegEngine& e) {
            if (e.ErrorCode() != TRegEngine::reTooComplex) fail("error while replacing", expr, e.ErrorCode());
        }
    }
    return 0;
}
