#pragma once
// The main window's tag work: the tag panel in the right dock, the Tag menu
// with its quick tag commands (also on the tags toolbar and in the Edit menu's
// insert submenu), the tag help, the value commands of the grid's context menu
// (fixed values, the colour mixer, the file browser) and the character dialog.
// TfrMain's handlers of these names forward here.
#include <QColor>
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "core/authoring/TTagPanelModel.h"

class QAction;
class QMenu;

namespace pelm {

class Prompts;
class TfrMain;
class TTagPanel;
class TTagPrompts;

class TTagController : public QObject {
    Q_OBJECT
public:
    TTagController(TfrMain& main, Prompts& prompts);
    ~TTagController() override;

    TTagPanel* Panel() const { return panel_; }
    TTagPanelModel& Model() { return model_; }
    // The colour and file dialogs (nullptr: the real ones).
    void SetTagPrompts(TTagPrompts* prompts) { tagPrompts_ = prompts; }

    // The Tag menu, the tags toolbar, the Edit menu's insert items, the Help
    // menu's current-tag item and the grid's context menu.
    void CreateMenus();

    // Start-up: the lines of Library/Tags/tags.pel become the tag list.
    void LoadTagList(const QString& programDir);
    // The Case setting: every entry upper or lower case.
    void ApplyCase(bool upper);

    void cmbTagNameChange(int index);
    void TagSel(const std::string& name, bool insertNow);
    // The inserted text, empty when no tag is chosen.
    std::string InsTag();
    void btnTagInsertClick();
    void btnTagHelpClick();
    void pnkServiceShowInsertTagPanelClick();
    void pnkTagCommentClick();
    void pnkCharInsertClick();

    // The value commands of pppTagProp.
    void WriteValue(const std::string& value);
    void pnkPropColorSelectClick();
    void pnkPropBrowseClick();

    const std::string& TagHelpTopic() const { return model_.HelpTopic(); }
    QMenu* pppTagProp = nullptr;
    QAction* pnkHelpTag = nullptr;
    QAction* pnkTagInsert = nullptr;
    QAction* pnkTagPanel = nullptr;
    // The colour the mixer opens on when the value does not set it.
    QColor dlgColor = Qt::black;

private:
    // Runs a command; an error is shown in the error box. False on error.
    bool run(const std::function<void()>& command);
    // The steps after a choice: the panel shows the model, and when the choice
    // went through, the focus goes into the grid, the Help item is shown and
    // status panel 3 names the tag.
    void choose(const std::function<void()>& choice);
    TTagPrompts& tagPrompts();

    TfrMain& main_;
    Prompts& prompts_;
    TTagPanelModel model_;
    TTagPanel* panel_ = nullptr;
    std::unique_ptr<TTagPrompts> ownTagPrompts_;
    TTagPrompts* tagPrompts_ = nullptr;
};

}  // namespace pelm
