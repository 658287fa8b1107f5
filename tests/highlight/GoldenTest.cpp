// Golden-file runner for the highlighters.
//
// tests/highlight/<lang>/<name>.<ext> is an input. The reference
// <name>.<ext>.styled holds, for every line, the line's text with {kind} in
// front of each token and {end state} at the end of the line, where kind and
// state are the language's names below. On a mismatch the runner writes
// <name>.<ext>.styled.new and reports the first differing line. With
// PELM_REGENERATE_GOLDEN=1 it rewrites the reference instead.
//
// Each input is also scanned
//   - line by line, from the stored end state of the line above, in reverse
//     line order, so no state may travel between lines except the range;
//   - with CR LF appended to every line: the same tokens, then tokens covering
//     exactly the CR LF, and the same end state;
//   - (where the language allows it) as one line joining all lines with CR LF:
//     the same tokens once the tokens made only of CR and LF are dropped.
// and every scan must cover its line with contiguous tokens up to its NUL and
// end with the end-of-line token.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/highlight/LanguageRegistry.h"

namespace fs = std::filesystem;
using namespace pelm;

namespace {

struct Language {
    std::string folder;
    std::unique_ptr<TLanguageHighlighter> (*make)();
    std::vector<std::string> kindNames;
    std::vector<std::string> stateNames;
    // Whether a line break inside a line text means the same as the end of a
    // line, so that the whole file scanned as one line gives the same tokens.
    bool joinedLinePass;
};

// One entry per language of the registry that has a highlighter; the kind and
// state names come from the language's own tables.
const std::vector<Language>& languages() {
    static const std::vector<Language> list = [] {
        std::vector<Language> out;
        for (const TLanguageEntry& e : Languages()) {
            if (!e.make) continue;
            const TLanguageSpec& tables = e.make()->Tables();
            Language l{e.folder, e.make, {}, {}, e.lineBreakEndsConstructs};
            for (const TKindSpec& k : tables.kinds) l.kindNames.push_back(k.name);
            for (const char* n : tables.stateNames) l.stateNames.push_back(n);
            out.push_back(std::move(l));
        }
        return out;
    }();
    return list;
}

struct Token {
    int start;
    std::string text;
    int kind;
    bool operator==(const Token&) const = default;
};

struct LineScan {
    std::vector<Token> tokens;  // the end-of-line token not included
    uint32_t endState = 0;
};

// Scans the line the highlighter was started on to its end, checking the
// contract on the way. Problems are added to errors.
LineScan scanStarted(TCustomHighlighter& hl, std::string_view text, const std::string& where,
                     std::vector<std::string>& errors) {
    LineScan out;
    const size_t nul = std::min(text.find('\0'), text.size());
    int expected = 0;
    // A scanner that never reaches the end is a fault; the bound keeps the test finite.
    for (size_t guard = 0; guard <= text.size() * 2 + 8; ++guard) {
        if (hl.AtLineEnd()) {
            if (hl.TokenStart() != expected || hl.ScanPosition() != expected)
                errors.push_back(where + ": end token at " + std::to_string(hl.TokenStart()) + ", expected at " +
                                 std::to_string(expected));
            if (static_cast<size_t>(expected) != nul)
                errors.push_back(where + ": line ended at " + std::to_string(expected) + " of " + std::to_string(nul));
            // Further calls keep the end.
            hl.NextToken();
            if (!hl.AtLineEnd() || hl.ScanPosition() != expected) errors.push_back(where + ": end token not stable");
            out.endState = hl.GetState();
            return out;
        }
        Token t{hl.TokenStart(), hl.TokenText(), hl.TokenKind()};
        if (t.start != expected)
            errors.push_back(where + ": token at " + std::to_string(t.start) + ", expected " + std::to_string(expected));
        if (hl.TokenView() != t.text) errors.push_back(where + ": TokenView differs from TokenText");
        if (static_cast<size_t>(hl.ScanPosition()) > nul) {
            errors.push_back(where + ": token runs past the end of the line");
            return out;
        }
        expected = hl.ScanPosition();
        out.tokens.push_back(std::move(t));
        hl.NextToken();
    }
    errors.push_back(where + ": the end of the line is never reached");
    return out;
}

std::string styledLine(const Language& lang, const LineScan& scan) {
    auto name = [](const std::vector<std::string>& names, uint32_t v) {
        return v < names.size() ? names[v] : std::to_string(v);
    };
    std::string s;
    for (const Token& t : scan.tokens) {
        s += '{';
        s += name(lang.kindNames, static_cast<uint32_t>(t.kind));
        s += '}';
        s += t.text;
    }
    // The low byte is the state; a language may keep more above it.
    s += "{end ";
    s += name(lang.stateNames, scan.endState & 0xFF);
    if (scan.endState > 0xFF) {
        s += '/';
        s += std::to_string(scan.endState >> 8);
    }
    s += '}';
    return s;
}

std::string readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void writeFile(const fs::path& p, const std::string& s) {
    std::ofstream f(p, std::ios::binary);
    f << s;
}

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < s.size()) {
        size_t e = s.find('\n', pos);
        if (e == std::string::npos) e = s.size();
        out.push_back(s.substr(pos, e - pos));
        pos = e + 1;
    }
    return out;
}

struct GoldenCase {
    size_t language;
    fs::path input;
};

std::vector<GoldenCase> findCases() {
    std::vector<GoldenCase> out;
    for (size_t l = 0; l < languages().size(); ++l) {
        fs::path dir = fs::path(PELM_GOLDEN_DIR) / languages()[l].folder;
        if (!fs::is_directory(dir)) continue;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir)) {
            std::string n = e.path().filename().string();
            if (!e.is_regular_file() || n.ends_with(".styled") || n.ends_with(".styled.new")) continue;
            files.push_back(e.path());
        }
        std::sort(files.begin(), files.end());
        for (auto& f : files) out.push_back({l, f});
    }
    return out;
}

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.input.filename().string(); }

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesReferenceAndScansConsistently) {
    const Language& lang = languages()[GetParam().language];
    const fs::path input = GetParam().input;
    auto hl = lang.make();
    TCodeEditStringList lines;
    lines.LoadTextFile(input.string());
    std::vector<std::string> errors;

    // Reference pass: one continuous scan, the way a full rescan stores the states.
    std::vector<LineScan> ref;
    hl->ResetState();
    for (int i = 0; i < lines.Count(); ++i) {
        hl->StartLine(lines.Line(i), i);
        ref.push_back(scanStarted(*hl, lines.Line(i), "line " + std::to_string(i + 1), errors));
    }
    std::string styled;
    for (const LineScan& s : ref) styled += styledLine(lang, s) + "\n";

    // The full rescan stores exactly these states.
    FullRescan(lines, *hl);
    for (int i = 0; i < lines.Count(); ++i)
        if (static_cast<uint32_t>(lines.LineState(i)) != ref[static_cast<size_t>(i)].endState)
            errors.push_back("full rescan: state of line " + std::to_string(i + 1) + " differs");

    // Line by line from the stored states, in reverse order.
    for (int i = lines.Count() - 1; i >= 0; --i) {
        if (i == 0)
            hl->ResetState();
        else
            hl->SetState(static_cast<uint32_t>(lines.LineState(i - 1)));
        hl->StartLine(lines.Line(i), i);
        std::string where = "stored-state pass, line " + std::to_string(i + 1);
        LineScan s = scanStarted(*hl, lines.Line(i), where, errors);
        if (s.tokens != ref[static_cast<size_t>(i)].tokens || s.endState != ref[static_cast<size_t>(i)].endState)
            errors.push_back(where + ": tokens or end state differ");
    }

    // CR LF at the end of every line.
    for (int i = 0; i < lines.Count(); ++i) {
        if (lines.Line(i).find('\0') != std::string_view::npos) continue;  // the NUL hides the break
        std::string text = std::string(lines.Line(i)) + "\r\n";
        if (i == 0)
            hl->ResetState();
        else
            hl->SetState(ref[static_cast<size_t>(i - 1)].endState);
        hl->StartLine(text, i);
        std::string where = "CR LF pass, line " + std::to_string(i + 1);
        LineScan s = scanStarted(*hl, text, where, errors);
        const LineScan& r = ref[static_cast<size_t>(i)];
        bool same = s.tokens.size() > r.tokens.size() && std::equal(r.tokens.begin(), r.tokens.end(), s.tokens.begin());
        std::string tail;
        for (size_t k = r.tokens.size(); same && k < s.tokens.size(); ++k) tail += s.tokens[k].text;
        if (!same || tail != "\r\n" || s.endState != r.endState) errors.push_back(where + ": tokens or end state differ");
    }

    // The whole file as one line.
    if (lang.joinedLinePass && lines.Count() > 0) {
        std::string joined;
        std::vector<int> offsets;
        bool hasNul = false;
        for (int i = 0; i < lines.Count(); ++i) {
            offsets.push_back(static_cast<int>(joined.size()));
            hasNul = hasNul || lines.Line(i).find('\0') != std::string_view::npos;
            joined += lines.Line(i);
            joined += "\r\n";
        }
        if (!hasNul) {
            hl->ResetState();
            hl->StartLine(joined, 0);
            LineScan s = scanStarted(*hl, joined, "joined pass", errors);
            std::vector<Token> expected;
            for (size_t i = 0; i < ref.size(); ++i)
                for (Token t : ref[i].tokens) {
                    t.start += offsets[i];
                    expected.push_back(t);
                }
            std::erase_if(s.tokens, [](const Token& t) {
                return !t.text.empty() && t.text.find_first_not_of("\r\n") == std::string::npos;
            });
            if (s.tokens != expected || s.endState != ref.back().endState)
                errors.push_back("joined pass: tokens or end state differ");
        }
    }

    for (const std::string& e : errors) ADD_FAILURE() << input.filename().string() << ": " << e;

    fs::path reference = input;
    reference += ".styled";
    fs::path fresh = input;
    fresh += ".styled.new";
    const char* regen = std::getenv("PELM_REGENERATE_GOLDEN");
    if (regen && *regen && std::string(regen) != "0") {
        writeFile(reference, styled);
        fs::remove(fresh);
        return;
    }
    if (!fs::exists(reference)) {
        writeFile(fresh, styled);
        FAIL() << "no reference " << reference << "; wrote " << fresh;
    }
    std::string want = readFile(reference);
    if (want == styled) {
        fs::remove(fresh);
        return;
    }
    writeFile(fresh, styled);
    std::vector<std::string> a = splitLines(want), b = splitLines(styled);
    size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) ++k;
    FAIL() << input.filename().string() << " differs from its reference at line " << (k + 1) << "\n  expected: "
           << (k < a.size() ? a[k] : "<no line>") << "\n  actual:   " << (k < b.size() ? b[k] : "<no line>")
           << "\n  output written to " << fresh;
}

std::string caseName(const ::testing::TestParamInfo<GoldenCase>& info) {
    std::string n = languages()[info.param.language].folder + "_" + info.param.input.filename().string();
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(findCases()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
