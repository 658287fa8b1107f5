#pragma once
// The scanning context every highlighter works on: the current line (kept as a
// NUL-terminated copy), the scan position, the start of the current token and
// its kind. A scanning routine looks at the current and the following
// characters, matches words or texts there, moves forward and sets the token's
// kind; the NUL terminator stops every look-ahead, and nothing here reads
// before the start of the line or past its NUL.
#include <memory>
#include <string>
#include <string_view>

#include "core/highlight/TCharClass.h"

namespace pelm {

class TScanContext {
public:
    // The current character, NUL at the end of the line.
    unsigned char Ch() const { return static_cast<unsigned char>(line_[run_]); }
    // The character after the current one; NUL when the current one is the end.
    unsigned char ChNext() const { return line_[run_] ? static_cast<unsigned char>(line_[run_ + 1]) : 0; }
    // The character before the current one on this line; NUL at the start.
    unsigned char ChPrev() const { return run_ > 0 ? static_cast<unsigned char>(line_[run_ - 1]) : 0; }
    bool AtNul() const { return line_[run_] == 0; }

    // Whether the line continues with text at the current position (exact
    // bytes). text holds no NUL, so the comparison stops at the line's end.
    bool Match(std::string_view text) const {
        const char* p = line_ + run_;
        for (char c : text) {
            if (*p != c) return false;
            ++p;
        }
        return true;
    }
    bool Match(char c0, char c1) const { return line_[run_] == c0 && line_[run_ + 1] == c1; }

    void Forward() { ++run_; }
    void Forward(int n) { run_ += n; }
    // Moves over the characters of the class (which must not hold NUL).
    void ForwardWhile(const TCharClass& cls) {
        while (cls(static_cast<unsigned char>(line_[run_]))) ++run_;
    }
    // Moves up to the first character of the class, at the latest to the line's NUL.
    void ForwardUntil(const TStopClass& stops) {
        while (!stops(static_cast<unsigned char>(line_[run_]))) ++run_;
    }

    // The token kind.
    void SetKind(int kind) { kind_ = kind; }
    int Kind() const { return kind_; }

    // The routines every language shares.
    // A run of blanks: the current character and every following one of
    // codes 1-8, 11, 12 and 14-32.
    void ScanSpaceRun(int kind) {
        ++run_;
        ForwardWhile(cc::SpaceRun);
        kind_ = kind;
    }
    // A line break inside the line's text: LF alone, or CR with a following LF.
    void ScanLineBreak(int kind) {
        if (line_[run_] == '\r' && line_[run_ + 1] == '\n') ++run_;
        ++run_;
        kind_ = kind;
    }

protected:
    // Keeps text as the current line and starts at its first character.
    void KeepLine(std::string_view text);
    // The next token starts at the scan position.
    void BeginToken() { tokenPos_ = run_; }
    std::string_view TokenSpan() const {
        return std::string_view(line_ + tokenPos_, static_cast<size_t>(run_ - tokenPos_));
    }
    std::string_view KeptLine() const { return std::string_view(line_, lineLength_); }

    // The current line (NUL-terminated), the scan position and the token start.
    const char* line_ = "";
    int run_ = 0;
    int tokenPos_ = 0;
    int kind_ = 0;

private:
    std::string lineBuf_;
    // With PELM_EXACT_LINE_BUFFERS (the fuzzing build) each line gets a block
    // of exactly its size plus the NUL, so that a read outside it is caught.
    std::unique_ptr<char[]> exactLine_;
    size_t lineLength_ = 0;
};

}  // namespace pelm
