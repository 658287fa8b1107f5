#include "gui/app/TDocumentView.h"

#include <QFontDatabase>

#include "gui/app/GuiText.h"

namespace pelm {

TDocumentView::TDocumentView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Dropped files belong to the main window, not to the text.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    // Whole-buffer changes (load, template expansion) end with the last batch.
    lines_.OnLinesChanged = [this] { showLines(); };
}

void TDocumentView::showLines() {
    QString text;
    for (int i = 0; i < lines_.Count(); ++i) {
        if (i > 0) text += QLatin1Char('\n');
        text += FromCp1251(lines_.Line(i));
    }
    setPlainText(text);
}

}  // namespace pelm
