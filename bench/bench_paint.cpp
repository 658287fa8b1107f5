// One full repaint of the editor widget showing 50 rows of 120 cells, over
// big.html (50 MB, HTML highlighter attached as the program attaches it) and
// over oneline.min.js (one 5 MB line: plain, with word wrap, and with the HTML
// highlighter), at the top, the middle and the end of the text. Runs on Qt's
// offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>
#include <string>

#include "CorpusFile.h"
#include "core/highlight/THTMLHighlighter.h"
#include "gui/editor/TCodeEdit.h"

using namespace pelm;

namespace {

enum Position { Top, Middle, End };
enum Variant { Plain, Wrapped, Highlighted };

// An editor over one corpus file, sized to 120 x 50 cells.
struct Scene {
    std::unique_ptr<TCodeEdit> edit;
    THTMLHighlighter html;
    QImage image;

    Scene(const std::string& file, Variant variant) {
        edit = std::make_unique<TCodeEdit>();
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(13);
        edit->SetEditorFont(font);
        edit->SetActiveLineColor(clInfoBk);
        edit->SetShowLineNumbers(true);
        edit->Lines().LoadTextFile(file);
        if (variant == Highlighted) {
            html.ApplyMainWindowColours();
            edit->SetHighlighter(&html);
        }
        edit->show();
        // Grow the widget until its viewport holds exactly 120 x 50 cells.
        for (int i = 0; i < 3; ++i) {
            const QSize want(edit->Model().GutterSpan() + 2 + 120 * edit->CellPixelWidth(),
                             50 * edit->RowPixelHeight());
            const QSize have = edit->viewport()->size();
            edit->resize(edit->size() + (want - have));
            QApplication::processEvents();
        }
        if (variant == Wrapped) edit->SetWordWrap(true);
        image = QImage(edit->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }

    void MoveTo(Position pos) {
        TCustomCodeEdit& m = edit->Model();
        if (m.Lines().Count() > 1 || m.WordWrap()) {
            const int rows = m.RowCount();
            const int row = pos == Top ? 1 : pos == Middle ? rows / 2 : rows;
            m.SetFirstRow(row);
            m.SetCaretPos(m.RowToTextPos(TDisplayCoord{1, m.FirstRow()}));
        } else {
            const int len = m.LineLength(1);
            const int col = pos == Top ? 1 : pos == Middle ? len / 2 : len - 100;
            m.SetCaretPos(TBufferCoord{col, 1});
            m.SetFirstColumn(col);
        }
    }

    void Paint() { edit->viewport()->render(&image); }
};

Scene& SceneFor(const std::string& name, Variant variant) {
    static std::unique_ptr<Scene> scenes[2][3];
    const int f = name == "big.html" ? 0 : 1;
    auto& slot = scenes[f][variant];
    if (!slot) {
        const std::string file = bench::CorpusFile(name);
        if (file.empty()) {
            std::fprintf(stderr, "cannot decompress %s\n", name.c_str());
            std::exit(1);
        }
        slot = std::make_unique<Scene>(file, variant);
    }
    return *slot;
}

void RunPaint(benchmark::State& state, const std::string& name, Variant variant) {
    Scene& scene = SceneFor(name, variant);
    scene.MoveTo(static_cast<Position>(state.range(0)));
    for (auto _ : state) {
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.SetLabel(state.range(0) == Top ? "top" : state.range(0) == Middle ? "middle" : "end");
}

void BM_PaintBigHtmlHighlighted(benchmark::State& s) { RunPaint(s, "big.html", Highlighted); }
void BM_PaintBigHtmlPlain(benchmark::State& s) { RunPaint(s, "big.html", Plain); }
void BM_PaintOneLinePlain(benchmark::State& s) { RunPaint(s, "oneline.min.js", Plain); }
void BM_PaintOneLineWrapped(benchmark::State& s) { RunPaint(s, "oneline.min.js", Wrapped); }
void BM_PaintOneLineHighlighted(benchmark::State& s) { RunPaint(s, "oneline.min.js", Highlighted); }

BENCHMARK(BM_PaintBigHtmlHighlighted)->DenseRange(Top, End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintBigHtmlPlain)->DenseRange(Top, End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneLinePlain)->DenseRange(Top, End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneLineWrapped)->DenseRange(Top, End)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneLineHighlighted)->DenseRange(Top, End)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
