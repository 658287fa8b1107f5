#pragma once
// A page device for tests and benchmarks: fixed font metrics, a given page
// geometry, and every call written as one line of text (the render layer's
// recording format, plus):
//   font "NAME" SIZE STYLE COLOUR
//   textout X,Y "BYTES"
//   frame X,Y WxH COLOUR
//   job "TITLE" | newpage | endjob | abortjob
// With recording off, calls are only counted.
#include <string>
#include <vector>

#include "core/print/TPrintCanvas.h"
#include "core/render/TRecordingCanvas.h"

namespace pelm {

class TRecordingPrintCanvas : public TPrintCanvas {
public:
    // Metrics of every font: a character is charWidth wide (boldWidth with
    // bold), rows height + leading high.
    int CharWidth = 10, BoldCharWidth = 12, Height = 20, Leading = 2;
    TPrinterCaps PageCaps;
    bool Recording = true;

    TRecordingPrintCanvas();

    const std::vector<std::string>& Calls() const { return calls_; }
    std::string Text() const;
    void Clear() { calls_.clear(); }
    long long CallCount() const { return count_; }
    long long TextBytes() const { return textBytes_; }
    int Pages() const { return pages_; }

    TPrinterCaps Caps() const override { return PageCaps; }
    void SetFont(const TPrintFont& font) override;
    const TPrintFont& Font() const override { return font_; }
    TPrintFontMetrics Metrics() override;
    int TextWidth(std::string_view bytes) override;
    int TextHeight(std::string_view bytes) override;
    void TextOut(int x, int y, std::string_view bytes) override;
    void FrameRect(int x, int y, int width, int height, TColor color) override;
    void BeginJob(const std::string& title) override;
    void NewPage() override;
    void EndJob() override;
    void AbortJob() override;

    void FillRect(int x, int y, int width, int height, TColor color) override;
    void TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                 TColor background) override;
    void Line(int x1, int y1, int x2, int y2, TColor color) override;
    void BeginClip(int x, int y, int width, int height) override;
    void EndClip() override;

private:
    void note(std::string s) {
        ++count_;
        if (Recording) calls_.push_back(std::move(s));
    }
    void noteFormatted();

    TPrintFont font_;
    TRecordingCanvas format_;  // formats the render layer's calls
    std::vector<std::string> calls_;
    long long count_ = 0;
    long long textBytes_ = 0;
    int pages_ = 0;
};

}  // namespace pelm
