// Editor model speed: typing and Enter/Backspace in the middle of a
// 1,000,000-line buffer, and SelectedText := over a 100,000-line selection.
// Reports microseconds per keystroke and undo-list bytes per keystroke.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/editor/TCustomCodeEdit.h"

using namespace pelm;

namespace {

// Indented lines, as in markup; and lines at the left margin, where Backspace
// after Enter joins at once (under lines all indented alike, the smart unindent
// looks up to the first line indented less, which may be the top of the file).
constexpr const char* Indented = "    line %d of the document <p>text</p>";
constexpr const char* Flush = "line %d of the document <p>text</p>";
constexpr int BufferLines = 1000000;
constexpr int Keystrokes = 10000;

std::unique_ptr<TCustomCodeEdit> makeEditor(int lines, const char* format) {
    auto e = std::make_unique<TCustomCodeEdit>();
    std::vector<std::string> text;
    text.reserve(static_cast<size_t>(lines));
    char buf[64];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(buf, sizeof buf, format, i);
        text.emplace_back(buf);
    }
    e->Lines().AppendLines(text);
    e->SetModified(false);
    return e;
}

void report(benchmark::State& state, double seconds, long keys, const TCustomCodeEdit& e) {
    state.counters["us_per_key"] = seconds * 1e6 / static_cast<double>(keys);
    state.counters["undo_bytes_per_key"] =
        static_cast<double>(const_cast<TCustomCodeEdit&>(e).UndoList().MemoryUsed()) / static_cast<double>(Keystrokes);
}

void BM_TypeInMiddle(benchmark::State& state) {
    auto e = makeEditor(BufferLines, Indented);
    double seconds = 0;
    long keys = 0;
    for (auto _ : state) {
        e->DiscardUndo();
        e->SetCaretPos({5, BufferLines / 2});
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < Keystrokes; ++i) e->PerformCommand(ecChar, static_cast<char>('a' + i % 26));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        keys += Keystrokes;
    }
    report(state, seconds, keys, *e);
}
BENCHMARK(BM_TypeInMiddle)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EnterBackspaceInMiddle(benchmark::State& state) {
    auto e = makeEditor(BufferLines, Flush);
    double seconds = 0;
    long keys = 0;
    for (auto _ : state) {
        e->DiscardUndo();
        e->SetCaretPos({8, BufferLines / 2});
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < Keystrokes; ++i) {
            e->PerformCommand(ecLineBreak);
            e->PerformCommand(ecDeleteLastChar);
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        keys += 2L * Keystrokes;
    }
    if (e->Lines().Count() != BufferLines) state.SkipWithError("the pairs did not cancel out");
    report(state, seconds, keys, *e);
}
BENCHMARK(BM_EnterBackspaceInMiddle)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReplaceSelectionOf100kLines(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = makeEditor(BufferLines, Indented);
        e->SetSelection({1, 400000}, {1, 500000});
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        e->SetSelectedText("replacement");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.PauseTiming();
        auto t1 = std::chrono::steady_clock::now();
        e->Undo();
        state.counters["undo_ms"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count() * 1e3;
        if (e->Lines().Count() != BufferLines) state.SkipWithError("undo did not restore the lines");
        e.reset();
        state.ResumeTiming();
    }
    state.counters["replace_ms"] = seconds * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReplaceSelectionOf100kLines)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
