#include "core/search/TRegEngine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/platform/Cp1251.h"

namespace pelm {

namespace {

// Modifier bits.
constexpr int modI = 1, modR = 2, modS = 4, modG = 8, modM = 16, modX = 32;
constexpr int kModBits[7] = {0, modI, modR, modS, modG, modM, modX};

constexpr int kMaxLoopDepth = 10;
constexpr int kMaxRepeatDigits = 8;
// A counted repetition of a group is written out copy by copy while the copies stay
// small; beyond that it runs on a counter, which the failure memory cannot cover.
constexpr size_t kMaxExpansion = 4000;
constexpr size_t kMaxProgram = 100000;
// Failure memory larger than this (bits) is not allocated; the step budget applies.
constexpr size_t kMaxMemoBits = size_t(256) << 20;
// The backtracking stack may not outgrow this many frames (20 bytes each).
constexpr size_t kMaxFrames = size_t(1) << 22;
constexpr long long kBaseBudget = 20000000;
constexpr long long kBudgetPerByte = 200;
constexpr long long kBudgetPerByteMemo = 2000;

using CharTable = std::array<bool, 256>;

struct Fold {
    unsigned char lower[256];
    unsigned char upper[256];
    Fold() {
        for (int c = 0; c < 256; ++c) {
            lower[c] = cp1251::ToLower(static_cast<unsigned char>(c));
            upper[c] = cp1251::ToUpper(static_cast<unsigned char>(c));
        }
    }
};
const Fold& Folds() {
    static const Fold f;
    return f;
}

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct CompileError {
    int code;
    int offset;
};

// ---------------------------------------------------------------- syntax tree

enum class NK : uint8_t { Empty, Char, Set, Any, Bol, Eol, Bot, Eot, WordB, NWordB, Group, Concat, Alt, Repeat, Backref };

struct Node {
    NK kind = NK::Empty;
    bool flag = false;  // Char/Backref: ignore case; Any: dot-all; Bol/Eol: multi-line; Repeat: greedy
    int a = 0;          // Char: byte; Set: set index; Group/Backref: number; Repeat: min
    int b = 0;          // Repeat: max (-1 = unbounded)
    std::vector<int> kids;
};

}  // namespace

// ---------------------------------------------------------------- program

enum Op : uint8_t {
    opChar, opChar2, opSet, opAny, opAnyNL, opStr,
    opBol, opBolM, opEol, opEolM, opWordB, opNWordB,
    opSave, opSplit, opJmp, opRep, opBackref, opCntInit, opCntLoop, opDepthFail, opMatch
};

struct Inst {
    Op op = opMatch;
    uint8_t atom = 0;  // opRep: the repeated single-character op
    uint8_t c1 = 0, c2 = 0;
    bool greedy = false;  // opRep/opCntLoop; opBackref: ignore case
    int32_t x = 0;        // opSplit: preferred target; opJmp: target; opStr: offset; opSave: slot;
                          // opSet/opRep: set index; opBackref: group; opCnt*: counter
    int32_t y = 0;        // opSplit: other target; opStr: length; opCntLoop: exit
    int32_t min = 0, max = 0;
    int32_t join = -1;    // index of this state in the failure memory
    bool pure = true;     // the outcome from here depends on the position alone
};

struct TRegEngine::Program {
    std::vector<Inst> code;
    std::vector<CharTable> sets;
    std::string strings;
    int groupCount = 0;
    int counters = 0;
    int joins = 0;
    bool hasBackrefs = false;
    bool allPure = true;  // every state can be remembered
    bool anchored = false;
    bool useFirst = false;
    int firstSingle = -1;
    CharTable first{};
    std::string required;
    long long minLength = 0;  // no match is shorter
    CharTable lineBreak{};
    CharTable word{};
    int pairHead = -1, pairTail = -1;
};

namespace {

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
                return g < 0 || CanBeEmpty(g);
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
        if ((starOrPlus || mx < 0) && CanBeEmpty(atom)) Fail(TRegEngine::reOperandCouldBeEmpty);
        if (IsQuantifierStart()) {
            ++pos_;
            Fail(TRegEngine::reNestedQuantifier);
        }
        Node n;
        n.kind = NK::Repeat;
        n.a = mn;
        n.b = mx;
        n.flag = greedy;
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

// ---------------------------------------------------------------- code generation

class Emitter {
public:
    Emitter(Parser& p, TRegEngine::Program& prog) : p_(p), prog_(prog) {}

    void EmitAll(int root) {
        Emit(root);
        Inst m;
        m.op = opMatch;
        prog_.code.push_back(m);
    }

private:
    int Here() const { return static_cast<int>(prog_.code.size()); }
    int Push(const Inst& in) {
        prog_.code.push_back(in);
        return Here() - 1;
    }

    // A single character, with i through the code page's case mapping.
    Inst CharInst(unsigned char c, bool icase) {
        Inst in;
        if (!icase) {
            in.op = opChar;
            in.c1 = c;
            return in;
        }
        const Fold& f = Folds();
        unsigned char v[3] = {c, f.lower[c], f.upper[c]};
        std::sort(v, v + 3);
        int n = static_cast<int>(std::unique(v, v + 3) - v);
        if (n == 1) {
            in.op = opChar;
            in.c1 = c;
        } else if (n == 2) {
            in.op = opChar2;
            in.c1 = v[0];
            in.c2 = v[1];
        } else {
            CharTable t{};
            for (int k = 0; k < 3; ++k) t[v[k]] = true;
            prog_.sets.push_back(t);
            in.op = opSet;
            in.x = static_cast<int>(prog_.sets.size()) - 1;
        }
        return in;
    }

    // The instruction of a single-character node, or false for anything longer.
    bool SingleInst(int n, Inst& in) {
        const Node& nd = p_.nodes[n];
        switch (nd.kind) {
            case NK::Char: in = CharInst(static_cast<unsigned char>(nd.a), nd.flag); return true;
            case NK::Set: in = Inst{}; in.op = opSet; in.x = nd.a; return true;
            case NK::Any: in = Inst{}; in.op = nd.flag ? opAny : opAnyNL; return true;
            default: return false;
        }
    }

    void Emit(int n) {
        const Node& nd = p_.nodes[n];
        Inst in;
        if (SingleInst(n, in)) {
            Push(in);
            return;
        }
        switch (nd.kind) {
            case NK::Empty: return;
            case NK::Bol: in.op = nd.flag ? opBolM : opBol; Push(in); return;
            case NK::Eol: in.op = nd.flag ? opEolM : opEol; Push(in); return;
            case NK::Bot: in.op = opBol; Push(in); return;
            case NK::Eot: in.op = opEol; Push(in); return;
            case NK::WordB: in.op = opWordB; Push(in); return;
            case NK::NWordB: in.op = opNWordB; Push(in); return;
            case NK::Backref:
                in.op = opBackref;
                in.x = nd.a;
                in.greedy = nd.flag;
                Push(in);
                return;
            case NK::Group: {
                int g = nd.a;
                int kid = nd.kids[0];
                in.op = opSave;
                in.x = 2 * g;
                Push(in);
                Emit(kid);
                in.x = 2 * g + 1;
                Push(in);
                return;
            }
            case NK::Concat: EmitConcat(nd.kids); return;
            case NK::Alt: EmitAlt(nd.kids); return;
            case NK::Repeat: EmitRepeat(n); return;
            default: return;
        }
    }

    void EmitConcat(const std::vector<int>& kids) {
        size_t k = 0;
        while (k < kids.size()) {
            // Runs of case-sensitive characters become one string compare.
            size_t r = k;
            while (r < kids.size() && p_.nodes[kids[r]].kind == NK::Char && !p_.nodes[kids[r]].flag) ++r;
            if (r - k >= 2) {
                Inst in;
                in.op = opStr;
                in.x = static_cast<int>(prog_.strings.size());
                in.y = static_cast<int>(r - k);
                for (size_t j = k; j < r; ++j) prog_.strings.push_back(static_cast<char>(p_.nodes[kids[j]].a));
                Push(in);
                k = r;
                continue;
            }
            Emit(kids[k]);
            ++k;
        }
    }

    void EmitAlt(const std::vector<int>& kids) {
        std::vector<int> jumps;
        for (size_t k = 0; k < kids.size(); ++k) {
            if (k + 1 < kids.size()) {
                Inst s;
                s.op = opSplit;
                int at = Push(s);
                prog_.code[at].x = at + 1;
                Emit(kids[k]);
                Inst j;
                j.op = opJmp;
                jumps.push_back(Push(j));
                prog_.code[at].y = Here();
            } else {
                Emit(kids[k]);
            }
        }
        for (int j : jumps) prog_.code[j].x = Here();
    }

    // Split preferring `first` when greedy, `second` otherwise.
    void SetSplit(int at, bool greedy, int body, int out) {
        prog_.code[at].x = greedy ? body : out;
        prog_.code[at].y = greedy ? out : body;
    }

    void EmitStar(int body, bool greedy) {
        Inst s;
        s.op = opSplit;
        int head = Push(s);
        Emit(body);
        Inst j;
        j.op = opJmp;
        j.x = head;
        Push(j);
        SetSplit(head, greedy, head + 1, Here());
    }

    void EmitRepeat(int n) {
        const Node nd = p_.nodes[n];
        int body = nd.kids[0];
        int mn = nd.a, mx = nd.b;
        bool greedy = nd.flag;
        Inst single;
        if (SingleInst(body, single)) {
            Inst in;
            in.op = opRep;
            in.atom = single.op;
            in.c1 = single.c1;
            in.c2 = single.c2;
            in.x = single.x;
            in.min = mn;
            in.max = mx;
            in.greedy = greedy;
            Push(in);
            return;
        }
        // A repetition of a group or an alternation: a loop of the matcher.
        ++depth_;
        if (depth_ > kMaxLoopDepth) {
            Inst f;
            f.op = opDepthFail;
            Push(f);
        }
        bool written = false;
        if (Expands(n) && prog_.code.size() + ExpandedSize(n) <= kMaxProgram) {
            EmitExpanded(body, mn, mx, greedy);
            written = true;
        }
        if (!written) EmitCounted(body, mn, mx, greedy);
        --depth_;
    }

    // Instructions the node emits at most, without emitting it.
    long long SizeOf(int n) {
        if (sizes_.size() < p_.nodes.size()) sizes_.resize(p_.nodes.size(), -1);
        long long& memo = sizes_[static_cast<size_t>(n)];
        if (memo >= 0) return memo;
        const Node& nd = p_.nodes[n];
        long long size = 1;
        switch (nd.kind) {
            case NK::Empty: size = 0; break;
            case NK::Group: size = 2 + SizeOf(nd.kids[0]); break;
            case NK::Concat:
            case NK::Alt:
                size = 2 * static_cast<long long>(nd.kids.size());
                for (int k : nd.kids) size += SizeOf(k);
                break;
            case NK::Repeat: {
                Inst single;
                if (SingleInst(nd.kids[0], single)) break;
                size = 1 + (Expands(n) ? ExpandedSize(n) : 3 + SizeOf(nd.kids[0]));
                break;
            }
            default: break;
        }
        memo = std::min(size, 1LL << 40);
        return memo;
    }
    long long Copies(const Node& nd) const { return nd.b < 0 ? std::max(nd.a, 1) : nd.b; }
    size_t ExpandedSize(int n) {
        const Node& nd = p_.nodes[n];
        long long copies = Copies(nd);
        return static_cast<size_t>(copies * (SizeOf(nd.kids[0]) + 1) + 2);
    }
    // A repetition of a group is written out copy by copy while that stays small.
    bool Expands(int n) {
        const Node& nd = p_.nodes[n];
        long long copies = Copies(nd);
        if (copies > static_cast<long long>(kMaxExpansion)) return false;
        return ExpandedSize(n) <= kMaxExpansion * 4;
    }

    void EmitExpanded(int body, int mn, int mx, bool greedy) {
        if (mx < 0) {
            if (mn == 0) {
                EmitStar(body, greedy);
                return;
            }
            for (int k = 0; k < mn - 1; ++k) Emit(body);
            int head = Here();
            Emit(body);
            Inst s;
            s.op = opSplit;
            int at = Push(s);
            SetSplit(at, greedy, head, Here());
            return;
        }
        for (int k = 0; k < mn; ++k) Emit(body);
        std::vector<int> splits;
        for (int k = mn; k < mx; ++k) {
            Inst s;
            s.op = opSplit;
            splits.push_back(Push(s));
            Emit(body);
        }
        int end = Here();
        for (int at : splits) SetSplit(at, greedy, at + 1, end);
    }

    void EmitCounted(int body, int mn, int mx, bool greedy) {
        int id = prog_.counters++;
        Inst init;
        init.op = opCntInit;
        init.x = id;
        Push(init);
        Inst loop;
        loop.op = opCntLoop;
        loop.x = id;
        loop.min = mn;
        loop.max = mx;
        loop.greedy = greedy;
        int head = Push(loop);
        Emit(body);
        Inst j;
        j.op = opJmp;
        j.x = head;
        Push(j);
        prog_.code[head].y = Here();
    }

    Parser& p_;
    TRegEngine::Program& prog_;
    int depth_ = 0;
    std::vector<long long> sizes_;
};

// ---------------------------------------------------------------- analysis

// Adds the bytes a match of node n can begin with; returns whether n can match empty.
bool FirstBytes(const Parser& p, const TRegEngine::Program& prog, int n, CharTable& t) {
    const Node& nd = p.nodes[n];
    switch (nd.kind) {
        case NK::Char: {
            const Fold& f = Folds();
            unsigned char c = static_cast<unsigned char>(nd.a);
            t[c] = true;
            if (nd.flag) t[f.lower[c]] = t[f.upper[c]] = true;
            return false;
        }
        case NK::Set:
            for (int k = 0; k < 256; ++k) t[k] = t[k] || prog.sets[nd.a][k];
            return false;
        case NK::Any:
            for (int k = 0; k < 256; ++k) t[k] = true;
            return false;
        case NK::Backref:
            for (int k = 0; k < 256; ++k) t[k] = true;
            return true;
        case NK::Group: return FirstBytes(p, prog, nd.kids[0], t);
        case NK::Concat:
            for (int k : nd.kids)
                if (!FirstBytes(p, prog, k, t)) return false;
            return true;
        case NK::Alt: {
            bool empty = false;
            for (int k : nd.kids) empty = FirstBytes(p, prog, k, t) || empty;
            return empty;
        }
        case NK::Repeat: {
            bool empty = FirstBytes(p, prog, nd.kids[0], t);
            return empty || nd.a == 0;
        }
        default: return true;
    }
}

// The case-sensitive characters that every match passes through in sequence.
void MandatoryRuns(const Parser& p, int n, std::string& run, std::string& best) {
    const Node& nd = p.nodes[n];
    auto flush = [&] {
        if (run.size() > best.size()) best = run;
        run.clear();
    };
    switch (nd.kind) {
        case NK::Char:
            if (nd.flag) {
                flush();
            } else {
                run.push_back(static_cast<char>(nd.a));
            }
            return;
        case NK::Group: MandatoryRuns(p, nd.kids[0], run, best); return;
        case NK::Concat:
            for (int k : nd.kids) MandatoryRuns(p, k, run, best);
            return;
        case NK::Bol: case NK::Eol: case NK::Bot: case NK::Eot: case NK::WordB: case NK::NWordB:
            return;  // zero width: the run goes on
        default: flush(); return;
    }
}

// The fewest bytes any match of node n spans (saturating).
long long MinLength(const Parser& p, int n) {
    constexpr long long kCap = 1LL << 40;
    const Node& nd = p.nodes[n];
    switch (nd.kind) {
        case NK::Char: case NK::Set: case NK::Any: return 1;
        case NK::Group: return MinLength(p, nd.kids[0]);
        case NK::Concat: {
            long long sum = 0;
            for (int k : nd.kids) sum = std::min(kCap, sum + MinLength(p, k));
            return sum;
        }
        case NK::Alt: {
            long long best = kCap;
            for (int k : nd.kids) best = std::min(best, MinLength(p, k));
            return best;
        }
        case NK::Repeat: return std::min(kCap, static_cast<long long>(nd.a) * MinLength(p, nd.kids[0]));
        default: return 0;
    }
}

bool BeginsAnchored(const Parser& p, int n) {
    const Node& nd = p.nodes[n];
    switch (nd.kind) {
        case NK::Bol: return !nd.flag;
        case NK::Bot: return true;
        case NK::Group: return BeginsAnchored(p, nd.kids[0]);
        case NK::Concat: return !nd.kids.empty() && BeginsAnchored(p, nd.kids[0]);
        default: return false;
    }
}

// Numbers the join points of the program, the states worth remembering when they
// fail: instructions reached by more than one edge, and the continuations of
// single-character repeats. A state is only remembered when no back reference
// and no counted loop can follow it, since only then does its outcome depend on
// the position alone.
void FindJoins(TRegEngine::Program& prog) {
    const size_t n = prog.code.size();
    std::vector<int> in(n + 1, 0);
    std::vector<bool> repNext(n + 1, false);
    std::vector<std::vector<int>> preds(n + 1);
    auto edge = [&](size_t from, size_t to) {
        ++in[to];
        preds[to].push_back(static_cast<int>(from));
    };
    in[0] = 1;
    for (size_t i = 0; i < n; ++i) {
        const Inst& c = prog.code[i];
        switch (c.op) {
            case opMatch: case opDepthFail: break;
            case opJmp: edge(i, static_cast<size_t>(c.x)); break;
            case opSplit: edge(i, static_cast<size_t>(c.x)); edge(i, static_cast<size_t>(c.y)); break;
            case opCntLoop: edge(i, i + 1); edge(i, static_cast<size_t>(c.y)); break;
            case opRep: edge(i, i + 1); repNext[i + 1] = true; break;
            default: edge(i, i + 1); break;
        }
    }
    // Every instruction from which a back reference or a counter can be reached.
    std::vector<int> work;
    for (size_t i = 0; i < n; ++i) {
        Op op = prog.code[i].op;
        if (op == opBackref || op == opCntInit || op == opCntLoop) {
            prog.code[i].pure = false;
            work.push_back(static_cast<int>(i));
        }
    }
    while (!work.empty()) {
        int i = work.back();
        work.pop_back();
        for (int pr : preds[static_cast<size_t>(i)]) {
            if (prog.code[static_cast<size_t>(pr)].pure) {
                prog.code[static_cast<size_t>(pr)].pure = false;
                work.push_back(pr);
            }
        }
    }
    int joins = 0;
    prog.allPure = true;
    for (size_t i = 0; i < n; ++i) {
        if (!prog.code[i].pure) prog.allPure = false;
        if ((in[i] >= 2 || repNext[i]) && prog.code[i].pure) prog.code[i].join = joins++;
    }
    prog.joins = joins;
}

}  // namespace

// ---------------------------------------------------------------- matcher

enum FrameKind : int32_t { frResume, frSave, frMark, frRepGreedy, frRepLazy, frCount, frCountResume };

struct Frame {
    int32_t kind, pc, pos, a, b;
};

struct TRegEngine::Matcher {
    const Program* prog = nullptr;
    const unsigned char* s = nullptr;
    int len = 0;
    std::vector<Frame> stack;
    std::vector<int> caps;
    std::vector<int> counters;
    std::vector<uint64_t> memo;
    size_t rowWords = 0;
    bool memoOn = false;
    bool memoReady = false;
    long long budget = 0;
    int requiredAt = -2;  // position of the required literal found last, -1 none, -2 unknown
    // Per single-character repeat (by instruction): the last run of its atom
    // [runStart, runEnd], and, with the failure memory on, the positions
    // [failLo, failHi] where its continuation is known to fail.
    struct RepState {
        unsigned generation = 0;  // the input these values belong to
        int runStart = -1, runEnd = -1;
        int failLo = 1, failHi = 0;
    };
    std::vector<RepState> reps;
    unsigned generation = 0;

    RepState& Rep(int pc) {
        RepState& rs = reps[static_cast<size_t>(pc)];
        if (rs.generation != generation) {
            rs = RepState{};
            rs.generation = generation;
        }
        return rs;
    }

    void NewInput(const Program& p, const unsigned char* text, int n) {
        prog = &p;
        s = text;
        len = n;
        memoReady = false;
        requiredAt = -2;
        caps.assign(2 * (kMaxGroup + 1), -1);
        counters.assign(static_cast<size_t>(p.counters), 0);
        // Repeat states are stamped with the input's generation instead of being
        // cleared for every line.
        if (reps.size() != p.code.size() || ++generation == 0) {
            reps.assign(p.code.size(), RepState{});
            generation = 1;
        }
        size_t bits = static_cast<size_t>(p.joins) * (static_cast<size_t>(n) + 1);
        memoOn = p.joins > 0 && bits <= kMaxMemoBits;
    }

    void PrepareMemo() {
        if (memoReady) return;
        memoReady = true;
        if (!memoOn) return;
        rowWords = (static_cast<size_t>(len) + 1 + 63) / 64;
        memo.assign(rowWords * static_cast<size_t>(prog->joins), 0);
    }

    bool AtomOk(const Inst& in, int pos) const {
        unsigned char c = s[pos];
        switch (in.atom) {
            case opChar: return c == in.c1;
            case opChar2: return c == in.c1 || c == in.c2;
            case opSet: return prog->sets[in.x][c];
            case opAny: return true;
            case opAnyNL: return AnyNL(pos);
            default: return false;
        }
    }
    bool AnyNL(int pos) const {
        unsigned char c = s[pos];
        if (prog->lineBreak[c]) return false;
        return !(c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail);
    }
    bool IsWord(int pos) const { return pos >= 0 && pos < len && prog->word[s[pos]]; }
    // A line separator is a member of the line-break set or the two-character pair,
    // which counts as one: no line starts or ends between its head and its tail.
    bool LineStart(int pos) const {
        if (pos == 0) return true;
        int p = s[pos - 1];
        if (p == prog->pairTail && pos >= 2 && s[pos - 2] == prog->pairHead) return true;
        if (p == prog->pairHead && pos < len && s[pos] == prog->pairTail) return false;
        return prog->lineBreak[static_cast<size_t>(p)];
    }
    bool LineEnd(int pos) const {
        if (pos == len) return true;
        int c = s[pos];
        if (c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail) return true;
        if (c == prog->pairTail && pos > 0 && s[pos - 1] == prog->pairHead) return false;
        return prog->lineBreak[static_cast<size_t>(c)];
    }

    // Count of single-character atoms matching from pos, at most lim.
    int CountAtoms(const Inst& in, int pos, int lim) const {
        int n = 0;
        const unsigned char* p = s + pos;
        switch (in.atom) {
            case opChar: while (n < lim && p[n] == in.c1) ++n; break;
            case opChar2: while (n < lim && (p[n] == in.c1 || p[n] == in.c2)) ++n; break;
            case opSet: {
                const CharTable& t = prog->sets[in.x];
                while (n < lim && t[p[n]]) ++n;
                break;
            }
            case opAny: n = lim; break;
            case opAnyNL: while (n < lim && AnyNL(pos + n)) ++n; break;
            default: break;
        }
        return n;
    }

    // Number of atoms of a single-character repeat matching from pos, at most lim.
    // For an unbounded repeat the run is remembered, so entering it again inside
    // the run, or just before it, costs nothing or only the bytes before it.
    int RunLength(int pc, const Inst& in, int pos, int lim) {
        if (in.max >= 0) {
            int n = CountAtoms(in, pos, lim);
            budget -= n;
            return n;
        }
        RepState& rs = Rep(pc);
        if (pos >= rs.runStart && pos <= rs.runEnd) return rs.runEnd - pos;
        int n;
        if (pos < rs.runStart) {
            int gap = rs.runStart - pos;
            n = CountAtoms(in, pos, gap);
            budget -= n;
            if (n == gap) {
                rs.runStart = pos;
                return rs.runEnd - pos;
            }
        } else {
            n = CountAtoms(in, pos, lim);
            budget -= n;
        }
        rs.runStart = pos;
        rs.runEnd = pos + n;
        return n;
    }

    // Continuation positions lo..hi of a repeat are known to fail.
    static void NoteFailed(RepState& rs, int lo, int hi) {
        if (hi >= rs.failLo - 1 && lo <= rs.failHi + 1) {
            rs.failLo = std::min(lo, rs.failLo);
            rs.failHi = std::max(hi, rs.failHi);
        } else {
            rs.failLo = lo;
            rs.failHi = hi;
        }
    }

    void Push(int32_t kind, int32_t pc, int32_t pos, int32_t a = 0, int32_t b = 0) {
        stack.push_back(Frame{kind, pc, pos, a, b});
    }

    [[noreturn]] void TooComplex(const TRegEngine& e);

    // Pops frames until one resumes matching; false when none is left.
    bool Backtrack(int& pc, int& pos) {
        const Inst* code = prog->code.data();
        while (!stack.empty()) {
            Frame f = stack.back();
            stack.pop_back();
            switch (f.kind) {
                case frResume:
                    pc = f.pc;
                    pos = f.pos;
                    return true;
                case frSave: caps[static_cast<size_t>(f.a)] = f.b; break;
                case frMark:
                    memo[static_cast<size_t>(f.a) * rowWords + (static_cast<size_t>(f.pos) >> 6)] |=
                        uint64_t(1) << (f.pos & 63);
                    break;
                case frRepGreedy:
                case frRepLazy: {
                    // f.a: the count to try now; f.b: the length of the run.
                    const Inst& in = code[f.pc];
                    const Inst& next = code[f.pc + 1];
                    RepState& rs = Rep(f.pc);
                    const bool greedy = f.kind == frRepGreedy;
                    const int step = greedy ? -1 : 1;
                    int k = f.a;
                    for (;;) {
                        if (k < in.min || k > f.b) break;
                        int at = f.pos + k;
                        if (memoOn && in.pure && at >= rs.failLo && at <= rs.failHi) {
                            k = (greedy ? rs.failLo - 1 : rs.failHi + 1) - f.pos;
                            continue;
                        }
                        if (next.op == opChar && (at >= len || s[at] != next.c1)) {
                            k += step;
                            --budget;
                            continue;
                        }
                        break;
                    }
                    if (k < in.min || k > f.b) {
                        // Every continuation of this run failed; remember the span.
                        if (memoOn && in.pure) NoteFailed(rs, f.pos + in.min, f.pos + f.b);
                        break;
                    }
                    Push(f.kind, f.pc, f.pos, k + step, f.b);
                    pc = f.pc + 1;
                    pos = f.pos + k;
                    return true;
                }
                case frCount: counters[static_cast<size_t>(f.a)] = f.b; break;
                case frCountResume:
                    counters[static_cast<size_t>(f.a)] = f.b;
                    pc = f.pc;
                    pos = f.pos;
                    return true;
                default: break;
            }
        }
        return false;
    }

    bool Run(const TRegEngine& e, int start, int& end);
};

void TRegEngine::Matcher::TooComplex(const TRegEngine& e) {
    stack.clear();
    e.Raise(TRegEngine::reTooComplex);
}

bool TRegEngine::Matcher::Run(const TRegEngine& e, int start, int& end) {
    const Program& p = *prog;
    const Inst* code = p.code.data();
    stack.clear();
    for (int k = 2; k < 2 * (p.groupCount + 1); ++k) caps[static_cast<size_t>(k)] = -1;
    int pc = 0, pos = start;
    for (;;) {
        const Inst& in = code[pc];
        if (--budget < 0 || stack.size() > kMaxFrames) TooComplex(e);
        if (in.join >= 0 && memoOn) {
            size_t w = static_cast<size_t>(in.join) * rowWords + (static_cast<size_t>(pos) >> 6);
            uint64_t bit = uint64_t(1) << (pos & 63);
            if (memo[w] & bit) {
                if (!Backtrack(pc, pos)) return false;
                continue;
            }
            Push(frMark, pc, pos, in.join);
        }
        bool ok = true;
        switch (in.op) {
            case opChar:
                ok = pos < len && s[pos] == in.c1;
                ++pos;
                ++pc;
                break;
            case opChar2:
                ok = pos < len && (s[pos] == in.c1 || s[pos] == in.c2);
                ++pos;
                ++pc;
                break;
            case opSet:
                ok = pos < len && p.sets[static_cast<size_t>(in.x)][s[pos]];
                ++pos;
                ++pc;
                break;
            case opAny:
                ok = pos < len;
                ++pos;
                ++pc;
                break;
            case opAnyNL:
                ok = pos < len && AnyNL(pos);
                ++pos;
                ++pc;
                break;
            case opStr:
                ok = pos + in.y <= len && std::memcmp(s + pos, p.strings.data() + in.x, static_cast<size_t>(in.y)) == 0;
                pos += in.y;
                ++pc;
                break;
            case opBol: ok = pos == 0; ++pc; break;
            case opBolM: ok = LineStart(pos); ++pc; break;
            case opEol: ok = pos == len; ++pc; break;
            case opEolM: ok = LineEnd(pos); ++pc; break;
            case opWordB: ok = IsWord(pos - 1) != IsWord(pos); ++pc; break;
            case opNWordB: ok = IsWord(pos - 1) == IsWord(pos); ++pc; break;
            case opSave:
                Push(frSave, 0, 0, in.x, caps[static_cast<size_t>(in.x)]);
                caps[static_cast<size_t>(in.x)] = pos;
                ++pc;
                break;
            case opSplit:
                Push(frResume, in.y, pos);
                pc = in.x;
                break;
            case opJmp: pc = in.x; break;
            case opRep: {
                int room = len - pos;
                int lim = in.max >= 0 && in.max < room ? in.max : room;
                int n = RunLength(pc, in, pos, lim);
                if (n < in.min) {
                    ok = false;
                    break;
                }
                // The frame just pushed resumes with the first count to try.
                Push(in.greedy ? frRepGreedy : frRepLazy, pc, pos, in.greedy ? n : in.min, n);
                ok = false;
                break;
            }
            case opBackref: {
                int g = in.x;
                int bs = caps[static_cast<size_t>(2 * g)], be = caps[static_cast<size_t>(2 * g + 1)];
                if (g > p.groupCount || bs < 0 || be < 0) {
                    ok = false;
                    break;
                }
                int n = be - bs;
                if (pos + n > len) {
                    ok = false;
                    break;
                }
                if (in.greedy) {
                    const Fold& f = Folds();
                    for (int k = 0; k < n && ok; ++k) {
                        unsigned char a = s[bs + k], b = s[pos + k];
                        ok = a == b || f.lower[a] == f.lower[b] || f.upper[a] == f.upper[b];
                    }
                } else {
                    ok = std::memcmp(s + bs, s + pos, static_cast<size_t>(n)) == 0;
                }
                pos += n;
                ++pc;
                break;
            }
            case opCntInit:
                Push(frCount, 0, 0, in.x, counters[static_cast<size_t>(in.x)]);
                counters[static_cast<size_t>(in.x)] = 0;
                ++pc;
                break;
            case opCntLoop: {
                int c = counters[static_cast<size_t>(in.x)];
                if (c < in.min) {
                    Push(frCount, 0, 0, in.x, c);
                    counters[static_cast<size_t>(in.x)] = c + 1;
                    ++pc;
                } else if (in.max >= 0 && c >= in.max) {
                    pc = in.y;
                } else if (in.greedy) {
                    Push(frCountResume, in.y, pos, in.x, c);
                    counters[static_cast<size_t>(in.x)] = c + 1;
                    ++pc;
                } else {
                    Push(frCountResume, pc + 1, pos, in.x, c + 1);
                    pc = in.y;
                }
                break;
            }
            case opDepthFail:
                stack.clear();
                e.Raise(TRegEngine::reLoopStackExceeded);
            case opMatch:
                end = pos;
                stack.clear();
                return true;
            default:
                e.Raise(TRegEngine::reCorruptedProgram);
        }
        if (!ok && !Backtrack(pc, pos)) return false;
    }
}

// ---------------------------------------------------------------- engine

TRegEngine::TRegEngine() : modifiers_(modR | modS | modG), matcher_(std::make_unique<Matcher>()) {
    for (unsigned char c : {32, 9, 10, 13, 12}) blankSet_[c] = true;
    for (int c = 0; c < 256; ++c)
        wordSet_[c] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    lineBreakSet_['\r'] = lineBreakSet_['\n'] = true;
    lineBreakPair_ = "\r\n";
    groups_.fill(-1);
}

TRegEngine::~TRegEngine() = default;

std::string TRegEngine::ErrorMessage(int code) {
    switch (code) {
        case 0: return "No errors";
        case 100: return "TRegEngine(comp): Null Argument";
        case 102: return "TRegEngine(comp): ParseReg Too Many ()";
        case 103: case 104: return "TRegEngine(comp): ParseReg Unmatched ()";
        case 105: return "TRegEngine(comp): ParseReg Junk On End";
        case 106: return "TRegEngine(comp): *+ Operand Could Be Empty";
        case 107: return "TRegEngine(comp): Nested *?+";
        case 108: return "TRegEngine(comp): Bad Hex Digit";
        case 109: return "TRegEngine(comp): Invalid [] Range";
        case 110: return "TRegEngine(comp): Parse Atom Trailing \\";
        case 111: return "TRegEngine(comp): No Hex Code After \\x";
        case 112: return "TRegEngine(comp): Hex Code After \\x Is Too Big";
        case 113: return "TRegEngine(comp): Unmatched []";
        case 114: return "TRegEngine(comp): Internal Urp";
        case 115: return "TRegEngine(comp): ?+*{ Follows Nothing";
        case 116: return "TRegEngine(comp): Trailing \\";
        case 119: return "TRegEngine(comp): RarseAtom Internal Disaster";
        case 122: return "TRegEngine(comp): BRACES Argument Too Big";
        case 124: return "TRegEngine(comp): BRACE Min Param Greater then Max";
        case 125: return "TRegEngine(comp): Unclosed (?#Comment)";
        case 127: return "TRegEngine(comp): Urecognized Modifier";
        case 128: return "TRegEngine(comp): LinePairedSeparator must countain two different chars or no chars at all";
        case 1000: return "TRegEngine(exec): RegRepeat Called Inappropriately";
        case 1001: return "TRegEngine(exec): MatchPrim Memory Corruption";
        case 1002: return "TRegEngine(exec): MatchPrim Corrupted Pointers";
        case 1003: return "TRegEngine(exec): Not Assigned Expression Property";
        case 1004: return "TRegEngine(exec): Corrupted Program";
        case 1005: return "TRegEngine(exec): No Input String Specified";
        case 1006: return "TRegEngine(exec): Offset Must Be Greater Then 0";
        case 1007: return "TRegEngine(exec): ExecNext Without Exec[Pos]";
        case 1014: return "TRegEngine(exec): Loop Stack Exceeded";
        case 1015: return "TRegEngine(exec): Loop Without LoopEntry !";
        case reTooComplex: return "TRegEngine(exec): Expression Is Too Complex For This Line";
        default: return "Unknown error";
    }
}

void TRegEngine::Raise(int code, int offset) const {
    lastError_ = code;
    std::string msg = ErrorMessage(code);
    if (code < 1000) {
        msg += " (pos " + std::to_string(offset) + ")";
        throw ERegEngine(msg, code, offset);
    }
    throw ERegEngine(msg, code, 0);
}

void TRegEngine::SetExpressionText(std::string_view s) {
    if (hasExpression_ && program_ && s == expression_) return;
    expression_.assign(s.data(), s.size());
    hasExpression_ = true;
    program_.reset();
}

void TRegEngine::SetModifier(int index, bool on) {
    if (index < 1 || index > 6) Raise(reBadModifierIndex);
    int bit = kModBits[index];
    int mods = on ? (modifiers_ | bit) : (modifiers_ & ~bit);
    if (mods != modifiers_) {
        modifiers_ = mods;
        program_.reset();
    }
}

bool TRegEngine::GetModifier(int index) const {
    if (index < 1 || index > 6) Raise(reBadModifierIndex);
    return (modifiers_ & kModBits[index]) != 0;
}

namespace {
void FillTable(CharTable& t, std::string_view chars) {
    t.fill(false);
    for (char c : chars) t[static_cast<unsigned char>(c)] = true;
}
}  // namespace

void TRegEngine::SetBlankSet(std::string_view chars) {
    FillTable(blankSet_, chars);
    program_.reset();
}
void TRegEngine::SetWordSet(std::string_view chars) {
    FillTable(wordSet_, chars);
    program_.reset();
}
void TRegEngine::SetLineBreakSet(std::string_view chars) {
    FillTable(lineBreakSet_, chars);
    program_.reset();
}
void TRegEngine::SetLineBreakPair(std::string_view pair) {
    lineBreakPair_.assign(pair.data(), pair.size());
    program_.reset();
}

void TRegEngine::Compile() {
    if (!hasExpression_) Raise(reNotAssignedExpression);
    program_.reset();
    if (expression_.empty()) Raise(reNullArgument, 0);
    if (!(lineBreakPair_.empty() || (lineBreakPair_.size() == 2 && lineBreakPair_[0] != lineBreakPair_[1])))
        Raise(reBadLinePair, 0);
    auto prog = std::make_unique<Program>();
    try {
        Parser parser(expression_, modifiers_, *prog, blankSet_, wordSet_);
        int root = parser.ParseAll();
        Emitter emitter(parser, *prog);
        emitter.EmitAll(root);
        FindJoins(*prog);
        CharTable first{};
        if (!FirstBytes(parser, *prog, root, first)) {
            int count = 0, last = -1;
            for (int k = 0; k < 256; ++k)
                if (first[k]) {
                    ++count;
                    last = k;
                }
            if (count < 256) {
                prog->useFirst = true;
                prog->first = first;
                prog->firstSingle = count == 1 ? last : -1;
            }
        }
        std::string run, best;
        MandatoryRuns(parser, root, run, best);
        if (run.size() > best.size()) best = run;
        prog->required = best;
        prog->anchored = BeginsAnchored(parser, root);
        prog->minLength = MinLength(parser, root);
    } catch (const CompileError& ce) {
        Raise(ce.code, ce.offset);
    }
    prog->lineBreak = lineBreakSet_;
    prog->word = wordSet_;
    if (lineBreakPair_.size() == 2) {
        prog->pairHead = static_cast<unsigned char>(lineBreakPair_[0]);
        prog->pairTail = static_cast<unsigned char>(lineBreakPair_[1]);
    }
    program_ = std::move(prog);
    lastError_ = 0;
}

void TRegEngine::EnsureCompiled() {
    if (!program_) Compile();
}

int TRegEngine::GroupCount() const { return program_ ? program_->groupCount : 0; }

bool TRegEngine::RunOn(std::string_view text) {
    EnsureCompiled();
    size_t n = text.size();
    if (const void* nul = std::memchr(text.data(), 0, n))
        n = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    input_.assign(text.data(), n);
    hasInput_ = true;
    matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                       static_cast<int>(input_.size()));
    return SearchFrom(0);
}

bool TRegEngine::RunFrom(int offset) {
    if (offset < 1) Raise(reOffsetMustBePositive);
    if (!hasInput_) Raise(reNoInputString);
    if (!program_) {
        EnsureCompiled();
        matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                           static_cast<int>(input_.size()));
    }
    return SearchFrom(offset - 1);
}

bool TRegEngine::RunNext() {
    if (!lastSucceeded_) Raise(reNextWithoutRun);
    int from = groups_[1];
    if (groups_[1] == groups_[0]) ++from;
    if (!program_) {
        EnsureCompiled();
        matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                           static_cast<int>(input_.size()));
    }
    return SearchFrom(from);
}

bool TRegEngine::SearchFrom(int from) {
    const Program& p = *program_;
    Matcher& m = *matcher_;
    const int len = static_cast<int>(input_.size());
    const unsigned char* s = reinterpret_cast<const unsigned char*>(input_.data());
    lastSucceeded_ = false;
    groups_.fill(-1);
    if (from > len) return false;

    if (!p.required.empty()) {
        if (m.requiredAt == -1) return false;
        if (m.requiredAt < from) {
            const void* hit = memmem(s + from, static_cast<size_t>(len - from), p.required.data(), p.required.size());
            m.requiredAt = hit ? static_cast<int>(static_cast<const unsigned char*>(hit) - s) : -1;
            if (m.requiredAt < 0) return false;
        }
    }

    // Without the failure memory a search may take exponential time: it runs on a
    // step budget. With it the work is bounded by the line's length times the
    // program's size, which the larger budget still caps for very long lines.
    long long perByte = m.memoOn && p.allPure ? kBudgetPerByteMemo : kBudgetPerByte;
    m.budget = kBaseBudget + perByte * static_cast<long long>(len - from + 1);

    int end = 0;
    auto attempt = [&](int at) {
        m.PrepareMemo();
        if (!m.Run(*this, at, end)) return false;
        groups_[0] = at;
        groups_[1] = end;
        for (int g = 1; g <= p.groupCount; ++g) {
            int gs = m.caps[static_cast<size_t>(2 * g)], ge = m.caps[static_cast<size_t>(2 * g + 1)];
            if (gs >= 0 && ge >= 0) {
                groups_[static_cast<size_t>(2 * g)] = gs;
                groups_[static_cast<size_t>(2 * g + 1)] = ge;
            }
        }
        lastSucceeded_ = true;
        return true;
    };

    // Matches cannot start where fewer bytes than the shortest match remain.
    const long long lastStart = static_cast<long long>(len) - p.minLength;
    if (lastStart < from) return false;
    if (p.anchored) return attempt(from);
    for (int at = from; at <= lastStart; ++at) {
        if (p.useFirst) {
            if (p.firstSingle >= 0) {
                const void* hit = std::memchr(s + at, p.firstSingle, static_cast<size_t>(len - at));
                if (!hit) return false;
                at = static_cast<int>(static_cast<const unsigned char*>(hit) - s);
            } else {
                while (at < len && !p.first[s[at]]) ++at;
                if (at >= len) return false;
            }
            if (at > lastStart) return false;
        }
        if (attempt(at)) return true;
    }
    return false;
}

int TRegEngine::GroupStart(int n) const {
    if (n < 0 || n > kMaxGroup || !hasInput_) return -1;
    int s = groups_[static_cast<size_t>(2 * n)];
    return s < 0 ? -1 : s + 1;
}

int TRegEngine::GroupLength(int n) const {
    if (n < 0 || n > kMaxGroup || !hasInput_) return -1;
    int s = groups_[static_cast<size_t>(2 * n)], e = groups_[static_cast<size_t>(2 * n + 1)];
    return s < 0 ? -1 : e - s;
}

std::string TRegEngine::Group(int n) const {
    int s = GroupStart(n);
    if (s < 0) return {};
    return input_.substr(static_cast<size_t>(s - 1), static_cast<size_t>(GroupLength(n)));
}

std::string TRegEngine::FillTemplate(std::string_view t) const {
    if (!hasInput_) Raise(reNoInputString);
    int spans[2 * (kMaxGroup + 1)];
    for (int g = 0; g <= kMaxGroup; ++g) {
        spans[2 * g] = GroupStart(g);
        spans[2 * g + 1] = GroupLength(g);
    }
    return FillTemplateFrom(t, input_, spans, kMaxGroup + 1);
}

std::string TRegEngine::FillTemplateFrom(std::string_view t, std::string_view text, const int* spans, int count) {
    std::string out;
    out.reserve(t.size());
    size_t i = 0;
    auto group = [&](int n) {
        if (n < 0 || n >= count || spans[2 * n] < 1) return;
        out.append(text.substr(static_cast<size_t>(spans[2 * n] - 1), static_cast<size_t>(spans[2 * n + 1])));
    };
    while (i < t.size()) {
        char c = t[i];
        if (c == '\\' && i + 1 < t.size()) {
            out.push_back(t[i + 1]);
            i += 2;
            continue;
        }
        if (c == '$' && i + 1 < t.size()) {
            char d = t[i + 1];
            if (d == '&') {
                group(0);
                i += 2;
                continue;
            }
            if (d >= '0' && d <= '9') {
                size_t j = i + 1;
                long long n = 0;
                while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
                    if (n <= kMaxGroup) n = n * 10 + (t[j] - '0');
                    ++j;
                }
                group(n <= kMaxGroup ? static_cast<int>(n) : -1);
                i = j;
                continue;
            }
            if (d == '{') {
                size_t close = t.find('}', i + 2);
                if (close != std::string_view::npos && close > i + 2) {
                    std::string_view inner = t.substr(i + 2, close - i - 2);
                    if (inner == "&") {
                        group(0);
                        i = close + 1;
                        continue;
                    }
                    if (std::all_of(inner.begin(), inner.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
                        long long n = 0;
                        for (char ch : inner)
                            if (n <= kMaxGroup) n = n * 10 + (ch - '0');
                        group(n <= kMaxGroup ? static_cast<int>(n) : -1);
                        i = close + 1;
                        continue;
                    }
                }
            }
        }
        out.push_back(c);
        ++i;
    }
    return out;
}

std::string TRegEngine::ReplaceMatches(std::string_view text, std::string_view tmpl) {
    if (!RunOn(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t last = 0;
    do {
        size_t start = static_cast<size_t>(groups_[0]);
        out.append(input_, last, start - last);
        out += FillTemplate(tmpl);
        last = static_cast<size_t>(groups_[1]);
    } while (RunNext());
    out.append(input_, last, std::string::npos);
    return out;
}

}  // namespace pelm
