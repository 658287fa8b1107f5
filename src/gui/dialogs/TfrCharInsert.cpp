#include "gui/dialogs/TfrCharInsert.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/editor/TCustomCodeEdit.h"
#include "gui/app/GuiText.h"

namespace pelm {

TfrCharInsert::TfrCharInsert(const TIniFile* settings, TCustomCodeEdit* editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frCharInsert"));
    setWindowTitle(QStringLiteral("Вставка символа"));
    setFixedSize(392, 306);

    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    auto* pageLayout = new QVBoxLayout(page);
    edtChar = new QTableWidget(page);
    edtChar->setObjectName(QStringLiteral("edtChar"));
    edtChar->setColumnCount(2);
    edtChar->horizontalHeader()->hide();
    edtChar->verticalHeader()->hide();
    edtChar->verticalHeader()->setDefaultSectionSize(16);
    edtChar->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    edtChar->setColumnWidth(0, 200);
    edtChar->horizontalHeader()->setStretchLastSection(true);
    edtChar->setSelectionBehavior(QAbstractItemView::SelectRows);
    edtChar->setSelectionMode(QAbstractItemView::SingleSelection);
    edtChar->setEditTriggers(QAbstractItemView::NoEditTriggers);
    edtChar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtChar->setToolTip(QStringLiteral("Выберите подходящий символ в этом списке"));
    pageLayout->addWidget(edtChar);
    tabs->addTab(page, QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                 QStringLiteral("Вставка символа"));

    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &TfrCharInsert::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate(settings);
}

void TfrCharInsert::FormCreate(const TIniFile* settings) {
    list_ = settings ? ReadCharList(*settings) : std::vector<TCharEntry>();
    edtChar->setRowCount(static_cast<int>(list_.size()));
    for (int row = 0; row < static_cast<int>(list_.size()); ++row) {
        const TCharEntry& entry = list_[static_cast<size_t>(row)];
        edtChar->setItem(row, 0, new QTableWidgetItem(FromCp1251(entry.Description)));
        edtChar->setItem(row, 1, new QTableWidgetItem(FromCp1251(entry.Code)));
    }
    if (!list_.empty()) edtChar->selectRow(0);
}

void TfrCharInsert::btnOKClick() {
    const int row = edtChar->currentRow() < 0 ? 0 : edtChar->currentRow();
    if (editor_) editor_->SetSelectedText(CharCodeOf(list_, row));
    accept();
}

}  // namespace pelm
