#pragma once
// The settings dialog: six pages showing the current settings, written to
// pelm.ini by Apply (and OK) in a fixed order, then applied to the main window.
// Clearing the history, browsing for a browser and editing a template act at
// once.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace pelm {

class Prompts;
class TColorList;
class TNumberField;
class TPairGrid;
class TfrMain;

class TfrSetup : public QDialog {
    Q_OBJECT
public:
    TfrSetup(TfrMain& main, Prompts& prompts, QWidget* parent = nullptr);

    // Writes every setting in order and runs ApplyOptions. Every number field
    // is checked before the first write: on a bad one the message is shown,
    // nothing is written and false returned. A refused write is reported and
    // also returns false; the writes before it stay.
    bool btnApplyClick();
    void btnOKClick();
    void btnBrowse1Click() { browse(1); }
    void btnBrowse2Click() { browse(2); }
    void chkEnable1Click() { enableBrowser(1); }
    void chkEnable2Click() { enableBrowser(2); }
    void btnAddACClick();
    void btnDelClick();
    void btnAddChrClick();
    void btnDelChrClick();
    void btnClearClick();
    // The template edit buttons, by list (0 HTML, 1 CSS, 2 XML, 3 JS, 4 PHP, 5 Perl).
    void btnTemplateClick(int list);

    // Adds the names of the folder's files (not sub-folders) that match the
    // mask ("" means every file) to list, in the order the system gives them.
    static void ScanDir(QString folder, const QString& mask, QStringList& list);

    // How the template edit buttons reach the desktop (ShellOpen); tests
    // replace it. Arguments: target and parameter text.
    std::function<void(const QString&, const QString&)> shellOpen;

    // Controls, named as in the dialog's form.
    QTabWidget* pcSetup = nullptr;
    QComboBox* cmbTheme = nullptr;
    QCheckBox* chkHidePanel = nullptr;
    TColorList* cmbActiveCol = nullptr;
    TNumberField* edtTabWidth = nullptr;
    QCheckBox* chkLineNmb = nullptr;
    QCheckBox* chkWordWrap = nullptr;
    TNumberField* edtLastHistory = nullptr;
    TNumberField* edtPolosa = nullptr;
    std::array<QCheckBox*, 2> chkEnable{};
    std::array<QComboBox*, 2> cmbExe{};
    std::array<QComboBox*, 2> cmbName{};
    std::array<QToolButton*, 2> btnBrowse{};
    std::array<QLabel*, 2> lblExe{};
    std::array<QLabel*, 2> lblName{};
    QCheckBox* chkEnableAC = nullptr;
    TPairGrid* edtAC = nullptr;
    QToolButton* btnAddAC = nullptr;
    QToolButton* btnDel = nullptr;
    TPairGrid* edtChars = nullptr;
    QToolButton* btnAddChr = nullptr;
    QToolButton* btnDelChr = nullptr;
    // edtHtml, edtCSS, edtXML, edtJS, edtPHP, edtPerl and their buttons.
    std::array<QComboBox*, 6> edtTemplate{};
    std::array<QToolButton*, 6> btnTemplate{};
    QPushButton* btnClear = nullptr;
    QComboBox* cmbCase = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnApply = nullptr;

private:
    void createPages();
    QWidget* createLookPage();
    QWidget* createBrowsersPage();
    QWidget* createAutocorrectPage();
    QWidget* createCharsPage();
    QWidget* createTemplatesPage();
    QWidget* createOtherPage();
    void FormCreate();
    void browse(int n);
    void enableBrowser(int n);
    void showError(const QString& message);

    TfrMain& main_;
    Prompts& prompts_;
};

}  // namespace pelm
