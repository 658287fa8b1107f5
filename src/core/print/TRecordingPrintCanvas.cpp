#include "core/print/TRecordingPrintCanvas.h"

namespace pelm {

namespace {
std::string quoted(std::string_view bytes) {
    std::string s = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 32 || b > 126 || b == '"' || b == '\\') {
            static const char hex[] = "0123456789ABCDEF";
            s += "\\x";
            s += hex[b >> 4];
            s += hex[b & 15];
        } else {
            s += ch;
        }
    }
    return s + "\"";
}
std::string xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
}  // namespace

TRecordingPrintCanvas::TRecordingPrintCanvas() {
    // A4 at 600 dpi with a 5 mm unprintable strip on every side.
    PageCaps = TPrinterCaps{4960, 7016, 4724, 6780, 118, 118, 600, 600};
}

std::string TRecordingPrintCanvas::Text() const {
    std::string s;
    for (const std::string& c : calls_) s += c + "\n";
    return s;
}

void TRecordingPrintCanvas::SetFont(const TPrintFont& font) {
    font_ = font;
    note("font " + quoted(font.Name) + " " + std::to_string(font.Size) + " " + TRecordingCanvas::StyleText(font.Style) +
         " " + TRecordingCanvas::ColorText(font.Color));
}

TPrintFontMetrics TRecordingPrintCanvas::Metrics() {
    return TPrintFontMetrics{(font_.Style & fsBold) ? BoldCharWidth : CharWidth, Height, Leading};
}

int TRecordingPrintCanvas::TextWidth(std::string_view bytes) {
    return static_cast<int>(bytes.size()) * ((font_.Style & fsBold) ? BoldCharWidth : CharWidth);
}

int TRecordingPrintCanvas::TextHeight(std::string_view) { return Height; }

void TRecordingPrintCanvas::TextOut(int x, int y, std::string_view bytes) {
    textBytes_ += static_cast<long long>(bytes.size());
    if (Recording) note("textout " + xy(x, y) + " " + quoted(bytes));
    else ++count_;
}

void TRecordingPrintCanvas::FrameRect(int x, int y, int width, int height, TColor color) {
    note("frame " + xy(x, y) + " " + std::to_string(width) + "x" + std::to_string(height) + " " +
         TRecordingCanvas::ColorText(color));
}

void TRecordingPrintCanvas::BeginJob(const std::string& title) {
    pages_ = 1;
    note("job " + quoted(title));
}
void TRecordingPrintCanvas::NewPage() {
    ++pages_;
    note("newpage");
}
void TRecordingPrintCanvas::EndJob() { note("endjob"); }
void TRecordingPrintCanvas::AbortJob() { note("abortjob"); }

void TRecordingPrintCanvas::noteFormatted() {
    ++count_;
    calls_.push_back(format_.Calls().back());
    format_.Clear();
}

void TRecordingPrintCanvas::FillRect(int x, int y, int width, int height, TColor color) {
    if (!Recording) {
        ++count_;
        return;
    }
    format_.FillRect(x, y, width, height, color);
    noteFormatted();
}

void TRecordingPrintCanvas::TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style,
                                    TColor foreground, TColor background) {
    textBytes_ += static_cast<long long>(bytes.size());
    if (!Recording) {
        ++count_;
        return;
    }
    format_.TextRun(x, y, cellWidth, bytes, style, foreground, background);
    noteFormatted();
}

void TRecordingPrintCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
    if (!Recording) {
        ++count_;
        return;
    }
    format_.Line(x1, y1, x2, y2, color);
    noteFormatted();
}

void TRecordingPrintCanvas::BeginClip(int x, int y, int width, int height) {
    if (!Recording) {
        ++count_;
        return;
    }
    format_.BeginClip(x, y, width, height);
    noteFormatted();
}

void TRecordingPrintCanvas::EndClip() {
    if (!Recording) {
        ++count_;
        return;
    }
    format_.EndClip();
    noteFormatted();
}

}  // namespace pelm
