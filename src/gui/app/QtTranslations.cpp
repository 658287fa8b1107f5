#include "gui/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pelm {

QList<QTranslator*> InstallQtTranslations() {
    QList<QTranslator*> installed;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_ru", "qtwebengine_ru"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLatin1String(catalogue), folder) && QCoreApplication::installTranslator(translator)) {
            installed.append(translator);
        } else {
            delete translator;
        }
    }
    return installed;
}

}  // namespace pelm
