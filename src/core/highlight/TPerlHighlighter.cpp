#include "core/highlight/TPerlHighlighter.h"

#include <array>

#include "core/highlight/KeywordSlots.h"
#include "core/highlight/ScriptScanning.h"

namespace pelm {

namespace {

using P = TPerlHighlighter;

constexpr TAttributeSpec kAttributes[] = {
    {"Comment", clNone, fsItalic},
    {"Identifier"},
    {"Illegal Char"},
    {"Reserved Word", clNone, fsBold},
    {"Number"},
    {"Operator"},
    {"Pragma", clNone, fsBold},
    {"Space", clWindow},
    {"String"},
    {"Symbol"},
    {"Variable", clNone, fsBold},
};

constexpr TKindSpec kKinds[] = {
    {"comment", P::atComment, hrComment},
    {"identifier", P::atIdentifier, hrIdentifier},
    {"keyword", P::atKey, hrKeyword},
    {"eol", kNoAttribute},
    {"number", P::atNumber},
    {"operator", P::atOperator},
    {"pragma", P::atPragma},
    {"space", P::atSpace, hrWhitespace},
    {"string", P::atString, hrString},
    {"symbol", P::atSymbol, hrSymbol},
    {"illegal", P::atInvalid},
    {"variable", P::atVariable},
};
static_assert(std::size(kKinds) == P::KindCount);

constexpr const char* kStateNames[] = {"normal"};

constexpr TAttributeOverride kMainWindow[] = {
    {P::atComment, clGray},
};

constexpr const char* kKeywords[] = {
    "abs", "accept", "alarm", "atan2", "bind", "binmode", "bless", "caller", "chdir", "chmod", "chomp", "chop",
    "chown", "chr", "chroot", "close", "closedir", "connect", "cos", "crypt", "dbmclose", "dbmopen", "defined",
    "delete", "die", "do", "dump", "each", "else", "elsif", "endgrent", "endhostent", "endnetent", "endprotoent",
    "endpwent", "endservent", "eof", "eval", "exec", "exists", "exit", "exp", "fcntl", "fileno", "flock", "for",
    "foreach", "fork", "format", "formline", "getc", "getgrent", "getgrgid", "getgrnam", "gethostbyaddr",
    "gethostbyname", "gethostent", "getlogin", "getnetbyaddr", "getnetbyname", "getnetent", "getpeername",
    "getpgrp", "getppid", "getpriority", "getprotobyname", "getprotobynumber", "getprotoent", "getpwent",
    "getpwnam", "getpwuid", "getservbyname", "getservbyport", "getservent", "getsockname", "getsockopt", "glob",
    "gmtime", "goto", "grep", "hex", "if", "import", "index", "int", "ioctl", "join", "keys", "kill", "last",
    "lc", "lcfirst", "length", "link", "listen", "local", "localtime", "log", "lstat", "m", "map", "mkdir",
    "msgctl", "msgget", "msgrcv", "msgsnd", "my", "next", "no", "oct", "open", "opendir", "ord", "pack",
    "package", "pipe", "pop", "pos", "print", "push", "q", "qq", "quotemeta", "qw", "qx", "rand", "read",
    "readdir", "readlink", "recv", "redo", "ref", "rename", "require", "reset", "return", "reverse",
    "rewinddir", "rindex", "rmdir", "scalar", "seek", "seekdir", "select", "semctl", "semget", "semop", "send",
    "setgrent", "sethostent", "setnetent", "setpgrp", "setpriority", "setprotoent", "setpwent", "setservent",
    "setsockopt", "shift", "shmctl", "shmget", "shmread", "shmwrite", "shutdown", "sin", "sleep", "socket",
    "socketpair", "sort", "splice", "split", "sprintf", "sqrt", "srand", "stat", "study", "sub", "substr",
    "symlink", "syscall", "sysread", "system", "syswrite", "tell", "telldir", "tie", "time", "times", "tr",
    "truncate", "uc", "ucfirst", "umask", "undef", "unless", "unlink", "unpack", "unshift", "untie", "use",
    "utime", "values", "vec", "wait", "waitpid", "wantarray", "warn", "while", "write",
};
static_assert(std::size(kKeywords) == 208);

constexpr const char* kOperatorWords[] = {"and", "cmp", "eq", "ge", "gt", "le", "lt", "ne", "not", "or", "xor"};
static_assert(std::size(kOperatorWords) == 11);

constexpr const char* kPragmas[] = {
    "constant", "diagnostics", "integer", "less", "locale", "sigtrap", "strict", "subs", "vars",
};
static_assert(std::size(kPragmas) == 9);

constexpr const char* kVariables[] = {
    "$ACCUMULATOR", "$ARG", "$ARGV", "@ARGV", "$BASETIME", "$CHILD_ERROR", "$DEBUGGING", "$EFFECTIVE_GROUP_ID",
    "$EFFECTIVE_USER_ID", "$EGID", "$ENV", "$ERRNO", "$EUID", "$EVAL_ERROR", "$EXECUTABLE_NAME",
    "$FORMAT_FORMFEED", "$FORMAT_LINE_BREAK_CHARACTERS", "$FORMAT_LINES_LEFT", "$FORMAT_LINES_PER_PAGE",
    "$FORMAT_NAME", "$FORMAT_PAGE_NUMBER", "$FORMAT_TOP_NAME", "$GID", "%INC", "@INC", "$INPLACE_EDIT",
    "$INPUT_LINE_NUMBER", "$INPUT_RECORD_SEPARATOR", "$LAST_PAREN_MATCH", "$LIST_SEPARATOR", "$MATCH",
    "$MULTILINE_MATCHING", "$NR", "$OFMT", "$ORS", "$OS_ERROR", "$OUTPUT_AUTOFLUSH", "$OUTPUT_FIELD_SEPARATOR",
    "$PERL_VERSION", "$PERLDB", "$PID", "$POSTMATCH", "$PREMATCH", "$PROCESS_ID", "$PROGRAM_NAME",
    "$REAL_GROUP_ID", "$REAL_USER_ID", "$RS", "$SIG", "$SUBSCRIPT_SEPARATOR", "$SUBSEP", "$SYSTEM_FD_MAX",
    "$UID", "$WARNING",
};
static_assert(std::size(kVariables) == 54);

TKeywordSlots makeKeywords() {
    std::vector<TKeywordSlots::Keyword> list;
    for (const char* w : kKeywords) list.push_back({w, P::tkKey, P::WordHash(w)});
    for (const char* w : kOperatorWords) list.push_back({w, P::tkOperator, P::WordHash(w)});
    for (const char* w : kPragmas) list.push_back({w, P::tkPragma, P::WordHash(w)});
    for (const char* w : kVariables) list.push_back({w, P::tkVariable, P::WordHash(w)});
    return TKeywordSlots(P::KeywordSlotCount, kcCaseSensitive, P::tkIdentifier, P::tkIdentifier, list);
}

// Built once, at first use.
const TKeywordSlots& keywords() {
    static const TKeywordSlots slots = makeKeywords();
    return slots;
}

enum TRoutine : uint8_t {
    prNull, prSpace, prLineBreak, prComment, prDoubleQuote, prSingleQuote, prWord, prDotOrNumber, prIllegal,
    prNot, prAnd, prStar, prPlus, prMinus, prSlashOrCaret, prColon, prLess, prEquals, prGreater, prOr, prSymbol,
};

constexpr std::array<uint8_t, 256> makeRoutines() {
    std::array<uint8_t, 256> t{};
    for (auto& r : t) r = prSymbol;
    for (int c = 1; c <= 32; ++c) t[static_cast<size_t>(c)] = prSpace;
    for (int c = 127; c <= 255; ++c) t[static_cast<size_t>(c)] = prIllegal;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = prDotOrNumber;
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<size_t>(c)] = prWord;
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = prWord;
    for (unsigned char c : {'$', '%', '@', '_'}) t[c] = prWord;
    t[0] = prNull;
    t['\n'] = prLineBreak;
    t['\r'] = prLineBreak;
    t['#'] = prComment;
    t['"'] = prDoubleQuote;
    t['\''] = prSingleQuote;
    t['.'] = prDotOrNumber;
    t['`'] = prIllegal;
    t['!'] = prNot;
    t['&'] = prAnd;
    t['*'] = prStar;
    t['+'] = prPlus;
    t['-'] = prMinus;
    t['/'] = prSlashOrCaret;
    t['^'] = prSlashOrCaret;
    t[':'] = prColon;
    t['<'] = prLess;
    t['='] = prEquals;
    t['>'] = prGreater;
    t['|'] = prOr;
    return t;
}
constexpr std::array<uint8_t, 256> kRoutines = makeRoutines();

// The characters of a lookup word.
constexpr TCharClass kWordRun = script::WordChar | TCharClass{'$', '%', '@'};
// What may follow '$' in a punctuation variable ($_, $0, $!, $@ ...): every
// character from '!' to '+', from '-' to '@', '[', '\', ']', '_', '`', '|'
// and '~'.
constexpr TCharClass kPunctuationVariable = TCharClass::Range('!', '+') | TCharClass::Range('-', '@') |
                                            TCharClass{'[', '\\', ']', '_', '`', '|', '~'};
// The letters of the three-character variables $^A ... $^X.
constexpr TCharClass kCaretVariable{'A', 'D', 'F', 'I', 'L', 'P', 'T', 'W', 'X'};
// What continues a number.
constexpr TCharClass kNumberChars = cc::Digit | TCharClass::Range('A', 'F') | TCharClass::Range('a', 'f') |
                                    TCharClass{'-', '.', 'X', '_', 'x'};
constexpr TCharClass kDoubleQuoteStops = cc::LineEnd;
constexpr TCharClass kSingleQuoteStops = cc::LineEnd | TCharClass{'\''};

}  // namespace

constinit const TLanguageSpec TPerlHighlighter::Language = {
    "Perl",
    BuiltInFilter,
    kAttributes,
    kKinds,
    tkNull,
    kStateNames,
    1u,
    (script::EditorWordChar | TCharClass{'$', '%', '@'}).ToSet(),
    kMainWindow,
};

TPerlHighlighter::TPerlHighlighter() : TLanguageHighlighter(Language), keywords_(&keywords()) {}

uint32_t TPerlHighlighter::WordHash(std::string_view word) {
    uint32_t h = 0;
    for (char c : word) h += static_cast<unsigned char>(c);
    return h;
}

int TPerlHighlighter::WordKind(std::string_view word) { return keywords().Lookup(word, WordHash(word)); }

int TPerlHighlighter::KeywordCount() { return keywords().KeywordCount(); }

void TPerlHighlighter::NextToken() {
    BeginToken();
    tableProc();
}

void TPerlHighlighter::tableProc() {
    // The operators: the first character, then at most two that join it.
    auto join = [this](std::initializer_list<char> seconds) {
        for (char c : seconds)
            if (Ch() == static_cast<unsigned char>(c)) {
                Forward();
                return true;
            }
        return false;
    };
    const unsigned char c = Ch();
    const uint8_t routine = kRoutines[c];
    switch (routine) {
    case prNull: kind_ = tkNull; return;
    case prSpace:
        run_ = script::SkipWhile(line_, run_ + 1, script::BlankRun);
        kind_ = tkSpace;
        return;
    case prLineBreak: ScanLineBreak(tkSpace); return;
    case prComment:
        run_ = script::SkipUntil(line_, run_, cc::LineEnd);
        kind_ = tkComment;
        return;
    case prDoubleQuote: doubleQuoteProc(); return;
    case prSingleQuote: singleQuoteProc(); return;
    case prWord: wordProc(); return;
    case prDotOrNumber: dotOrNumberProc(); return;
    case prIllegal:
        Forward();
        kind_ = tkUnknown;
        return;
    default: break;
    }
    Forward();
    kind_ = tkSymbol;
    switch (routine) {
    case prNot: join({'=', '~'}); break;  // != !~
    case prAnd:  // &= && &&=
        if (!join({'='}) && join({'&'})) join({'='});
        break;
    case prStar:  // *= ** **=
        if (!join({'='}) && join({'*'})) join({'='});
        break;
    case prPlus: join({'+', '='}); break;
    case prMinus: join({'-', '=', '>'}); break;
    case prSlashOrCaret: join({'='}); break;  // /= ^=
    case prColon: join({':'}); break;
    case prLess:  // << <<= <= <=>
        if (join({'<'}))
            join({'='});
        else if (join({'='}))
            join({'>'});
        break;
    case prEquals: join({'=', '>', '~'}); break;
    case prGreater:  // >= >> >>=
        if (!join({'='}) && join({'>'})) join({'='});
        break;
    case prOr:  // |= || ||=
        if (!join({'='}) && join({'|'})) join({'='});
        break;
    default: break;
    }
}

void TPerlHighlighter::doubleQuoteProc() {
    Forward();
    if (Match('"', '"')) Forward(2);
    bool closed = false;
    run_ = script::SkipQuoted(line_, run_, '"', kDoubleQuoteStops, closed);
    kind_ = tkString;
}

void TPerlHighlighter::singleQuoteProc() {
    // Backslashes have no effect here.
    Forward();
    run_ = script::SkipUntil(line_, run_, kSingleQuoteStops);
    if (Ch() == '\'') Forward();
    kind_ = tkString;
}

void TPerlHighlighter::dotOrNumberProc() {
    if (Ch() == '.') {
        const unsigned char next = ChNext();
        if (next == '.') {  // .. or ...
            Forward(2);
            if (Ch() == '.') Forward();
            kind_ = tkSymbol;
            return;
        }
        if (next == '=' || script::WordStart(next)) {  // .= or the concatenation before a word
            Forward(next == '=' ? 2 : 1);
            kind_ = tkSymbol;
            return;
        }
    }
    numberProc();
}

void TPerlHighlighter::numberProc() {
    Forward();
    for (;;) {
        const unsigned char c = Ch();
        if (!kNumberChars(c)) break;
        if (c == '.' && ChNext() == '.') break;
        if (c == '-' && ChNext() != 'e' && ChNext() != 'E') break;
        Forward();
    }
    kind_ = tkNumber;
}

void TPerlHighlighter::wordProc() {
    const unsigned char c = Ch();
    const unsigned char next = ChNext();
    if (c == '$') {
        if (next == '^') {
            const unsigned char third = static_cast<unsigned char>(line_[run_ + 2]);
            if (kCaretVariable(third)) {
                Forward(3);
                kind_ = tkVariable;
                return;
            }
            if (cc::LineEnd(third)) {
                Forward(2);
                kind_ = tkVariable;
                return;
            }
        } else if (kPunctuationVariable(next)) {
            Forward(2);
            kind_ = tkVariable;
            return;
        }
    } else if (c == '%' || c == 'x') {
        // A lone '%' or 'x' at the end of the line, or before '=', is an operator.
        if (cc::LineEnd(next)) {
            Forward();
            kind_ = tkSymbol;
            return;
        }
        if (next == '=') {
            Forward(2);
            kind_ = tkSymbol;
            return;
        }
    }
    lookupWord();
}

void TPerlHighlighter::lookupWord() {
    // The run and its hash (the sum of its character codes) in one pass.
    const char* p = line_ + run_;
    uint32_t hash = static_cast<unsigned char>(*p++);
    while (kWordRun(static_cast<unsigned char>(*p))) hash += static_cast<unsigned char>(*p++);
    run_ = static_cast<int>(p - line_);
    kind_ = keywords_->Lookup(TokenSpan(), hash);
}

}  // namespace pelm
