#include "gui/editor/KeyMapping.h"

#include <QGuiApplication>

#include "core/editor/TCodeEditKeyStrokes.h"

namespace pelm {

namespace {

// The Russian layout's letters in the order of the Latin keys that carry them.
constexpr char16_t CyrillicUpper[] = u"ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯ";  // A..Z

// A key of Qt's numbering for the letter and digit keys, from the event's own
// key, its native key symbol or its text.
int LatinQtKey(const QKeyEvent& event) {
    const int key = event.key();
    // Shifted digits arrive as their symbols; the table and the shortcuts name the digit.
    if (event.modifiers() & Qt::ShiftModifier) {
        static const char shifted[] = ")!@#$%^&*(";
        for (int d = 0; d < 10; ++d)
            if (key == shifted[d]) return Qt::Key_0 + d;
        if (key == 0x2116) return Qt::Key_3;  // "№" of the Russian layout
        // Other layouts put other symbols on the digit row: the X server's key
        // codes 10..19 are that row, 1 to 0, whatever the layout.
        const quint32 code = event.nativeScanCode();
        if (code >= 10 && code <= 19 && QGuiApplication::platformName() == QLatin1String("xcb"))
            return Qt::Key_0 + static_cast<int>((code - 9) % 10);
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    const quint32 native = event.nativeVirtualKey();
    if (native >= 'a' && native <= 'z') return static_cast<int>(native - 'a' + 'A');
    if (native >= 'A' && native <= 'Z') return static_cast<int>(native);
    if (int latin = LatinKeyOfCyrillic(static_cast<char32_t>(key))) return latin;
    const QString text = event.text();
    if (!text.isEmpty()) {
        if (int latin = LatinKeyOfCyrillic(text.at(0).unicode())) return latin;
        // Control characters of Ctrl+letter.
        const char16_t c = text.at(0).unicode();
        if (c >= 1 && c <= 26 && (event.modifiers() & Qt::ControlModifier)) return Qt::Key_A + (c - 1);
    }
    return key;
}

}  // namespace

int LatinKeyOfCyrillic(char32_t c) {
    if (c == U'Ё' || c == U'ё') return Qt::Key_QuoteLeft;
    char32_t upper = c;
    if (c >= U'а' && c <= U'я') upper = c - (U'а' - U'А');
    for (int i = 0; i < 26; ++i)
        if (CyrillicUpper[i] == upper) return Qt::Key_A + i;
    switch (upper) {
        case U'Х': return Qt::Key_BracketLeft;
        case U'Ъ': return Qt::Key_BracketRight;
        case U'Ж': return Qt::Key_Semicolon;
        case U'Э': return Qt::Key_Apostrophe;
        case U'Б': return Qt::Key_Comma;
        case U'Ю': return Qt::Key_Period;
        default: return 0;
    }
}

TEditKeyPress EditKeyOf(const QKeyEvent& event) {
    TEditKeyPress press;
    const Qt::KeyboardModifiers m = event.modifiers();
    if (m & Qt::ShiftModifier) press.shift |= ssShift;
    if (m & Qt::ControlModifier) press.shift |= ssCtrl;
    if (m & Qt::AltModifier) press.shift |= ssAlt;
    const int key = LatinQtKey(event);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) press.key = static_cast<uint8_t>('A' + (key - Qt::Key_A));
    else if (key >= Qt::Key_0 && key <= Qt::Key_9) press.key = static_cast<uint8_t>('0' + (key - Qt::Key_0));
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F24) press.key = static_cast<uint8_t>(VK_F1 + (key - Qt::Key_F1));
    else {
        switch (key) {
            case Qt::Key_Backspace: press.key = VK_BACK; break;
            case Qt::Key_Tab: press.key = VK_TAB; break;
            case Qt::Key_Backtab: press.key = VK_TAB; press.shift |= ssShift; break;
            case Qt::Key_Return:
            case Qt::Key_Enter: press.key = VK_RETURN; break;
            case Qt::Key_PageUp: press.key = VK_PRIOR; break;
            case Qt::Key_PageDown: press.key = VK_NEXT; break;
            case Qt::Key_End: press.key = VK_END; break;
            case Qt::Key_Home: press.key = VK_HOME; break;
            case Qt::Key_Left: press.key = VK_LEFT; break;
            case Qt::Key_Up: press.key = VK_UP; break;
            case Qt::Key_Right: press.key = VK_RIGHT; break;
            case Qt::Key_Down: press.key = VK_DOWN; break;
            case Qt::Key_Insert: press.key = VK_INSERT; break;
            case Qt::Key_Delete: press.key = VK_DELETE; break;
            case Qt::Key_Escape: press.key = 27; break;
            case Qt::Key_Space: press.key = 32; break;
            default: break;
        }
    }
    return press;
}

QKeyCombination LatinCombinationOf(const QKeyEvent& event) {
    Qt::KeyboardModifiers m = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    int key = LatinQtKey(event);
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        m |= Qt::ShiftModifier;
    }
    return QKeyCombination(m, static_cast<Qt::Key>(key));
}

}  // namespace pelm
