#include "gui/dialogs/TfrSetup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"
#include "gui/app/Prompts.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TSetupControls.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/Themes.h"

namespace pelm {

namespace {

const QString kUndefined = QStringLiteral("Undefined");

QLabel* Buddy(const QString& caption, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(control);
    return label;
}

QToolButton* SmallButton(const char* name, const QString& text, const QString& hint, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(hint);
    return b;
}

// The two column labels over a grid, each over its 170-pixel column.
QHBoxLayout* ColumnLabels(const QString& name, const QString& value, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    auto* first = new QLabel(name, parent);
    first->setFixedWidth(170);
    row->addWidget(first);
    row->addWidget(new QLabel(value, parent));
    row->addStretch(1);
    return row;
}

}  // namespace

TfrSetup::TfrSetup(TfrMain& main, Prompts& prompts, QWidget* parent)
    : QDialog(parent), main_(main), prompts_(prompts) {
    setObjectName(QStringLiteral("frSetup"));
    setWindowTitle(QStringLiteral("Настройка программы"));
    shellOpen = [this](const QString& target, const QString& parameters) { ShellOpen(this, target, parameters); };
    createPages();
    FormCreate();
}

void TfrSetup::createPages() {
    pcSetup = new QTabWidget(this);
    pcSetup->setObjectName(QStringLiteral("pcSetup"));
    // All six tabs in view: the dialog grows with the font rather than scroll them.
    pcSetup->tabBar()->setUsesScrollButtons(false);
    pcSetup->tabBar()->setExpanding(false);
    pcSetup->addTab(createLookPage(), QStringLiteral("Внешний &вид"));
    pcSetup->addTab(createBrowsersPage(), QStringLiteral("&Браузеры"));
    pcSetup->addTab(createAutocorrectPage(), QStringLiteral("Автозамена"));
    pcSetup->addTab(createCharsPage(), QStringLiteral("Си&мволы"));
    pcSetup->addTab(createTemplatesPage(), QStringLiteral("Шаблоны"));
    pcSetup->addTab(createOtherPage(), QStringLiteral("Прочее"));

    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnApply = new QPushButton(QStringLiteral("Применить"), this);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    connect(btnOK, &QPushButton::clicked, this, &TfrSetup::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApply, &QPushButton::clicked, this, [this] { btnApplyClick(); });

    for (QPushButton* b : {btnOK, btnCancel, btnApply})
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 24);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcSetup);
    layout->addLayout(buttons);
    // A fixed dialog border: the size is what the pages need, at least the
    // form's 466 x 382.
    setMinimumSize(466, 382);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TfrSetup::createLookPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabLook"));
    auto* bars = new QGroupBox(QStringLiteral("Панели инструментов"), page);
    cmbTheme = new QComboBox(bars);
    cmbTheme->setObjectName(QStringLiteral("cmbTheme"));
    cmbTheme->setMaxVisibleItems(50);
    cmbTheme->setToolTip(QStringLiteral("Выбор скина для оформления программы"));
    chkHidePanel = new QCheckBox(QStringLiteral("&Прятать &панель вставки тега после нажатия кнопки \"Вставить\""), bars);
    chkHidePanel->setObjectName(QStringLiteral("chkHidePanel"));
    chkHidePanel->setToolTip(QStringLiteral("После вставки тега соответствующая панель будет убираться с экрана"));
    auto* barsLayout = new QGridLayout(bars);
    barsLayout->addWidget(Buddy(QStringLiteral("&Тема:"), cmbTheme, bars), 0, 0);
    barsLayout->addWidget(cmbTheme, 0, 1);
    barsLayout->setColumnStretch(2, 1);
    barsLayout->addWidget(chkHidePanel, 1, 0, 1, 3);

    auto* editor = new QGroupBox(QStringLiteral("Редактор"), page);
    cmbActiveCol = new TColorList(editor);
    cmbActiveCol->setObjectName(QStringLiteral("cmbActiveCol"));
    cmbActiveCol->setToolTip(QStringLiteral("Активная строка в редакторе выделяется этим цветом"));
    edtTabWidth = new TNumberField(editor);
    edtTabWidth->setObjectName(QStringLiteral("edtTabWidth"));
    edtTabWidth->setToolTip(
        QStringLiteral("Укажите, на сколько позиций будет перемещаться курсор при нажатии на клавишу Tab"));
    chkLineNmb = new QCheckBox(QStringLiteral("Показывать &номера строк"), editor);
    chkLineNmb->setObjectName(QStringLiteral("chkLineNmb"));
    chkLineNmb->setToolTip(QStringLiteral("Отображать нумерацию строк с левой стороны от текста"));
    chkWordWrap = new QCheckBox(QStringLiteral("П&еренос строк"), editor);
    chkWordWrap->setObjectName(QStringLiteral("chkWordWrap"));
    chkWordWrap->setToolTip(
        QStringLiteral("Если строка не помещается на экране, она автоматически переносится на следущую"));
    edtLastHistory = new TNumberField(editor);
    edtLastHistory->setObjectName(QStringLiteral("edtLastHistory"));
    edtPolosa = new TNumberField(editor);
    edtPolosa->setObjectName(QStringLiteral("edtPolosa"));
    edtPolosa->setToolTip(QStringLiteral("Символ, после которого будет следовать полоска"));
    for (TNumberField* f : {edtTabWidth, edtLastHistory, edtPolosa}) f->setMinimumWidth(70);

    auto* grid = new QGridLayout(editor);
    grid->addWidget(Buddy(QStringLiteral("Цвет &активной строки: "), cmbActiveCol, editor), 0, 0);
    grid->addWidget(cmbActiveCol, 0, 1, 1, 2);
    grid->addWidget(Buddy(QStringLiteral("Ширина &табуляции:"), edtTabWidth, editor), 1, 0);
    grid->addWidget(edtTabWidth, 1, 1);
    grid->addWidget(chkLineNmb, 2, 0, 1, 3);
    grid->addWidget(chkWordWrap, 3, 0, 1, 3);
    grid->addWidget(Buddy(QStringLiteral("История последних:"), edtLastHistory, editor), 4, 0);
    grid->addWidget(edtLastHistory, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("файлов"), editor), 4, 2);
    grid->addWidget(Buddy(QStringLiteral("Ограничивающая &полоса"), edtPolosa, editor), 5, 0);
    grid->addWidget(edtPolosa, 5, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(bars);
    layout->addWidget(editor);
    layout->addStretch(1);
    return page;
}

QWidget* TfrSetup::createBrowsersPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabBrowsers"));
    auto* layout = new QVBoxLayout(page);
    const QString titles[2] = {QStringLiteral("Первый"), QStringLiteral("Второй")};
    const QString notes[2] = {QStringLiteral("Данная программа вызывается по Ctrl+F9"),
                              QStringLiteral("Данная программа вызывается по Ctrl+Shift+F9")};
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        auto* group = new QGroupBox(titles[i], page);
        chkEnable[i] = new QCheckBox(QStringLiteral("&Включить"), group);
        chkEnable[i]->setObjectName(QStringLiteral("chkEnable") + n);
        cmbExe[i] = new QComboBox(group);
        cmbExe[i]->setObjectName(QStringLiteral("cmbExe") + n);
        cmbExe[i]->setEditable(true);
        cmbExe[i]->setInsertPolicy(QComboBox::NoInsert);
        cmbExe[i]->addItems({QStringLiteral("iexplore.exe"), QStringLiteral("opera.exe")});
        cmbExe[i]->setToolTip(QStringLiteral("Укадите, где находится программа"));
        cmbExe[i]->setMinimumWidth(260);
        btnBrowse[i] = SmallButton(i == 0 ? "btnBrowse1" : "btnBrowse2", QStringLiteral("..."), QString(), group);
        cmbName[i] = new QComboBox(group);
        cmbName[i]->setObjectName(QStringLiteral("cmbName") + n);
        cmbName[i]->setEditable(true);
        cmbName[i]->setInsertPolicy(QComboBox::NoInsert);
        cmbName[i]->addItems({QStringLiteral("Internet &Explorer"), QStringLiteral("&Opera"), QStringLiteral("&Mozilla")});
        cmbName[i]->setToolTip(QStringLiteral("Название программы в Файл > Предварительный просмотр"));
        lblExe[i] = Buddy(QStringLiteral("Путь для &запуска:"), cmbExe[i], group);
        lblName[i] = Buddy(QStringLiteral("&Имя в меню"), cmbName[i], group);
        auto* grid = new QGridLayout(group);
        grid->addWidget(chkEnable[i], 0, 0, 1, 3);
        grid->addWidget(lblExe[i], 1, 0);
        grid->addWidget(cmbExe[i], 1, 1);
        grid->addWidget(btnBrowse[i], 1, 2);
        grid->addWidget(lblName[i], 2, 0);
        grid->addWidget(cmbName[i], 2, 1);
        grid->addWidget(new QLabel(notes[i], group), 3, 0, 1, 3);
        layout->addWidget(group);
        connect(btnBrowse[i], &QToolButton::clicked, this, [this, i] { browse(i + 1); });
        connect(chkEnable[i], &QCheckBox::toggled, this, [this, i] { enableBrowser(i + 1); });
    }
    layout->addStretch(1);
    return page;
}

QWidget* TfrSetup::createAutocorrectPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabAutocorrect"));
    chkEnableAC = new QCheckBox(QStringLiteral("В&ключить автозамену неправильно написанных слов"), page);
    chkEnableAC->setObjectName(QStringLiteral("chkEnableAC"));
    chkEnableAC->setToolTip(QStringLiteral(
        "Включает режим автозамены, когда неправильно написанные слова при вводе сиправляются на нужные"));
    edtAC = new TPairGrid(page);
    edtAC->setObjectName(QStringLiteral("edtAC"));
    btnAddAC = SmallButton("btnAddAC", QStringLiteral("+"), QStringLiteral("Добавить"), page);
    btnDel = SmallButton("btnDel", QStringLiteral("−"), QStringLiteral("Удалить"), page);
    connect(btnAddAC, &QToolButton::clicked, this, &TfrSetup::btnAddACClick);
    connect(btnDel, &QToolButton::clicked, this, &TfrSetup::btnDelClick);
    auto* grid = new QGridLayout(page);
    grid->addWidget(chkEnableAC, 0, 0, 1, 3);
    grid->addLayout(ColumnLabels(QStringLiteral("Слово:"), QStringLiteral("Замена:"), page), 1, 0, 1, 2);
    grid->addWidget(edtAC, 2, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(btnAddAC);
    side->addWidget(btnDel);
    side->addStretch(1);
    grid->addLayout(side, 2, 2);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TfrSetup::createCharsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabChars"));
    edtChars = new TPairGrid(page);
    edtChars->setObjectName(QStringLiteral("edtChars"));
    edtChars->setToolTip(QStringLiteral("Выберите подходящий символ в этом списке"));
    btnAddChr = SmallButton("btnAddChr", QStringLiteral("+"), QStringLiteral("Добавить"), page);
    btnDelChr = SmallButton("btnDelChr", QStringLiteral("−"), QStringLiteral("Удалить"), page);
    connect(btnAddChr, &QToolButton::clicked, this, &TfrSetup::btnAddChrClick);
    connect(btnDelChr, &QToolButton::clicked, this, &TfrSetup::btnDelChrClick);
    auto* grid = new QGridLayout(page);
    grid->addLayout(ColumnLabels(QStringLiteral("Описание:"), QStringLiteral("Код:"), page), 0, 0, 1, 2);
    grid->addWidget(edtChars, 1, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(btnAddChr);
    side->addWidget(btnDelChr);
    side->addStretch(1);
    grid->addLayout(side, 1, 2);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* TfrSetup::createTemplatesPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabTemplates"));
    auto* group = new QGroupBox(QStringLiteral("Файлы"), page);
    auto* grid = new QGridLayout(group);
    struct Entry {
        const char* caption;
        const char* list;
        const char* button;
    };
    const Entry entries[6] = {
        {"&HTML", "edtHtml", "btnHtml"}, {"&CSS", "edtCSS", "btnCSS"}, {"&XML", "edtXML", "btnXML"},
        {"&JavaScript", "edtJS", "btnJS"}, {"&PHP", "edtPHP", "btnPHP"}, {"Per&l", "edtPerl", "btnPERL"},
    };
    for (int i = 0; i < 6; ++i) {
        edtTemplate[i] = new QComboBox(group);
        edtTemplate[i]->setObjectName(QLatin1String(entries[i].list));
        edtTemplate[i]->setToolTip(QStringLiteral("Выберите шаблон из списка"));
        edtTemplate[i]->setMinimumWidth(220);
        btnTemplate[i] = SmallButton(entries[i].button, QStringLiteral("..."), QStringLiteral("Редактировать шаблон"), group);
        grid->addWidget(Buddy(QString::fromLatin1(entries[i].caption), edtTemplate[i], group), i, 0);
        grid->addWidget(edtTemplate[i], i, 1);
        grid->addWidget(btnTemplate[i], i, 2);
        connect(btnTemplate[i], &QToolButton::clicked, this, [this, i] { btnTemplateClick(i); });
    }
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* TfrSetup::createOtherPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabOther"));
    auto* service = new QGroupBox(QStringLiteral("Обслуживание"), page);
    btnClear = new QPushButton(QStringLiteral("Очистить &историю"), service);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    connect(btnClear, &QPushButton::clicked, this, &TfrSetup::btnClearClick);
    auto* serviceLayout = new QHBoxLayout(service);
    serviceLayout->addWidget(btnClear);
    serviceLayout->addStretch(1);
    auto* tags = new QGroupBox(QStringLiteral("Теги"), page);
    cmbCase = new QComboBox(tags);
    cmbCase->setObjectName(QStringLiteral("cmbCase"));
    cmbCase->addItems({QStringLiteral("Нижний <tag>"), QStringLiteral("Верхний <TAG>")});
    auto* tagsLayout = new QHBoxLayout(tags);
    tagsLayout->addWidget(Buddy(QStringLiteral("&Регистр тегов:"), cmbCase, tags));
    tagsLayout->addWidget(cmbCase);
    tagsLayout->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(service);
    layout->addWidget(tags);
    layout->addStretch(1);
    return page;
}

void TfrSetup::FormCreate() {
    TIniFile& ini = *main_.SettingsFile();
    // 1: the number fields take digits only (TNumberField's validator).
    // 2: the registered themes, sorted, and the current one chosen.
    QStringList themes;
    for (const std::string& name : ThemeNames()) themes << QString::fromStdString(name);
    themes.sort();
    cmbTheme->addItems(themes);
    cmbTheme->setCurrentIndex(cmbTheme->findText(QString::fromStdString(CurrentThemeName())));
    // 3-9: the panel switch from the file, the editor's settings from the editor.
    chkHidePanel->setChecked(ini.IniReadNumber("Toolbars", "TagInsertHide", 0) == 1);
    TCodeEdit& editor = *main_.snEditor;
    cmbActiveCol->Select(editor.ActiveLineColor());
    edtTabWidth->SetValue(editor.Model().TabWidth());
    chkLineNmb->setChecked(editor.Model().Gutter().ShowLineNumbers);
    chkWordWrap->setChecked(editor.Model().WordWrap());
    edtPolosa->SetValue(editor.RightEdge());
    edtLastHistory->SetValue(main_.RecentFiles().MaxItems());
    // 10-11: every list holds every file of the templates folder; the kind's
    // template is chosen (case ignored), or none.
    for (int i = 0; i < 6; ++i) {
        QStringList files;
        ScanDir(main_.ProgramDir() + QStringLiteral("Library/Templates"), QStringLiteral("*.*"), files);
        files.sort(Qt::CaseInsensitive);
        edtTemplate[i]->addItems(files);
        const TKindTemplate& t = KindTemplate(static_cast<DocumentKind>(i));
        const QString chosen = FileNameFromBytes(ini.IniRead("Templates", t.key, t.defaultFile));
        int found = -1;
        for (int k = 0; k < files.size() && found < 0; ++k)
            if (files[k].compare(chosen, Qt::CaseInsensitive) == 0) found = k;
        edtTemplate[i]->setCurrentIndex(found);
    }
    // 12-14: the browsers; a group's controls are enabled with its box.
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i + 1);
        cmbExe[i]->setEditText(FileNameFromBytes(ini.IniRead("Browsers", n + "_exe", "iexplore.exe")));
        cmbName[i]->setEditText(FromCp1251(ini.IniRead("Browsers", n + "_name", "Undefined")));
        const QSignalBlocker block(chkEnable[i]);
        chkEnable[i]->setChecked(cmbName[i]->currentText() != kUndefined);
        for (QWidget* w : std::initializer_list<QWidget*>{lblExe[i], lblName[i], cmbExe[i], cmbName[i], btnBrowse[i]})
            w->setEnabled(chkEnable[i]->isChecked());
    }
    // 15-17: autocorrect, the two lists and the tag case.
    chkEnableAC->setChecked(ini.IniReadNumber("Editor", "Autocorrect", 1) == 1);
    std::vector<std::string> pairs;
    ini.IniReadPairs("Autocorrect", pairs);
    for (std::string& p : pairs) p = FromCp1251(p).toStdString();
    edtAC->SetPairs(pairs);
    ini.IniReadPairs("Chars", pairs);
    for (std::string& p : pairs) p = FromCp1251(p).toStdString();
    edtChars->SetPairs(pairs);
    const int tagCase = ini.IniReadNumber("Editor", "Case", 1);
    cmbCase->setCurrentIndex(tagCase == 0 || tagCase == 1 ? tagCase : -1);

    for (TPairGrid* grid : {edtAC, edtChars})
        grid->OnError = [this](const QString& message) { showError(message); };
}

void TfrSetup::ScanDir(QString folder, const QString& mask, QStringList& list) {
    const QString pattern = mask.isEmpty() || mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    QDirIterator it(folder, {pattern}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (!it.fileInfo().isDir()) list << it.fileName();
        QCoreApplication::processEvents();
    }
}

void TfrSetup::showError(const QString& message) { prompts_.showError(this, message); }

bool TfrSetup::btnApplyClick() {
    // Every number is checked before anything is written, so that a bad field
    // cannot leave the file half-written.
    int numbers[3] = {};
    TNumberField* fields[3] = {edtPolosa, edtTabWidth, edtLastHistory};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = fields[i]->Text().toInt(&ok);
        if (!ok) {
            showError(QStringLiteral("'%1' is not a valid integer value").arg(fields[i]->Text()));
            pcSetup->setCurrentIndex(0);
            fields[i]->setFocus();
            return false;
        }
    }
    TIniFile& ini = *main_.SettingsFile();
    try {
        ini.IniWrite("Toolbars", "Theme", ToCp1251(cmbTheme->currentText()));
        ini.IniWriteNumber("Toolbars", "TagInsertHide", chkHidePanel->isChecked() ? 1 : 0);
        ini.IniWriteNumber("Editor", "Polosa", numbers[0]);
        ini.IniWriteNumber("Colors", "ActiveLine", static_cast<int>(cmbActiveCol->Selected()));
        ini.IniWriteNumber("Editor", "TabWidth", numbers[1]);
        ini.IniWriteNumber("Editor", "ShowLineNumbers", chkLineNmb->isChecked() ? 1 : 0);
        ini.IniWriteNumber("Editor", "WordWrap", chkWordWrap->isChecked() ? 1 : 0);
        ini.IniWriteNumber("Editor", "OpenHistory", numbers[2]);
        ini.IniWrite("Browsers", "1_exe", FileNameBytes(cmbExe[0]->currentText()));
        ini.IniWrite("Browsers", "1_name", ToCp1251(cmbName[0]->currentText()));
        ini.IniWrite("Browsers", "2_exe", FileNameBytes(cmbExe[1]->currentText()));
        ini.IniWrite("Browsers", "2_name", ToCp1251(cmbName[1]->currentText()));
        ini.IniWriteNumber("Editor", "Autocorrect", chkEnableAC->isChecked() ? 1 : 0);
        // The lists replace their sections: each row's name with the value of
        // the first row of that name. Rows without a name are not stored.
        for (auto [section, grid] : {std::pair{"Autocorrect", edtAC}, std::pair{"Chars", edtChars}}) {
            ini.IniClearSection(section);
            for (int r = 0; r < grid->RowCount(); ++r) {
                const QString name = grid->Name(r);
                if (name.isEmpty()) continue;
                ini.IniWrite(section, ToCp1251(name), ToCp1251(grid->ValueOf(name)));
            }
        }
        ini.IniWriteNumber("Editor", "Case", cmbCase->currentIndex());
        for (int i = 0; i < 6; ++i)
            ini.IniWrite("Templates", KindTemplate(static_cast<DocumentKind>(i)).key,
                         FileNameBytes(edtTemplate[i]->currentText()));
        main_.ApplyOptions();
    } catch (const std::exception& e) {
        showError(MessageText(e.what()));
        return false;
    }
    return true;
}

void TfrSetup::btnOKClick() {
    if (btnApplyClick()) accept();
}

void TfrSetup::browse(int n) {
    const int i = n - 1;
    FileDialogRequest request;
    request.caption = QStringLiteral("Браузер %1").arg(n);
    request.filters = {{QStringLiteral("Приложения"), QStringLiteral("*")},
                       {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*")}};
    request.executablesFilter = 1;
    request.folder = QStringLiteral("/usr/bin");
    request.fileName = cmbExe[i]->currentText();
    const QString chosen = prompts_.openFileName(this, request);
    if (!chosen.isEmpty()) cmbExe[i]->setEditText(chosen);
}

void TfrSetup::enableBrowser(int n) {
    const int i = n - 1;
    const bool on = chkEnable[i]->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblExe[i], lblName[i], cmbExe[i], cmbName[i], btnBrowse[i]})
        w->setEnabled(on);
    if (!on) cmbName[i]->setEditText(kUndefined);
}

void TfrSetup::btnAddACClick() { edtAC->AddRow(); }
void TfrSetup::btnDelClick() { edtAC->DeleteRow(); }
void TfrSetup::btnAddChrClick() { edtChars->AddRow(QStringLiteral("&;")); }
void TfrSetup::btnDelChrClick() { edtChars->DeleteRow(); }

void TfrSetup::btnClearClick() {
    try {
        TIniFile& ini = *main_.SettingsFile();
        ini.IniClearSection("Filez");
        ini.IniClearSection("LastOpened");
        main_.ClearRecentFiles();
    } catch (const std::exception& e) {
        showError(MessageText(e.what()));
    }
}

void TfrSetup::btnTemplateClick(int list) {
    shellOpen(QStringLiteral("notepad.exe"),
              main_.ProgramDir() + QStringLiteral("Library/Templates/") + edtTemplate[list]->currentText());
}

}  // namespace pelm
