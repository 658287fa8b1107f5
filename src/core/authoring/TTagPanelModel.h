#pragma once
// The state and the logic of the tag insertion panel, without its widgets: the
// tag list, the chosen tag with its description, the parameter rows, the
// closing-tag text and the help topic; choosing a tag (the list's change
// handler and the quick commands' selection), building and inserting the tag
// around the editor's selection, and writing a value into the current row.
// The window mirrors this state in its controls and moves the keyboard focus.
#include <optional>
#include <string>
#include <vector>

namespace pelm {

class TCustomCodeEdit;

struct TTagRow {
    std::string Name;
    std::string Value;
};

class TTagPanelModel {
public:
    // Folder of the description files, ending with "/".
    void SetTagsFolder(std::string folder) { tagsFolder_ = std::move(folder); }
    const std::string& TagsFolder() const { return tagsFolder_; }

    // Replaces the list with the lines of the list file (EFOpenError when it
    // cannot be read; the list then stays as it was).
    void LoadList(const std::string& fileName);
    void SetEntries(std::vector<std::string> entries);
    const std::vector<std::string>& Entries() const { return entries_; }
    // Converts every entry, headers included, to upper or lower case.
    void ApplyCase(bool upper);

    // The chosen entry, -1 when none.
    int Chosen() const { return chosen_; }
    const std::string& ChosenName() const;

    // The tag-choice steps for the entry at index (the list's change handler):
    // an index outside the list does nothing; a header passes the choice on to
    // the entry after it; a header without a tag after it, and an empty entry,
    // change nothing. A Default row outside the rows raises EError "Grid index
    // out of range" after the description, the rows and the closing-tag text
    // are the new tag's, leaving the help topic and the status text as they were.
    void Choose(int index);
    // Chooses the entry equal to name without regard to case, or none when
    // there is no such entry (the rows and description then stay). True when
    // an entry was found.
    bool Select(const std::string& name);

    const std::string& Description() const { return description_; }
    const std::string& CloseTag() const { return closeTag_; }  // clTagYN
    const std::string& HelpTopic() const { return helpTopic_; }
    const std::string& StatusText() const { return statusText_; }  // "<NAME>"
    // The Help menu's current-tag item is shown from the first choice on.
    bool HelpItemShown() const { return helpItemShown_; }

    // The parameter rows; a tag without parameters, and the panel before the
    // first choice, have one empty row.
    const std::vector<TTagRow>& Rows() const { return rows_; }
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);
    void SetValue(int row, const std::string& value);
    // Moves a row to another place, which changes the attribute order.
    void MoveRow(int from, int to);

    // The current row's value, looked up by its name (empty when none).
    std::string CurrentValue() const;
    // Writes value into the first row named like the current row (without
    // regard to case), or adds a row without a name when there is none.
    void WriteCurrentValue(const std::string& value);

    struct TTagText {
        std::string Opening;
        std::string Closing;
    };
    // The opening tag with every filled-in row as an attribute, and the closing
    // tag when the description says "yes". Rows without a name give no
    // attribute: " =value" is not markup. None when no entry is chosen.
    std::optional<TTagText> BuildTag() const;
    // InsTag: replaces the editor's selection (or inserts at the caret) by
    // opening + selection + closing as one undoable step and puts the caret
    // just before the closing tag. Returns the inserted text; none (and
    // nothing changes) when no entry is chosen.
    std::optional<std::string> InsTag(TCustomCodeEdit& editor) const;

private:
    std::string tagsFolder_;
    std::vector<std::string> entries_;
    int chosen_ = -1;
    std::string description_;
    std::string closeTag_;
    std::string helpTopic_;
    std::string statusText_;
    bool helpItemShown_ = false;
    std::vector<TTagRow> rows_{TTagRow{}};
    int currentRow_ = 0;
};

// The comment command: the selection (or nothing) between "<!-- " and " -->",
// as one undoable step, the caret after " -->".
void InsertComment(TCustomCodeEdit& editor);

}  // namespace pelm
