#pragma once
// The main window's part in the document's encoding: the codec attached to the
// editor's lines, the status panel that names the encoding, the "Кодировка"
// submenu of the Service menu (also shown by a click on the panel), the
// read-only state of a file whose text the editor cannot hold, the question
// before a save the encoding cannot hold, and the memory of a chosen encoding
// in pelm.ini beside the caret position.
#include <QObject>
#include <QString>
#include <optional>

#include "core/encoding/TDocumentCodec.h"
#include "gui/app/TDocumentSession.h"

class QAction;
class QMenu;

namespace pelm {

class TfrMain;
class TStatusPanel;

class TEncodingController : public QObject, public TDocumentFileHooks {
    Q_OBJECT
public:
    explicit TEncodingController(TfrMain& main);
    ~TEncodingController() override;

    encoding::TDocumentCodec& Codec() { return codec_; }
    const encoding::TextEncoding& Encoding() const { return codec_.Encoding(); }
    // The document holds characters its file's encoding gave that the editor has
    // no byte for, or bytes that were not text: it is shown, never saved.
    bool ReadOnly() const { return readOnly_; }

    // OpenFrom's steps around the load: how the encoding is found, and, right
    // after a successful load, what it found (status panel, read-only state,
    // the message).
    void BeforeLoad(const QString& fileName, bool setName) override;
    void AfterLoad() override;
    // Before every write of the document: refuses a read-only document, and
    // when the encoding cannot hold the text names the character and offers
    // UTF-8 instead. Throws EAbort when the save is not to happen.
    void BeforeSave() override;
    // After a save: a chosen encoding is remembered for the file.
    void Remember();
    void AfterSave() override { Remember(); }

    // "Открыть заново в кодировке…": reloads the file in e, asking first about
    // unsaved changes. "Сохранять в кодировке…": the encoding of the next save.
    void ReopenIn(const encoding::TextEncoding& e);
    void SaveIn(const encoding::TextEncoding& e);

    TStatusPanel* barEncoding = nullptr;
    QMenu* pnkServiceEncoding = nullptr;
    QMenu* pnkServiceEncodingReopen = nullptr;
    QMenu* pnkServiceEncodingSave = nullptr;
    // The panel's context menu: the same two submenus.
    QMenu* pppEncoding = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showEncoding();
    void updateItems();
    // The key of the encoding remembered for a file; none for a name no key can hold.
    static std::optional<std::string> memoryKey(const QString& fileName);

    TfrMain& main_;
    encoding::TDocumentCodec codec_;
    std::optional<encoding::TextEncoding> reopenWith_;
    bool readOnly_ = false;
    // The encoding was chosen by the user (or remembered from such a choice),
    // not found in the bytes.
    bool chosen_ = false;
};

}  // namespace pelm
