#include "gui/app/AppTitle.h"

#include <QApplication>
#include <QWidget>

namespace pelm {

namespace {
QString& Title() {
    static QString title;
    return title;
}
}  // namespace

void SetApplicationTitle(const QString& title) {
    Title() = title;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow")) w->setWindowIconText(title);
}

QString ApplicationTitle() {
    return Title();
}

}  // namespace pelm
