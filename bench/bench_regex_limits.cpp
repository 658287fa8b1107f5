// The regular-expression engine on hostile lines: how long a search runs before it
// answers or gives up with "too complex" (1016). Each case runs one search per
// iteration; the "outcome" counter is 1 for a match, 0 for none, -1 for 1016 and
// -2 for any other error.
#include <benchmark/benchmark.h>

#include <string>

#include "core/search/TRegEngine.h"

namespace {

struct Limit {
    const char* expr;
    std::string text;
};

const std::string kMiB(size_t(1) << 20, 'a');

const Limit kLimits[] = {
    // Back references: the comparison costs its length.
    {"(a+)\\1+b", "b" + kMiB},
    {"(?i)(\\w+)(\\w+)\\2\\1z", "z" + std::string(5000, 'a')},
    // Repeats of simple groups over a long line: the answer, not 1016.
    {"(a|b)*", std::string(600000, 'a')},
    {"(a|aa)+b", "b" + std::string(700000, 'a')},
    {"(a|b)*c", kMiB},
    {"(ab|a)*!", kMiB + "!"},
    // Empty iterations on tiny lines.
    {"(|\\1){1,25}!", "a!"},
    {"\\B{99999999}", ""},
    {"(a*){2,}", "aaa"},
    // The exponential trap with a back reference, which the failure memory cannot
    // cover: the step budget ends it.
    {"(x+x+)+\\1y", std::string(40, 'x') + "!y"},
    {"(x+x+)+\\1y", std::string(100000, 'x') + "!y"},
    // The slowest steps: case-blind comparisons, and the failure memory or the
    // verdict table of a larger program over a megabyte.
    {"(?i)(a+)\\1+b", "b" + kMiB},
    {"(x+x+)+y", kMiB + "!y"},
    {"((a|b)+c?)+d", kMiB + "!d"},
    {"(a|b|c|d|e|f|g|h|aa|bb|cc|dd)+z", kMiB + "!z"},
};

void BM_Limit(benchmark::State& state) {
    const Limit& l = kLimits[state.range(0)];
    pelm::TRegEngine re;
    re.SetExpressionText(l.expr);
    state.SetLabel(std::string(l.expr) + " on " + std::to_string(l.text.size()) + " bytes");
    int outcome = 0;
    for (auto _ : state) {
        try {
            outcome = re.RunOn(l.text) ? 1 : 0;
        } catch (const pelm::ERegEngine& e) {
            outcome = e.ErrorCode() == pelm::TRegEngine::reTooComplex ? -1 : -2;
        }
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["outcome"] = outcome;
}

}  // namespace

BENCHMARK(BM_Limit)->DenseRange(0, 14)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
