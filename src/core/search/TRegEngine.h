#pragma once
// TRegEngine: the regular-expression engine of the regular-expression search.
//
// It works on 8-bit Windows-1251 text. An expression is compiled once into a small
// program for a backtracking matcher and reused until the expression, a modifier or
// one of the character sets changes.
//
// Matching stays bounded. Because the first complete match wins, a state of the
// matcher (instruction, position) that failed once fails again, whatever path led
// to it, as long as no back reference and no repetition running on a counter can
// follow it. The matcher records such failed states per input, and single-
// character repeats also remember their run and the span where their continuation
// failed, so patterns made of such states run in time proportional to the line's
// length times the program's size: (x+x+)+y or (a|aa)+b never take exponential
// time. When such a program would need a backtracking stack as deep as the line,
// as (a|aa)+b on a megabyte of a, the matcher answers from a table of which
// states succeed instead, built back from the line's end, with no stack.
//
// Every line also runs on a step budget, shared by RunOn and the RunNext calls
// after it, that counts real work: instructions, the bytes repeats look at, the
// bytes back references compare and the cells of that table. It bounds the time
// of a search on any line to about a third of a second here, and where a search
// stops does not depend on the machine or its load; a search that spends it,
// or that outgrows the cap on the stack, stops with reTooComplex.
//
// A loop over an operand that can match empty ((a*){2,}, \B{99999999}, or a
// count on a group holding a back reference, as (|\1){1,25}) runs with a guard:
// an iteration beyond the minimum that matches nothing is refused, and one within
// the minimum stands for the rest of the minimum. Small counts on other such
// operands are written out copy by copy and need none.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Errors.h"

namespace pelm {

// An error of the engine: compile errors (codes below 1000) carry " (pos N)" in
// the message, N being ErrorOffset, the number of expression characters consumed.
class ERegEngine : public EError {
public:
    ERegEngine(const std::string& message, int code, int offset)
        : EError(message), code_(code), offset_(offset) {}
    int ErrorCode() const { return code_; }
    int ErrorOffset() const { return offset_; }

private:
    int code_;
    int offset_;
};

class TRegEngine {
public:
    // Error codes that an expression or a call can reach.
    enum : int {
        reNoErrors = 0,
        reNullArgument = 100,
        reTooManyGroups = 102,
        reUnmatchedOpen = 103,
        reUnmatchedClose = 104,
        reJunkOnEnd = 105,
        reOperandCouldBeEmpty = 106,
        reNestedQuantifier = 107,
        reBadHexDigit = 108,
        reInvalidRange = 109,
        reClassTrailingBackslash = 110,
        reNoHexCode = 111,
        reHexCodeTooBig = 112,
        reUnmatchedBracket = 113,
        reInternalUrp = 114,
        reQuantifierFollowsNothing = 115,
        reTrailingBackslash = 116,
        reAtomDisaster = 119,
        reBracesTooBig = 122,
        reBracesMinGreaterMax = 124,
        reUnclosedComment = 125,
        reUnknownModifier = 127,
        reBadLinePair = 128,
        reNotAssignedExpression = 1003,
        reCorruptedProgram = 1004,
        reNoInputString = 1005,
        reOffsetMustBePositive = 1006,
        reNextWithoutRun = 1007,
        reBadModifierIndex = 1013,
        reLoopStackExceeded = 1014,
        // The matcher spent its step budget: the expression is too complex for the line.
        reTooComplex = 1016,
    };

    // Modifier numbers for SetModifier/GetModifier.
    enum : int { modIndexI = 1, modIndexR, modIndexS, modIndexG, modIndexM, modIndexX };

    static constexpr int kMaxGroup = 14;

    TRegEngine();
    ~TRegEngine();
    TRegEngine(const TRegEngine&) = delete;
    TRegEngine& operator=(const TRegEngine&) = delete;

    const std::string& ExpressionText() const { return expression_; }
    void SetExpressionText(std::string_view s);

    // Modifiers by number: 1 i, 2 r, 3 s, 4 g, 5 m, 6 x. Another number: code 1013.
    void SetModifier(int index, bool on);
    bool GetModifier(int index) const;

    // The character sets of \s, \w and the line separators, and the two-character
    // line separator (head, tail) that counts as one; it must hold two different
    // characters or none (code 128 at the next compile).
    void SetBlankSet(std::string_view chars);
    void SetWordSet(std::string_view chars);
    void SetLineBreakSet(std::string_view chars);
    void SetLineBreakPair(std::string_view pair);

    // Compiles now (a search compiles on demand).
    void Compile();

    // Copies text as the input (up to a NUL byte) and searches from position 1.
    bool RunOn(std::string_view text);
    // Searches again after the last match (one character further after an empty one).
    bool RunNext();
    // Searches the current input from a 1-based offset.
    bool RunFrom(int offset);

    // 1-based start and length of group n (0 = whole match), or -1.
    int GroupStart(int n) const;
    int GroupLength(int n) const;
    std::string Group(int n) const;
    // Number of parenthesised groups of the compiled expression.
    int GroupCount() const;

    std::string FillTemplate(std::string_view tmpl) const;
    // Fills tmpl from text, given for groups 0..count-1 their 1-based start and
    // length (start -1 for a group that did not take part), two ints per group.
    static std::string FillTemplateFrom(std::string_view tmpl, std::string_view text, const int* spans, int count);
    std::string ReplaceMatches(std::string_view text, std::string_view tmpl);

    int LastError() const { return lastError_; }
    static std::string ErrorMessage(int code);

    struct Program;
    struct Matcher;

private:
    [[noreturn]] void Raise(int code, int offset = 0) const;
    void EnsureCompiled();
    bool SearchFrom(int from);

    std::string expression_;
    bool hasExpression_ = false;
    int modifiers_;
    std::array<bool, 256> blankSet_{};
    std::array<bool, 256> wordSet_{};
    std::array<bool, 256> lineBreakSet_{};
    std::string lineBreakPair_;

    std::unique_ptr<Program> program_;
    std::unique_ptr<Matcher> matcher_;

    std::string input_;
    bool hasInput_ = false;
    bool lastSucceeded_ = false;
    std::array<int, 2 * (kMaxGroup + 1)> groups_{};  // 0-based start and end, -1 unset
    mutable int lastError_ = 0;
};

}  // namespace pelm
