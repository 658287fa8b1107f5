#include "core/editor/TCodeEditMarkList.h"

#include <algorithm>

namespace pelm {

TCodeEditMark* TCodeEditMarkList::Add(std::unique_ptr<TCodeEditMark> mark) {
    marks_.push_back(std::move(mark));
    return marks_.back().get();
}

bool TCodeEditMarkList::Remove(TCodeEditMark* mark) {
    auto it = std::find_if(marks_.begin(), marks_.end(), [&](const auto& m) { return m.get() == mark; });
    if (it == marks_.end()) return false;
    marks_.erase(it);
    return true;
}

std::vector<TCodeEditMark*> TCodeEditMarkList::MarksOnLine(int line) const {
    std::vector<TCodeEditMark*> out;
    for (const auto& m : marks_)
        if (m->Line == line) out.push_back(m.get());
    return out;
}

void TCodeEditMarkList::LinesInserted(int firstLine, int count, int lineCountBefore) {
    for (auto& m : marks_)
        if (m->Line >= firstLine && m->Line <= lineCountBefore) m->Line += count;
}

void TCodeEditMarkList::LinesDeleted(int firstLine, int count, int lineCountAfter) {
    int lineCountBefore = lineCountAfter + count;
    for (auto& m : marks_) {
        if (m->Line > lineCountBefore) continue;  // already past the end: left alone
        if (m->Line >= firstLine + count) m->Line -= count;
        else if (m->Line >= firstLine) m->Line = firstLine;
    }
}

}  // namespace pelm
