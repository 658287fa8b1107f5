#include "gui/app/WndRestore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"

namespace pelm {

namespace {

std::string SectionOf(const QWidget* window) {
    std::string name = window->metaObject()->className();
    const size_t scope = name.rfind("::");
    if (scope != std::string::npos) name.erase(0, scope + 2);
    return name + "Window";
}

}  // namespace

void RestoreWindowLayout(QWidget* window, const QString& fileName) {
    TIniFile ini(FileNameBytes(fileName));
    const std::string section = SectionOf(window);
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    // Each value is applied as soon as it is read: the centring uses the size
    // the window has before "Width" and "Height" are read.
    window->move(ini.IniReadNumber(section, "Left", screenSize.width() / 2 - window->width() / 2), window->y());
    window->move(window->x(), ini.IniReadNumber(section, "Top", screenSize.height() / 2 - window->height() / 2));
    window->resize(ini.IniReadNumber(section, "Width", window->width()), window->height());
    window->resize(window->width(), ini.IniReadNumber(section, "Height", window->height()));
    const int state = ini.IniReadNumber(section, "State", 1);
    if (state == 1)
        window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    else if (state == 2)
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void SaveWindowLayout(QWidget* window, const QString& fileName) {
    try {
        TIniFile ini(FileNameBytes(fileName));
        const std::string section = SectionOf(window);
        const Qt::WindowStates state = window->windowState();
        if (state & Qt::WindowMinimized) return;
        if (state & Qt::WindowMaximized) {
            ini.IniWriteNumber(section, "State", 2);
            return;
        }
        ini.IniWriteNumber(section, "Left", window->x());
        ini.IniWriteNumber(section, "Top", window->y());
        ini.IniWriteNumber(section, "Width", window->width());
        ini.IniWriteNumber(section, "Height", window->height());
        ini.IniWriteNumber(section, "State", 1);
    } catch (const std::exception&) {
        // The layout is a convenience: an unwritable file must not stop the exit.
    }
}

}  // namespace pelm
