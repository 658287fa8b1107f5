// The code generator: writes the syntax tree out as the matcher's program and
// works out what the search may skip (first bytes, a required literal, anchoring,
// the shortest match) and which failed states the matcher may remember.
#include "core/search/TRegEngine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/search/TRegEngineImpl.h"
#include "core/search/TRegEngineParse.h"

namespace pelm {

using namespace regengine;

namespace {

constexpr int kMaxLoopDepth = 10;
// A counted repetition of a group is written out copy by copy while the copies stay
// small; beyond that it runs on a counter, which the failure memory cannot cover.
constexpr size_t kMaxExpansion = 4000;
constexpr size_t kMaxProgram = 100000;

// ---------------------------------------------------------------- code generation

class Emitter {
public:
    Emitter(const SyntaxTree& p, TRegEngine::Program& prog) : p_(p), prog_(prog) {}

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
        // An operand that can match empty runs on a counter with the empty-iteration
        // guard when its loop is open-ended, or when a back reference inside it
        // makes the copies differ, which the failure memory cannot prune:
        // (|\1){1,25} would otherwise try 2^25 ways of matching nothing.
        bool guarded = nd.emptyBody && (mx < 0 || HasBackref(body));
        bool written = false;
        if (!guarded && Expands(n) && prog_.code.size() + ExpandedSize(n) <= kMaxProgram) {
            EmitExpanded(body, mn, mx, greedy);
            written = true;
        }
        if (!written) EmitCounted(body, mn, mx, greedy, nd.emptyBody);
        --depth_;
    }

    bool HasBackref(int n) const {
        const Node& nd = p_.nodes[n];
        if (nd.kind == NK::Backref) return true;
        for (int k : nd.kids)
            if (HasBackref(k)) return true;
        return false;
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

    void EmitCounted(int body, int mn, int mx, bool greedy, bool guard) {
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
        loop.c1 = guard ? 1 : 0;
        int head = Push(loop);
        Emit(body);
        Inst j;
        j.op = opJmp;
        j.x = head;
        Push(j);
        prog_.code[head].y = Here();
    }

    const SyntaxTree& p_;
    TRegEngine::Program& prog_;
    int depth_ = 0;
    std::vector<long long> sizes_;
};

// ---------------------------------------------------------------- analysis

// Adds the bytes a match of node n can begin with; returns whether n can match empty.
bool FirstBytes(const SyntaxTree& p, const TRegEngine::Program& prog, int n, CharTable& t) {
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
void MandatoryRuns(const SyntaxTree& p, int n, std::string& run, std::string& best) {
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
long long MinLength(const SyntaxTree& p, int n) {
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

bool BeginsAnchored(const SyntaxTree& p, int n) {
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

void TRegEngine::Compile() {
    if (!hasExpression_) Raise(reNotAssignedExpression);
    program_.reset();
    if (expression_.empty()) Raise(reNullArgument, 0);
    if (!(lineBreakPair_.empty() || (lineBreakPair_.size() == 2 && lineBreakPair_[0] != lineBreakPair_[1])))
        Raise(reBadLinePair, 0);
    auto prog = std::make_unique<Program>();
    try {
        SyntaxTree tree = ParseExpression(expression_, modifiers_, *prog, blankSet_, wordSet_);
        int root = tree.root;
        Emitter emitter(tree, *prog);
        emitter.EmitAll(root);
        FindJoins(*prog);
        PrepareVerdict(*prog);
        CharTable first{};
        if (!FirstBytes(tree, *prog, root, first)) {
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
        MandatoryRuns(tree, root, run, best);
        if (run.size() > best.size()) best = run;
        prog->required = best;
        prog->anchored = BeginsAnchored(tree, root);
        prog->minLength = MinLength(tree, root);
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

}  // namespace pelm
