#include "gui/app/WndRestore.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "core/config/TIniFile.h"
#include "core/config/WindowPlacement.h"
#include "gui/app/GuiText.h"

namespace pelm {

namespace {

std::string SectionOf(const QWidget* window) {
    std::string name = window->metaObject()->className();
    const size_t scope = name.rfind("::");
    if (scope != std::string::npos) name.erase(0, scope + 2);
    return name + "Window";
}

std::string SectionOf(const QToolBar* toolbar) {
    return FileNameBytes(toolbar->objectName()) + "Toolbar";
}

// The three toolbars of the main window, in the order they are saved and restored.
const char* const kToolbarNames[] = {"mnuMain", "tbxStandart", "tbxTags"};

struct DockName {
    Qt::ToolBarArea area;
    const char* name;
};
constexpr DockName kDocks[] = {
    {Qt::TopToolBarArea, "Top"},
    {Qt::LeftToolBarArea, "Left"},
    {Qt::RightToolBarArea, "Right"},
    {Qt::BottomToolBarArea, "Bottom"},
};

QString NameOfArea(Qt::ToolBarArea area) {
    for (const DockName& d : kDocks)
        if (d.area == area) return QString::fromLatin1(d.name);
    return {};
}

// Exact spelling only: "left" is no dock name.
Qt::ToolBarArea AreaOfName(const QString& name) {
    for (const DockName& d : kDocks)
        if (name == QLatin1String(d.name)) return d.area;
    return Qt::NoToolBarArea;
}

bool Horizontal(Qt::ToolBarArea area) {
    return area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea;
}

// The coordinate that tells the lines of a dock apart, growing from the
// window's edge inwards (a bottom dock's first line is the lowest one), and
// the coordinate along a line.
int LineCoordinate(Qt::ToolBarArea area, const QToolBar* t) {
    switch (area) {
        case Qt::TopToolBarArea: return t->y();
        case Qt::BottomToolBarArea: return -t->y();
        case Qt::LeftToolBarArea: return t->x();
        default: return -t->x();
    }
}

int AlongCoordinate(Qt::ToolBarArea area, const QToolBar* t) {
    return Horizontal(area) ? t->x() : t->y();
}

std::vector<QToolBar*> ToolbarsIn(QMainWindow* window, Qt::ToolBarArea area) {
    std::vector<QToolBar*> list;
    for (QToolBar* t : window->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        if (window->toolBarArea(t) == area) list.push_back(t);
    return list;
}

// Where a dock's lines begin along their length: the window's left edge for
// the top and bottom docks, the bottom of the top dock for the side docks.
int AreaOrigin(QMainWindow* window, Qt::ToolBarArea area) {
    if (Horizontal(area)) return 0;
    int origin = 0;
    for (const QToolBar* t : ToolbarsIn(window, Qt::TopToolBarArea))
        if (!t->isHidden()) origin = std::max(origin, t->geometry().bottom() + 1);
    return origin;
}

void LayOut(QMainWindow* window) {
    if (QLayout* layout = window->layout()) layout->activate();
}

struct Slot {
    QToolBar* toolbar;
    Qt::ToolBarArea area;
    int row;
    int pos;
};

// Adds the toolbars of one dock again: by row, then position, with a break
// between rows. Whether a toolbar is hidden is kept.
void Rebuild(QMainWindow* window, Qt::ToolBarArea area, std::vector<Slot> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Slot& a, const Slot& b) {
        return a.row != b.row ? a.row < b.row : a.pos < b.pos;
    });
    std::vector<bool> hidden;
    for (const Slot& s : entries) {
        hidden.push_back(s.toolbar->isHidden());
        window->removeToolBar(s.toolbar);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].row != entries[i - 1].row) window->addToolBarBreak(area);
        window->addToolBar(area, entries[i].toolbar);
        entries[i].toolbar->setVisible(!hidden[i]);
    }
}

// Puts the wanted toolbars at their places. Every other toolbar keeps its
// row and position as they are now, so that rows are compared as they were
// saved; then each dock is laid out again. Where places collide, the wanted
// toolbars come first.
void Arrange(QMainWindow* window, const std::vector<Slot>& wanted) {
    std::vector<Slot> all = wanted;
    for (QToolBar* t : window->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
        const Qt::ToolBarArea area = window->toolBarArea(t);
        if (area == Qt::NoToolBarArea) continue;
        if (std::any_of(wanted.begin(), wanted.end(), [&](const Slot& s) { return s.toolbar == t; })) continue;
        const TToolbarPlacement p = ToolbarPlacement(window, t);
        all.push_back({t, area, p.row, p.pos});
    }
    for (const DockName& d : kDocks) {
        std::vector<Slot> entries;
        for (const Slot& s : all)
            if (s.area == d.area) entries.push_back(s);
        if (!entries.empty()) Rebuild(window, d.area, entries);
    }
}

// The place the toolbar's section asks for; missing keys keep the current one.
Slot ReadPlacement(QMainWindow* window, QToolBar* toolbar, const TIniFile& ini) {
    const std::string section = SectionOf(toolbar);
    const TToolbarPlacement current = ToolbarPlacement(window, toolbar);
    Qt::ToolBarArea area = AreaOfName(FromCp1251(ini.IniRead(section, "Dock", "Top")));
    if (area == Qt::NoToolBarArea) area = window->toolBarArea(toolbar);
    const int row = ini.IniReadNumber(section, "Row", current.row);
    const int pos = ini.IniReadNumber(section, "Pos", current.pos);
    return {toolbar, area, row, pos};
}

// The available area of every screen, the primary one first.
std::vector<TScreenRect> AvailableScreenAreas() {
    std::vector<TScreenRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const QRect a = primary->availableGeometry();
        areas.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen == primary) continue;
        const QRect a = screen->availableGeometry();
        areas.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    return areas;
}

}  // namespace

TToolbarPlacement ToolbarPlacement(QMainWindow* window, QToolBar* toolbar) {
    TToolbarPlacement placement;
    const Qt::ToolBarArea area = window->toolBarArea(toolbar);
    placement.dock = NameOfArea(area);
    if (placement.dock.isEmpty()) return placement;
    LayOut(window);
    std::vector<int> lines;
    for (const QToolBar* t : ToolbarsIn(window, area)) lines.push_back(LineCoordinate(area, t));
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    placement.row = static_cast<int>(std::lower_bound(lines.begin(), lines.end(), LineCoordinate(area, toolbar)) -
                                     lines.begin());
    placement.pos = AlongCoordinate(area, toolbar) - AreaOrigin(window, area);
    return placement;
}

void PlaceToolbar(QMainWindow* window, QToolBar* toolbar, const QString& dock, int row, int pos) {
    Qt::ToolBarArea area = AreaOfName(dock);
    if (area == Qt::NoToolBarArea) area = window->toolBarArea(toolbar);
    if (area == Qt::NoToolBarArea) return;
    Arrange(window, {{toolbar, area, row, pos}});
}

void RestoreToolbarPlacement(QMainWindow* window, QToolBar* toolbar, const QString& fileName) {
    const TIniFile ini(FileNameBytes(fileName));
    const Slot wanted = ReadPlacement(window, toolbar, ini);
    if (wanted.area != Qt::NoToolBarArea) Arrange(window, {wanted});
}

void SaveToolbarPlacement(QMainWindow* window, QToolBar* toolbar, const QString& fileName) {
    TIniFile ini(FileNameBytes(fileName));
    const std::string section = SectionOf(toolbar);
    const TToolbarPlacement p = ToolbarPlacement(window, toolbar);
    if (!p.dock.isEmpty()) ini.IniWrite(section, "Dock", p.dock.toStdString());
    ini.IniWriteNumber(section, "Row", p.row);
    ini.IniWriteNumber(section, "Pos", p.pos);
}

void RestoreWindowLayout(QWidget* window, const QString& fileName) {
    {
        TIniFile ini(FileNameBytes(fileName));
        const std::string section = SectionOf(window);
        const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
        // The centring uses the size the window has before "Width" and "Height"
        // are read. The bounds are then brought onto the screens there are.
        TScreenRect r;
        r.Left = ini.IniReadNumber(section, "Left", screenSize.width() / 2 - window->width() / 2);
        r.Top = ini.IniReadNumber(section, "Top", screenSize.height() / 2 - window->height() / 2);
        r.Width = ini.IniReadNumber(section, "Width", window->width());
        r.Height = ini.IniReadNumber(section, "Height", window->height());
        r = FitWindowToScreens(r, AvailableScreenAreas());
        window->move(r.Left, r.Top);
        window->resize(r.Width, r.Height);
        const int state = ini.IniReadNumber(section, "State", 1);
        if (state == 1)
            window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        else if (state == 2)
            window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    }
    // The three toolbars are placed together: each one's saved row is then
    // compared with the others' saved rows, not with rows that closed up
    // while the toolbar before it moved.
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        const TIniFile ini(FileNameBytes(fileName));
        std::vector<Slot> wanted;
        for (const char* name : kToolbarNames) {
            auto* toolbar = main->findChild<QToolBar*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
            if (!toolbar) continue;
            const Slot s = ReadPlacement(main, toolbar, ini);
            if (s.area != Qt::NoToolBarArea) wanted.push_back(s);
        }
        Arrange(main, wanted);
    }
}

void SaveWindowLayout(QWidget* window, const QString& fileName) {
    try {
        {
            TIniFile ini(FileNameBytes(fileName));
            const std::string section = SectionOf(window);
            const Qt::WindowStates state = window->windowState();
            if (state & Qt::WindowMaximized) {
                if (!(state & Qt::WindowMinimized)) ini.IniWriteNumber(section, "State", 2);
            } else if (!(state & Qt::WindowMinimized)) {
                ini.IniWriteNumber(section, "Left", window->x());
                ini.IniWriteNumber(section, "Top", window->y());
                ini.IniWriteNumber(section, "Width", window->width());
                ini.IniWriteNumber(section, "Height", window->height());
                ini.IniWriteNumber(section, "State", 1);
            }
        }
        if (auto* main = qobject_cast<QMainWindow*>(window)) {
            for (const char* name : kToolbarNames)
                if (auto* toolbar = main->findChild<QToolBar*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
                    SaveToolbarPlacement(main, toolbar, fileName);
        }
    } catch (const std::exception&) {
        // The layout is a convenience: an unwritable file must not stop the exit.
    }
}

}  // namespace pelm
