#include "gui/print/TQtPrintCanvas.h"

#include <QFontMetrics>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "core/platform/Cp1251.h"
#include "core/platform/Errors.h"
#include "gui/editor/ColorConvert.h"

namespace pelm {

namespace {
QString fromBytes(std::string_view bytes) {
    QString s;
    s.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char ch : bytes) s += QChar(static_cast<char16_t>(cp1251::ToUnicode(static_cast<unsigned char>(ch))));
    return s;
}
QString targetName(const QPrinter& printer) {
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}
}  // namespace

TQtPrintCanvas::TQtPrintCanvas(QPrinter& printer) : printer_(printer) {
    // A printed page is paper: system colours take their usual light scheme.
    palette_.setColor(QPalette::Window, Qt::white);
    palette_.setColor(QPalette::Base, Qt::white);
    palette_.setColor(QPalette::WindowText, Qt::black);
    palette_.setColor(QPalette::Text, Qt::black);
    SetFont(font_);
}

TQtPrintCanvas::~TQtPrintCanvas() {
    if (painter_.isActive()) painter_.end();
}

QFont TQtPrintCanvas::ToQFont(const TPrintFont& font, int dpi) {
    QFont f(QString::fromStdString(font.Name));
    f.setStyleHint(font.Name == "Arial" ? QFont::SansSerif : QFont::TypeWriter);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * dpi / 72.0))));
    f.setBold((font.Style & fsBold) != 0);
    f.setItalic((font.Style & fsItalic) != 0);
    f.setUnderline((font.Style & fsUnderline) != 0);
    f.setStrikeOut((font.Style & fsStrikeOut) != 0);
    return f;
}

TPrintFont TQtPrintCanvas::FromQFont(const QFont& font) {
    TPrintFont f;
    f.Name = font.family().toStdString();
    // An editor font given in pixels is taken as a 96 dpi screen's.
    f.Size = font.pointSize() > 0 ? font.pointSize() : std::max(1, font.pixelSize() * 72 / 96);
    f.Color = clBlack;
    f.Style = 0;
    return f;
}

TPrinterCaps TQtPrintCanvas::Caps() const {
    const int dpi = printer_.resolution();
    const QPageLayout layout = printer_.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    TPrinterCaps c;
    c.PhysicalWidth = full.width();
    c.PhysicalHeight = full.height();
    c.PrintableWidth = paint.width();
    c.PrintableHeight = paint.height();
    c.OffsetLeft = paint.left() - full.left();
    c.OffsetTop = paint.top() - full.top();
    c.PixelsPerInchX = dpi;
    c.PixelsPerInchY = dpi;
    return c;
}

void TQtPrintCanvas::SetFont(const TPrintFont& font) {
    font_ = font;
    qfont_ = ToQFont(font, printer_.resolution());
    QFont plain = qfont_;
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    if (plain != faces_.Font()) faces_.SetFont(plain);
    const QFontMetrics fm(qfont_);
    ascent_ = fm.ascent();
    rowHeight_ = fm.height() + std::max(0, fm.leading());
}

TPrintFontMetrics TQtPrintCanvas::Metrics() {
    const QFontMetrics fm(qfont_);
    return TPrintFontMetrics{fm.averageCharWidth(), fm.height(), std::max(0, fm.leading())};
}

int TQtPrintCanvas::TextWidth(std::string_view bytes) { return QFontMetrics(qfont_).horizontalAdvance(fromBytes(bytes)); }

int TQtPrintCanvas::TextHeight(std::string_view) { return QFontMetrics(qfont_).height(); }

void TQtPrintCanvas::TextOut(int x, int y, std::string_view bytes) {
    painter_.setFont(qfont_);
    painter_.setPen(ColorToQColor(font_.Color, palette_));
    painter_.drawText(QPointF(x, y + ascent_), fromBytes(bytes));
}

void TQtPrintCanvas::FrameRect(int x, int y, int width, int height, TColor color) {
    painter_.setPen(ColorToQColor(color, palette_));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(x, y, width - 1, height - 1);
}

void TQtPrintCanvas::BeginJob(const std::string& title) {
    printer_.setDocName(QString::fromStdString(title));
    if (!painter_.begin(&printer_))
        throw EError("Cannot start printing on \"" + targetName(printer_).toStdString() + "\".");
}

void TQtPrintCanvas::NewPage() {
    if (!printer_.newPage())
        throw EError("The printer \"" + targetName(printer_).toStdString() + "\" did not take a new page.");
}

void TQtPrintCanvas::EndJob() {
    if (painter_.isActive()) painter_.end();
}

void TQtPrintCanvas::AbortJob() {
    printer_.abort();
    if (painter_.isActive()) painter_.end();
}

TQtCanvas TQtPrintCanvas::cells() { return TQtCanvas(painter_, faces_, ascent_, rowHeight_, palette_); }

void TQtPrintCanvas::FillRect(int x, int y, int width, int height, TColor color) {
    cells().FillRect(x, y, width, height, color);
}

void TQtPrintCanvas::TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style,
                             TColor foreground, TColor background) {
    cells().TextRun(x, y, cellWidth, bytes, style, foreground, background);
}

void TQtPrintCanvas::Line(int x1, int y1, int x2, int y2, TColor color) { cells().Line(x1, y1, x2, y2, color); }

void TQtPrintCanvas::BeginClip(int x, int y, int width, int height) { cells().BeginClip(x, y, width, height); }

void TQtPrintCanvas::EndClip() { cells().EndClip(); }

}  // namespace pelm
