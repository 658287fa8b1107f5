#include "gui/panels/TTagPrompts.h"

#include <QColorDialog>
#include <QFileDialog>

namespace pelm {

std::optional<QColor> TQtTagPrompts::pickColor(QWidget* owner, const QColor& initial) {
    QColorDialog dialog(initial, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedColor();
}

QString TQtTagPrompts::browseFile(QWidget* owner, const BrowseRequest& request) {
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QStringList filters;
    for (const FileFilter& f : request.filters) {
        QString patterns = f.patterns;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << f.description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace pelm
