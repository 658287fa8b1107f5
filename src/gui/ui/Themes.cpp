#include "gui/ui/Themes.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <array>

namespace pelm {

namespace {

// The colours of one theme. The bars (toolbars, the menu bar's toolbar, the
// status bar) are drawn as a vertical gradient from barTop to barBottom;
// hover is the light tint under the pointer, highlight the chosen menu item.
struct ThemeColors {
    const char* name;
    const char* window;
    const char* text;
    const char* base;
    const char* alternate;
    const char* button;
    const char* highlight;
    const char* highlightedText;
    const char* barTop;
    const char* barBottom;
    const char* border;
    const char* hover;
    const char* disabled;
    bool stripes;  // bars drawn as fine horizontal stripes of the two bar colours
};

// "Default" has no entry: it is the plain Fusion look.
constexpr std::array<ThemeColors, 14> kThemes = {{
    {"Aluminum", "#d9dbde", "#1e2226", "#ffffff", "#f1f2f4", "#e1e3e6", "#5a7394", "#ffffff", "#f2f3f5", "#c5c9ce",
     "#9aa0a8", "#cfd8e3", "#8a9098", false},
    {"Athen", "#ebe5d9", "#2b2418", "#fffdf8", "#f5f0e6", "#e6dfcf", "#9c6b30", "#ffffff", "#f7f2e8", "#dcd2bd",
     "#b5a88c", "#f0dfc0", "#9a907c", false},
    {"Dream", "#e9e4f2", "#2a2338", "#fdfcff", "#f3f0f9", "#e3ddef", "#7a5fb5", "#ffffff", "#f6f3fb", "#d8cfea",
     "#aa9dc8", "#e0d4f5", "#968fa6", false},
    {"Eos", "#f5e9e1", "#3a2820", "#fffaf7", "#fbf1ea", "#f0e0d5", "#d2693c", "#ffffff", "#fdf4ee", "#ecd2c1",
     "#c9a58e", "#f9d8c3", "#a89084", false},
    {"Miranda", "#dde9e7", "#1c2e2c", "#fbfefd", "#eef5f4", "#d6e4e2", "#2d7d76", "#ffffff", "#eef6f5", "#c4d9d6",
     "#8fb0ac", "#c9e5e1", "#819a97", false},
    {"Office2003", "#d6e5fa", "#0b1e3d", "#ffffff", "#eef4fd", "#dbe8fb", "#2f5fb3", "#ffffff", "#e3effe", "#9ebff0",
     "#6b8fc9", "#ffe7a2", "#7d8ea8", false},
    {"OfficeK", "#d4d0c8", "#000000", "#ffffff", "#eeeae2", "#d4d0c8", "#0a246a", "#ffffff", "#dedad2", "#ccc8bf",
     "#808080", "#e6e3dc", "#808080", false},
    {"OfficeXP", "#f0eee8", "#1f1f1f", "#ffffff", "#f7f6f2", "#ece9df", "#316ac5", "#ffffff", "#f9f8f4", "#e3e0d5",
     "#a5a298", "#c1d2ee", "#8d8b84", false},
    {"Relifer", "#dfe3d2", "#22281a", "#fdfef9", "#eff2e6", "#d8ddc8", "#5e7f2a", "#ffffff", "#eef1e4", "#c7ceb1",
     "#98a27c", "#d9e6bd", "#8b927a", false},
    {"Stripes", "#e7eaee", "#1d232b", "#ffffff", "#f2f4f7", "#e2e6eb", "#3d6fa8", "#ffffff", "#eef1f5", "#dde2e9",
     "#a3adb9", "#cfdcec", "#8c949e", true},
    {"Tristan", "#353535", "#e6e6e6", "#252525", "#2e2e2e", "#404040", "#2a82da", "#ffffff", "#474747", "#333333",
     "#1e1e1e", "#505a66", "#7f7f7f", false},
    {"Tristan2", "#2b303b", "#dfe3ea", "#1f232b", "#262b34", "#353b47", "#d08770", "#1f232b", "#3a404d", "#2b303b",
     "#181b21", "#4a5263", "#7b8494", false},
    {"Whidbey", "#eeede5", "#1a1a1a", "#ffffff", "#f6f5f0", "#ecebe3", "#3169c6", "#ffffff", "#fafaf8", "#d6d3c4",
     "#aca899", "#c1d2ee", "#8e8c82", false},
    {"Xito", "#f6f8f7", "#1f2a25", "#ffffff", "#eef3f0", "#edf2ef", "#2f9e6a", "#ffffff", "#ffffff", "#e6ede9",
     "#b9c9c0", "#d3ede0", "#8da096", false},
}};

std::string& currentName() {
    static std::string name = "Default";
    return name;
}

QPalette PaletteOf(const ThemeColors& t) {
    const QColor window(t.window), text(t.text), base(t.base), button(t.button), disabled(t.disabled);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(t.alternate));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, QColor(t.highlight));
    p.setColor(QPalette::HighlightedText, QColor(t.highlightedText));
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Link, QColor(t.highlight));
    p.setColor(QPalette::Light, button.lighter(130));
    p.setColor(QPalette::Midlight, button.lighter(112));
    p.setColor(QPalette::Mid, button.darker(130));
    p.setColor(QPalette::Dark, button.darker(160));
    p.setColor(QPalette::Shadow, button.darker(250));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(t.border));
    return p;
}

QString StyleSheetOf(const ThemeColors& t) {
    const QString bar =
        t.stripes ? QStringLiteral("qlineargradient(spread:repeat, x1:0, y1:0, x2:0, y2:0.125, stop:0 %1, "
                                   "stop:0.49 %1, stop:0.5 %2, stop:1 %2)")
                        .arg(QLatin1String(t.barTop), QLatin1String(t.barBottom))
                  : QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
                        .arg(QLatin1String(t.barTop), QLatin1String(t.barBottom));
    QString css = QStringLiteral(
        "QToolBar { background: @bar; border: 1px solid @border; spacing: 2px; padding: 1px; }"
        "QToolBar::separator { background: @border; width: 1px; height: 1px; margin: 3px; }"
        "QToolBar QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 2px; }"
        "QToolBar QToolButton:hover { background: @hover; border-color: @border; }"
        "QToolBar QToolButton:pressed { background: @border; }"
        "QToolBar QToolButton[popupMode=\"1\"] { padding-right: 13px; }"
        "QToolBar QToolButton::menu-button { border: 1px solid transparent; width: 11px;"
        " border-top-right-radius: 2px; border-bottom-right-radius: 2px; }"
        "QToolBar QToolButton::menu-button:hover { background: @hover; border-color: @border; }"
        "QMenuBar { background: transparent; }"
        "QMenuBar::item { background: transparent; padding: 3px 8px; border-radius: 2px; }"
        "QMenuBar::item:selected { background: @highlight; color: @hltext; }"
        "QMenu { background: @base; color: @text; border: 1px solid @border; }"
        "QMenu::item { padding: 4px 24px 4px 24px; }"
        "QMenu::item:selected { background: @highlight; color: @hltext; }"
        "QMenu::item:disabled { color: @disabled; }"
        "QMenu::separator { height: 1px; background: @border; margin: 3px 6px; }"
        "QStatusBar { background: @bar; border-top: 1px solid @border; }"
        "QDockWidget::title { background: @bar; border: 1px solid @border; padding: 3px; }");
    css.replace(QLatin1String("@bar"), bar);
    css.replace(QLatin1String("@border"), QLatin1String(t.border));
    css.replace(QLatin1String("@hover"), QLatin1String(t.hover));
    css.replace(QLatin1String("@highlight"), QLatin1String(t.highlight));
    css.replace(QLatin1String("@hltext"), QLatin1String(t.highlightedText));
    css.replace(QLatin1String("@base"), QLatin1String(t.base));
    css.replace(QLatin1String("@text"), QLatin1String(t.text));
    css.replace(QLatin1String("@disabled"), QLatin1String(t.disabled));
    return css;
}

// Every theme is drawn by Fusion. The switch is made once: with a style sheet
// set, QApplication::style() is the style sheet's proxy and cannot be asked.
void UseFusion() {
    static bool done = false;
    if (done) return;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    done = true;
}

}  // namespace

bool SetTheme(const std::string& name) {
    const ThemeColors* theme = nullptr;
    for (const ThemeColors& t : kThemes)
        if (name == t.name) theme = &t;
    if (!theme && name != "Default") return false;
    if (name == currentName()) return true;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        UseFusion();
        if (theme) {
            QApplication::setPalette(PaletteOf(*theme));
            qApp->setStyleSheet(StyleSheetOf(*theme));
        } else {
            QApplication::setPalette(QApplication::style()->standardPalette());
            qApp->setStyleSheet(QString());
        }
    }
    currentName() = name;
    return true;
}

const std::string& CurrentThemeName() {
    return currentName();
}

QPalette DocumentPalette() {
    UseFusion();
    return QApplication::style()->standardPalette();
}

}  // namespace pelm
