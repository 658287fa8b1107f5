// Fuzzes the editor's search-replace loop over the plain and the regular-
// expression engine: text, caret and selection, selection mode, search and
// replace texts, every option and a script of prompt answers come from the
// input. Whatever happens:
// - the loop ends, the count is not negative and the caret is inside the text
//   (or in the virtual space the mode allows);
// - undoing everything gives back the text as it was;
// - a plain, case-sensitive replace-all over the whole text without prompts in
//   the stream mode gives what a plain left-to-right replacement line by line
//   gives, and counts the same replacements (with the editor's trimming of
//   trailing blanks off, which the input chooses).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/editor/TCustomCodeEdit.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"
#include "core/search/TRegEngine.h"

using namespace pelm;

namespace {

// The case being run, printed with a failure.
std::string currentCase;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_search_replace: %s\n%s\n", what, currentCase.c_str());
    std::abort();
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::vector<std::string> linesOf(const TCustomCodeEdit& e) {
    std::vector<std::string> lines;
    for (int i = 0; i < e.Lines().Count(); ++i) lines.emplace_back(e.Lines().Line(i));
    return lines;
}

bool hasBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool regex = in.ConsumeBool();
    const bool trimTrailing = in.ConsumeBool();
    const auto options = static_cast<TSearchOptions>(in.ConsumeIntegral<uint8_t>());
    const auto mode = static_cast<TSelectionMode>(in.ConsumeIntegralInRange(0, 2));
    const int caretLine = in.ConsumeIntegralInRange(1, 8), caretColumn = in.ConsumeIntegralInRange(1, 40);
    const int anchorLine = in.ConsumeIntegralInRange(1, 8), anchorColumn = in.ConsumeIntegralInRange(1, 40);
    const std::string answers = in.ConsumeRandomLengthString(8);
    const std::string search = in.ConsumeRandomLengthString(16);
    const std::string replace = in.ConsumeRandomLengthString(16);
    const std::string text = in.ConsumeRemainingBytesAsString();

    currentCase = std::string(regex ? "regex" : "plain") + (trimTrailing ? " trim" : "") + " options=" + std::to_string(options) +
                  " mode=" + std::to_string(mode) + " anchor=" + std::to_string(anchorLine) + ":" +
                  std::to_string(anchorColumn) + " caret=" + std::to_string(caretLine) + ":" +
                  std::to_string(caretColumn) + " answers=" + quoted(answers) + "\nsearch=" + quoted(search) +
                  " replace=" + quoted(replace) + "\ntext=" + quoted(text);

    TCustomCodeEdit e;
    e.SetMaxUndo(1 << 20);
    const TCodeEditorOptions trimBit = OptionBit(eoTrimTrailingSpaces);
    e.SetOptions(trimTrailing ? e.Options() | trimBit : e.Options() & ~trimBit);
    // Lines split as a file's are (a line never holds CR or LF); the text always
    // has at least one line.
    size_t start = 0;
    for (;;) {
        size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string::npos) stop = text.size();
        e.Lines().Add(std::string_view(text).substr(start, stop - start));
        if (stop == text.size()) break;
        start = stop + (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1);
    }
    const std::vector<std::string> original = linesOf(e);
    e.SetSelectionMode(mode);
    e.SetCaretPos(TBufferCoord{anchorColumn, anchorLine});
    e.SetSelBeginPos(TBufferCoord{anchorColumn, anchorLine});
    e.SetSelEndPos(TBufferCoord{caretColumn, caretLine});

    size_t next = 0;
    int prompts = 0;
    e.OnReplaceText = [&](const std::string&, const std::string&, int, int, TCodeReplaceAction& action) {
        if (++prompts > 10000) fail("the loop keeps asking");
        const char a = next < answers.size() ? answers[next++] : 'C';
        action = static_cast<TCodeReplaceAction>(static_cast<unsigned char>(a) % 4);
    };

    TCodeEditSearch plain;
    TCodeEditRegexSearch expressions;
    e.SetSearchEngine(regex ? static_cast<TCodeEditSearchCustom*>(&expressions) : &plain);
    int count = 0;
    try {
        count = e.FindAndReplace(search, replace, options);
    } catch (const ERegEngine&) {
        return 0;  // an invalid or too complex expression is a reported error
    }
    if (count < 0) fail("negative count");
    const TBufferCoord caret = e.CaretPos();
    if (caret.Line < 1 || caret.Line > std::max(1, e.Lines().Count()) || caret.Column < 1)
        fail("caret outside the text");

    const TSearchOptions simple = soMatchCase | soEntireScope | soReplace | soReplaceAll;
    if (!regex && options == simple && mode == smNormal && !search.empty() && !hasBreak(search) &&
        !hasBreak(replace) && !trimTrailing) {
        std::vector<std::string> expected = original;
        int replaced = 0;
        for (std::string& line : expected) {
            std::string out;
            size_t pos = 0;
            for (size_t hit; (hit = line.find(search, pos)) != std::string::npos; pos = hit + search.size()) {
                out.append(line, pos, hit - pos);
                out += replace;
                ++replaced;
            }
            out.append(line, pos, std::string::npos);
            line = out;
        }
        if (linesOf(e) != expected) {
            std::string now;
            for (const std::string& l : linesOf(e)) now += l + "\n";
            currentCase += "\nresult=" + quoted(now);
            fail("replace-all differs from a plain replacement");
        }
        if (count != replaced) fail("replace-all counted another number of replacements");
    }

    for (int guard = 0; e.UndoAvailable(); ++guard) {
        if (guard > 1000000) fail("undo never ends");
        e.Undo();
    }
    if (linesOf(e) != original) {
        std::string now;
        for (const std::string& l : linesOf(e)) now += l + "\n";
        currentCase += "\nafter undo=" + quoted(now);
        fail("undo does not give back the original text");
    }
    return 0;
}
