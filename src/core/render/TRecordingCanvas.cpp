#include "core/render/TRecordingCanvas.h"

#include <cstdio>

namespace pelm {

std::string TRecordingCanvas::ColorText(TColor color) {
    if (color == clNone) return "none";
    char buf[16];
    if (IsSystemColor(color)) std::snprintf(buf, sizeof buf, "sys%u", static_cast<unsigned>(color & 0xFFFFFFu));
    else std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(color));
    return buf;
}

std::string TRecordingCanvas::StyleText(TFontStyles style) {
    std::string s;
    if (style & fsBold) s += 'B';
    if (style & fsItalic) s += 'I';
    if (style & fsUnderline) s += 'U';
    if (style & fsStrikeOut) s += 'S';
    return s.empty() ? "-" : s;
}

std::string TRecordingCanvas::Text() const {
    std::string s;
    for (const std::string& c : calls_) {
        s += c;
        s += '\n';
    }
    return s;
}

void TRecordingCanvas::FillRect(int x, int y, int width, int height, TColor color) {
    calls_.push_back("fill " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" +
                     std::to_string(height) + " " + ColorText(color));
    if (target_) target_->FillRect(x, y, width, height, color);
}

void TRecordingCanvas::TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style,
                               TColor foreground, TColor background) {
    std::string s = "text " + std::to_string(x) + "," + std::to_string(y) + " c" + std::to_string(cellWidth) + " \"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 32 || b > 126 || b == '"' || b == '\\') {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            s += buf;
        } else {
            s += ch;
        }
    }
    s += "\" " + StyleText(style) + " " + ColorText(foreground) + " " + ColorText(background);
    calls_.push_back(std::move(s));
    if (target_) target_->TextRun(x, y, cellWidth, bytes, style, foreground, background);
}

void TRecordingCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
    calls_.push_back("line " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
                     std::to_string(y2) + " " + ColorText(color));
    if (target_) target_->Line(x1, y1, x2, y2, color);
}

void TRecordingCanvas::BeginClip(int x, int y, int width, int height) {
    calls_.push_back("clip " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" +
                     std::to_string(height));
    if (target_) target_->BeginClip(x, y, width, height);
}

void TRecordingCanvas::EndClip() {
    calls_.push_back("unclip");
    if (target_) target_->EndClip();
}

}  // namespace pelm
