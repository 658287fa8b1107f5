#pragma once
// Qt's own texts (the standard buttons "Да/Нет/Отмена", the file dialogs, the
// browser engine's menus) in Russian, as the rest of the interface is, whatever
// the system's language. Only texts change: dates, times and numbers keep the
// user's own locale.
#include <QList>

class QTranslator;

namespace pelm {

// Installs Qt's Russian catalogues (qtbase_ru, qtwebengine_ru) from Qt's
// translations folder (Debian's qt6-translations-l10n). A missing catalogue is
// skipped. Returns the installed translators, owned by the application.
QList<QTranslator*> InstallQtTranslations();

}  // namespace pelm
