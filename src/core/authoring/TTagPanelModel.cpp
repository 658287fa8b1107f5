#include "core/authoring/TTagPanelModel.h"

#include "core/authoring/TagLibrary.h"
#include "core/authoring/TagText.h"
#include "core/editor/TCustomCodeEdit.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Errors.h"

namespace pelm {

void TTagPanelModel::LoadList(const std::string& fileName) {
    SetEntries(LoadTagList(fileName));
}

void TTagPanelModel::SetEntries(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    chosen_ = -1;
}

void TTagPanelModel::ApplyCase(bool upper) {
    for (std::string& entry : entries_) entry = upper ? cp1251::UpperCase(entry) : cp1251::LowerCase(entry);
}

const std::string& TTagPanelModel::ChosenName() const {
    static const std::string none;
    return chosen_ >= 0 ? entries_[static_cast<size_t>(chosen_)] : none;
}

void TTagPanelModel::Choose(int index) {
    const int count = static_cast<int>(entries_.size());
    if (index < 0 || index >= count) return;
    while (index < count && IsTagHeader(entries_[static_cast<size_t>(index)])) ++index;
    if (index >= count || entries_[static_cast<size_t>(index)].empty()) return;
    chosen_ = index;
    const std::string& name = entries_[static_cast<size_t>(index)];

    const TTagDescription d = ReadTagDescription(tagsFolder_, name);
    description_ = d.Comment;
    rows_.clear();
    for (const auto& [attribute, preset] : d.Params) rows_.push_back({attribute, preset});
    if (rows_.empty()) rows_.push_back({});
    closeTag_ = d.CloseTag;
    if (d.Default < 0 || d.Default >= static_cast<int>(rows_.size())) {
        currentRow_ = 0;
        throw EError("Grid index out of range");
    }
    currentRow_ = d.Default;
    helpTopic_ = d.Help;
    helpItemShown_ = true;
    statusText_ = "<" + name + ">";
}

bool TTagPanelModel::Select(const std::string& name) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (SameTagText(entries_[i], name)) {
            chosen_ = static_cast<int>(i);
            Choose(static_cast<int>(i));
            return true;
        }
    }
    chosen_ = -1;
    return false;
}

void TTagPanelModel::SetCurrentRow(int row) {
    if (row >= 0 && row < static_cast<int>(rows_.size())) currentRow_ = row;
}

void TTagPanelModel::SetValue(int row, const std::string& value) {
    if (row >= 0 && row < static_cast<int>(rows_.size())) rows_[static_cast<size_t>(row)].Value = value;
}

void TTagPanelModel::MoveRow(int from, int to) {
    const int count = static_cast<int>(rows_.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
    TTagRow row = std::move(rows_[static_cast<size_t>(from)]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(row));
    if (currentRow_ == from) currentRow_ = to;
}

std::string TTagPanelModel::CurrentValue() const {
    if (rows_.empty()) return {};
    const std::string& name = rows_[static_cast<size_t>(currentRow_)].Name;
    for (const TTagRow& row : rows_)
        if (SameTagText(row.Name, name)) return row.Value;
    return {};
}

void TTagPanelModel::WriteCurrentValue(const std::string& value) {
    const std::string name = rows_.empty() ? std::string() : rows_[static_cast<size_t>(currentRow_)].Name;
    for (TTagRow& row : rows_) {
        if (SameTagText(row.Name, name)) {
            row.Value = value;
            return;
        }
    }
    rows_.push_back({std::string(), value});
}

std::optional<TTagPanelModel::TTagText> TTagPanelModel::BuildTag() const {
    if (chosen_ < 0) return std::nullopt;
    const std::string& name = ChosenName();
    TTagText tag;
    tag.Opening = "<" + name;
    for (const TTagRow& row : rows_) {
        if (row.Name.empty()) continue;
        // The value of the first row of this name counts, as in the grid's lookup.
        std::string value;
        for (const TTagRow& first : rows_) {
            if (SameTagText(first.Name, row.Name)) {
                value = first.Value;
                break;
            }
        }
        if (!value.empty()) tag.Opening += " " + row.Name + "=" + Kav(value);
    }
    tag.Opening += ">";
    if (closeTag_ == "yes") tag.Closing = "</" + name + ">";
    return tag;
}

std::optional<std::string> TTagPanelModel::InsTag(TCustomCodeEdit& editor) const {
    const std::optional<TTagText> tag = BuildTag();
    if (!tag) return std::nullopt;
    const std::string inserted = tag->Opening + editor.SelectedText() + tag->Closing;
    editor.SetSelectedText(inserted);
    editor.SetSelOffset(editor.SelOffset() - static_cast<int>(tag->Closing.size()));
    return inserted;
}

void InsertComment(TCustomCodeEdit& editor) {
    editor.SetSelectedText(CommentText(editor.SelectedText()));
}

}  // namespace pelm
