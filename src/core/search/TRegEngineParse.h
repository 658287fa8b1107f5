#pragma once
// The parser of TRegEngine: turns an expression into the syntax tree that
// TRegEngineCompile.cpp writes out as a program.

#include <cstdint>
#include <string>
#include <vector>

#include "core/search/TRegEngineImpl.h"

namespace pelm::regengine {

// An error found while compiling: its code and the expression characters consumed.
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
    bool emptyBody = false;  // Repeat: the operand can match the empty string
    std::vector<int> kids;
};

// The nodes of a parsed expression; root is the index of the whole expression.
struct SyntaxTree {
    std::vector<Node> nodes;
    int root = -1;
};

// Parses e under the modifier bits mods. Bracket sets and class escapes go to
// prog.sets (nodes refer to them by index); prog.groupCount and prog.hasBackrefs
// are set. Throws CompileError.
SyntaxTree ParseExpression(const std::string& e, int mods, TRegEngine::Program& prog, const CharTable& blank,
                           const CharTable& word);

}  // namespace pelm::regengine
