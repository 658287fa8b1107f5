#include "core/search/TRegEngineParse.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pelm::regengine {

namespace {

constexpr int kMaxRepeatDigits = 8;

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// ---------------------------------------------------------------- parser

class Parser {
public:
    Parser(const std::string& e, int mods, TRegEngine::Program& p, const CharTable& blank,
           const CharTable& word)
        : e_(e), mods_(mods), prog_(p), blank_(blank), word_(word) {}

    int ParseAll() {
        int root = ParseReg(false);
        prog_.groupCount = groups_;
        return root;
    }
    std::vector<Node> nodes;
    std::vector<int> groupNode = std::vector<int>(TRegEngine::kMaxGroup + 1, -1);
    // The groups whose back references CanBeEmpty is following.
    mutable std::vector<bool> inCheck = std::vector<bool>(TRegEngine::kMaxGroup + 1, false);

    bool CanBeEmpty(int n) const {
        const Node& nd = nodes[n];
        switch (nd.kind) {
            case NK::Char: case NK::Set: case NK::Any: return false;
            case NK::Group: return CanBeEmpty(nd.kids[0]);
            case NK::Concat:
                for (int k : nd.kids)
                    if (!CanBeEmpty(k)) return false;
                return true;
            case NK::Alt:
                for (int k : nd.kids)
                    if (CanBeEmpty(k)) return true;
                return false;
            case NK::Repeat: return nd.a == 0 || CanBeEmpty(nd.kids[0]);
            case NK::Backref: {
                int g = nd.a <= TRegEngine::kMaxGroup ? groupNode[nd.a] : -1;
                if (g < 0) return true;
                // A group that refers to itself, directly or through others, as in
                // (a|\1)+: its earlier captures are empty only when it can match
                // empty without that reference, so the reference counts as not
                // empty here (and the check ends).
                if (inCheck[nd.a]) return false;
                inCheck[nd.a] = true;
                bool empty = CanBeEmpty(g);
                inCheck[nd.a] = false;
                return empty;
            }
            default: return true;
        }
    }

private:
    [[noreturn]] void Fail(int code) { throw CompileError{code, static_cast<int>(pos_)}; }

    size_t Size() const { return e_.size(); }
    unsigned char At(size_t p) const { return static_cast<unsigned char>(e_[p]); }

    // With x, blanks and # comments outside brackets are not part of the expression.
    void SkipExtended() {
        if (!(mods_ & modX)) return;
        while (pos_ < Size()) {
            unsigned char c = At(pos_);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos_;
            } else if (c == '#') {
                while (pos_ < Size() && At(pos_) != '\n' && At(pos_) != '\r') ++pos_;
            } else {
                break;
            }
        }
    }
    bool AtEnd() {
        SkipExtended();
        return pos_ >= Size();
    }

    int Add(Node n) {
        nodes.push_back(std::move(n));
        return static_cast<int>(nodes.size()) - 1;
    }
    int AddChar(unsigned char c) {
        Node n;
        n.kind = NK::Char;
        n.a = c;
        n.flag = (mods_ & modI) != 0;
        return Add(std::move(n));
    }
    int AddSet(const CharTable& t) {
        prog_.sets.push_back(t);
        Node n;
        n.kind = NK::Set;
        n.a = static_cast<int>(prog_.sets.size()) - 1;
        return Add(std::move(n));
    }
    int AddSimple(NK k, bool flag = false) {
        Node n;
        n.kind = k;
        n.flag = flag;
        return Add(std::move(n));
    }

    int ParseReg(bool inGroup) {
        std::vector<int> branches;
        branches.push_back(ParseBranch());
        while (!AtEnd() && At(pos_) == '|') {
            ++pos_;
            branches.push_back(ParseBranch());
        }
        if (inGroup) {
            if (AtEnd()) Fail(TRegEngine::reUnmatchedOpen);
            if (At(pos_) == 0) Fail(TRegEngine::reJunkOnEnd);
            if (At(pos_) != ')') Fail(TRegEngine::reInternalUrp);
            ++pos_;
        } else if (!AtEnd()) {
            Fail(At(pos_) == ')' ? TRegEngine::reUnmatchedClose : TRegEngine::reJunkOnEnd);
        }
        if (branches.size() == 1) return branches[0];
        Node n;
        n.kind = NK::Alt;
        n.kids = std::move(branches);
        return Add(std::move(n));
    }

    int ParseBranch() {
        Node n;
        n.kind = NK::Concat;
        // A NUL byte ends the expression as it ends an input; text after it is junk.
        while (!AtEnd() && At(pos_) != '|' && At(pos_) != ')' && At(pos_) != 0) {
            int piece = ParsePiece();
            if (piece >= 0) n.kids.push_back(piece);
        }
        if (n.kids.size() == 1) return n.kids[0];
        return Add(std::move(n));
    }

    bool IsQuantifierStart() {
        if (AtEnd()) return false;
        unsigned char c = At(pos_);
        if (c == '*' || c == '+' || c == '?') return true;
        if (c == '{') {
            size_t end;
            return BraceQuantifierEnd(pos_, end);
        }
        return false;
    }

    // "{" digits "}" or "{" digits "," digits* "}" is a quantifier; anything else
    // leaves "{" an ordinary character.
    bool BraceQuantifierEnd(size_t p, size_t& end) const {
        if (p >= Size() || At(p) != '{') return false;
        size_t q = p + 1;
        size_t d = q;
        while (q < Size() && At(q) >= '0' && At(q) <= '9') ++q;
        if (q == d || q >= Size()) return false;
        if (At(q) == '}') {
            end = q + 1;
            return true;
        }
        if (At(q) != ',') return false;
        ++q;
        while (q < Size() && At(q) >= '0' && At(q) <= '9') ++q;
        if (q < Size() && At(q) == '}') {
            end = q + 1;
            return true;
        }
        return false;
    }

    int ReadNumber() {
        size_t start = pos_;
        long long v = 0;
        while (pos_ < Size() && At(pos_) >= '0' && At(pos_) <= '9') {
            v = v * 10 + (At(pos_) - '0');
            ++pos_;
            if (pos_ - start > static_cast<size_t>(kMaxRepeatDigits) || v >= 2147483647LL)
                Fail(TRegEngine::reBracesTooBig);
        }
        return static_cast<int>(v);
    }

    int ParsePiece() {
        if (IsQuantifierStart()) {
            ++pos_;
            Fail(TRegEngine::reQuantifierFollowsNothing);
        }
        int atom = ParseAtom();
        if (atom < 0) return -1;
        if (!IsQuantifierStart()) return atom;

        int mn = 0, mx = -1;
        unsigned char q = At(pos_);
        bool starOrPlus = false;
        if (q == '*') {
            ++pos_;
            starOrPlus = true;
        } else if (q == '+') {
            ++pos_;
            mn = 1;
            starOrPlus = true;
        } else if (q == '?') {
            ++pos_;
            mx = 1;
        } else {
            ++pos_;  // "{"
            mn = ReadNumber();
            if (At(pos_) == '}') {
                ++pos_;
                mx = mn;
            } else {
                ++pos_;  // ","
                if (At(pos_) == '}') {
                    mx = -1;
                } else {
                    mx = ReadNumber();
                    if (mx < mn) Fail(TRegEngine::reBracesMinGreaterMax);
                }
                ++pos_;  // "}"
            }
        }
        bool greedy = (mods_ & modG) != 0;
        SkipExtended();
        if (pos_ < Size() && At(pos_) == '?') {
            ++pos_;
            greedy = false;
        }
        // * and + on an operand that can match empty are refused; braces are taken,
        // and the code generator guards their loop against empty iterations.
        if (starOrPlus && CanBeEmpty(atom)) Fail(TRegEngine::reOperandCouldBeEmpty);
        if (IsQuantifierStart()) {
            ++pos_;
            Fail(TRegEngine::reNestedQuantifier);
        }
        Node n;
        n.kind = NK::Repeat;
        n.a = mn;
        n.b = mx;
        n.flag = greedy;
        n.emptyBody = CanBeEmpty(atom);
        n.kids.push_back(atom);
        return Add(std::move(n));
    }

    int ParseAtom() {
        unsigned char c = At(pos_++);
        switch (c) {
            case '^': return AddSimple(NK::Bol, (mods_ & modM) != 0);
            case '$': return AddSimple(NK::Eol, (mods_ & modM) != 0);
            case '.': return AddSimple(NK::Any, (mods_ & modS) != 0);
            case '[': return ParseClass();
            case '\\': return ParseEscape();
            case '(': {
                if (pos_ < Size() && At(pos_) == '?') {
                    ++pos_;
                    if (pos_ < Size() && At(pos_) == '#') {
                        while (pos_ < Size() && At(pos_) != ')') ++pos_;
                        if (pos_ >= Size()) Fail(TRegEngine::reUnclosedComment);
                        ++pos_;
                        return -1;
                    }
                    ParseModifiers();
                    return -1;
                }
                if (groups_ >= TRegEngine::kMaxGroup) Fail(TRegEngine::reTooManyGroups);
                int index = ++groups_;
                int saved = mods_;
                int inner = ParseReg(true);
                mods_ = saved;
                Node n;
                n.kind = NK::Group;
                n.a = index;
                n.kids.push_back(inner);
                int id = Add(std::move(n));
                groupNode[index] = id;
                return id;
            }
            case ')':
            case '|':
                Fail(TRegEngine::reAtomDisaster);
            default:
                return AddChar(c);
        }
    }

    // (?imsgrx-imsgrx): the letters before "-" switch on, those after it off.
    void ParseModifiers() {
        bool on = true;
        int mods = mods_;
        for (;;) {
            if (pos_ >= Size()) Fail(TRegEngine::reUnmatchedOpen);
            unsigned char c = At(pos_++);
            if (c == ')') break;
            if (c == '-') {
                on = false;
                continue;
            }
            int bit = 0;
            switch (c | 0x20) {
                case 'i': bit = modI; break;
                case 'r': bit = modR; break;
                case 's': bit = modS; break;
                case 'g': bit = modG; break;
                case 'm': bit = modM; break;
                case 'x': bit = modX; break;
                default: Fail(TRegEngine::reUnknownModifier);
            }
            mods = on ? (mods | bit) : (mods & ~bit);
        }
        mods_ = mods;
    }

    unsigned char ParseHex() {
        if (pos_ >= Size()) Fail(TRegEngine::reNoHexCode);
        int v = 0;
        if (At(pos_) == '{') {
            ++pos_;
            int digits = 0;
            for (;;) {
                if (pos_ >= Size()) Fail(TRegEngine::reNoHexCode);
                unsigned char c = At(pos_);
                if (c == '}') {
                    ++pos_;
                    break;
                }
                int h = HexValue(c);
                ++pos_;
                if (h < 0) Fail(TRegEngine::reBadHexDigit);
                v = v * 16 + h;
                if (v > 0xFF) Fail(TRegEngine::reHexCodeTooBig);
                ++digits;
            }
            if (digits == 0) Fail(TRegEngine::reNoHexCode);
        } else {
            for (int k = 0; k < 2; ++k) {
                if (pos_ >= Size()) Fail(TRegEngine::reNoHexCode);
                int h = HexValue(At(pos_));
                ++pos_;
                if (h < 0) Fail(TRegEngine::reBadHexDigit);
                v = v * 16 + h;
            }
        }
        return static_cast<unsigned char>(v);
    }

    static int SimpleEscape(unsigned char c) {
        switch (c) {
            case 't': return 9;
            case 'n': return 10;
            case 'r': return 13;
            case 'f': return 12;
            case 'a': return 7;
            case 'e': return 27;
            default: return -1;
        }
    }

    // The set of \d \w \s (or their complements) for the escape letter, or false.
    bool ClassEscape(unsigned char c, CharTable& t) const {
        switch (c) {
            case 'd': case 'D':
                for (int k = 0; k < 256; ++k) t[k] = k >= '0' && k <= '9';
                break;
            case 'w': case 'W': t = word_; break;
            case 's': case 'S': t = blank_; break;
            default: return false;
        }
        if (c == 'D' || c == 'W' || c == 'S')
            for (auto& b : t) b = !b;
        return true;
    }

    int ParseEscape() {
        if (pos_ >= Size()) Fail(TRegEngine::reTrailingBackslash);
        unsigned char c = At(pos_++);
        CharTable t{};
        if (ClassEscape(c, t)) return AddSet(t);
        switch (c) {
            case 'b': return AddSimple(NK::WordB);
            case 'B': return AddSimple(NK::NWordB);
            case 'A': return AddSimple(NK::Bot);
            case 'Z': return AddSimple(NK::Eot);
            case 'x': return AddChar(ParseHex());
            default: break;
        }
        if (c >= '1' && c <= '9') {
            Node n;
            n.kind = NK::Backref;
            n.a = c - '0';
            n.flag = (mods_ & modI) != 0;
            prog_.hasBackrefs = true;
            return Add(std::move(n));
        }
        int s = SimpleEscape(c);
        return AddChar(static_cast<unsigned char>(s >= 0 ? s : c));
    }

    // One member of a bracket set: a single character (returns true) or a class
    // escape added to t (returns false).
    bool ClassItem(unsigned char& ch, CharTable& t) {
        unsigned char c = At(pos_++);
        if (c != '\\') {
            ch = c;
            return true;
        }
        if (pos_ >= Size()) Fail(TRegEngine::reClassTrailingBackslash);
        c = At(pos_++);
        CharTable cls{};
        if (ClassEscape(c, cls)) {
            for (int k = 0; k < 256; ++k) t[k] = t[k] || cls[k];
            return false;
        }
        if (c == 'x') {
            ch = ParseHex();
            return true;
        }
        int s = SimpleEscape(c);
        ch = static_cast<unsigned char>(s >= 0 ? s : c);
        return true;
    }

    void AddRange(CharTable& t, int lo, int hi) {
        if (mods_ & modR) {
            // The Russian alphabet is not contiguous in the code page: ё and Ё lie apart.
            bool lower = lo == 0xE0 && hi == 0xFF;
            bool upper = lo == 0xC0 && hi == 0xDF;
            bool both = lo == 0xE0 && hi == 0xDF;
            if (lower || both) {
                for (int k = 0xE0; k <= 0xFF; ++k) t[k] = true;
                t[0xB8] = true;
            }
            if (upper || both) {
                for (int k = 0xC0; k <= 0xDF; ++k) t[k] = true;
                t[0xA8] = true;
            }
            if (lower || upper || both) return;
        }
        if (hi < lo) Fail(TRegEngine::reInvalidRange);
        for (int k = lo; k <= hi; ++k) t[k] = true;
    }

    int ParseClass() {
        CharTable t{};
        bool negate = false;
        if (pos_ < Size() && At(pos_) == '^') {
            negate = true;
            ++pos_;
        }
        bool first = true;
        for (;;) {
            if (pos_ >= Size()) Fail(TRegEngine::reUnmatchedBracket);
            if (At(pos_) == ']' && !first) {
                ++pos_;
                break;
            }
            first = false;
            unsigned char lo;
            if (!ClassItem(lo, t)) continue;
            if (pos_ + 1 < Size() && At(pos_) == '-' && At(pos_ + 1) != ']') {
                ++pos_;
                unsigned char hi;
                CharTable cls{};
                if (ClassItem(hi, cls)) {
                    AddRange(t, lo, hi);
                } else {
                    t[lo] = true;
                    t['-'] = true;
                    for (int k = 0; k < 256; ++k) t[k] = t[k] || cls[k];
                }
                continue;
            }
            t[lo] = true;
        }
        if (mods_ & modI) {
            const Fold& f = Folds();
            CharTable folded = t;
            for (int k = 0; k < 256; ++k)
                if (t[k]) folded[f.lower[k]] = folded[f.upper[k]] = true;
            t = folded;
        }
        if (negate)
            for (auto& b : t) b = !b;
        return AddSet(t);
    }

    const std::string& e_;
    size_t pos_ = 0;
    int mods_;
    int groups_ = 0;
    TRegEngine::Program& prog_;
    const CharTable& blank_;
    const CharTable& word_;
};

}  // namespace

SyntaxTree ParseExpression(const std::string& e, int mods, TRegEngine::Program& prog, const CharTable& blank,
                           const CharTable& word) {
    Parser parser(e, mods, prog, blank, word);
    SyntaxTree tree;
    tree.root = parser.ParseAll();
    tree.nodes = std::move(parser.nodes);
    return tree;
}

}  // namespace pelm::regengine
