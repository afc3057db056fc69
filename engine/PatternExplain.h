#pragma once
// What a pattern says, construct by construct, as the library reads it in the
// syntax and case chosen: a tree of nodes with their spans and plain words,
// the verdict (compiles, or where and why it stops), the groups the library
// counts and the spans it records for them, and warnings for legal patterns
// that are likely wrong or slow.
//
// The explanation is our own reading of the pattern; the engine's suite checks
// it against the library's own compiler over large sets of patterns. Where our
// reading cannot be sure to agree (see `unsure`), it says so.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamarin {

enum class ExplainKind : std::int32_t {
    Pattern,          // the whole pattern (the root)
    Alternation,      // alternatives separated by |
    Alternative,      // one alternative: a sequence
    Literal,          // a run of plain characters
    Escape,           // one escaped character, such as \n or \x41
    Quoted,           // \Q...\E
    AnyCharacter,     // . or \C
    ClassEscape,      // \w, \d, \p{L} and their negations
    CharacterClass,   // [...]
    ClassItem,        // one character in a class
    ClassRange,       // a-z in a class
    NamedClass,       // [:alpha:] in a class, or \w in a class
    CollatingElement, // [.a.] in a class
    EquivalenceClass, // [=a=] in a class
    Anchor,           // ^ $ \A \z \Z \G \` \'
    WordBoundary,     // \b \B \< \>
    Group,            // capturing, named or not
    NonCapturing,     // (?:...) and branch reset (?|...)
    Atomic,           // (?>...)
    LookAhead,        // (?=...) (?!...)
    LookBehind,       // (?<=...) (?<!...)
    InlineOptions,    // (?i) and (?i:...)
    Comment,          // (?#...) and # comments in free-spacing mode
    Quantifier,       // * + ? {n,m} with its greed; its child is what it repeats
    BackReference,    // \1 \g{-1} \k<name>
    Recursion,        // (?R) (?1) (?&name) (?P>name)
    Conditional,      // (?(cond)yes|no)
    Condition,        // the cond of a conditional
    KeepOut,          // \K
    LineEnding,       // \R
    Combining,        // \X
    Verb,             // (*FAIL) (*ACCEPT) (*COMMIT) (*PRUNE) (*SKIP) (*THEN)
};

struct ExplainNode {
    ExplainKind kind = ExplainKind::Pattern;
    std::size_t begin = 0, end = 0;  // span in the pattern, [begin, end)
    std::string words;               // what it matches, in plain words (UTF-8)
    std::int32_t group = 0;          // a capturing group's number, else 0
    std::vector<ExplainNode> children;
};

// Why the library stops compiling a pattern: our own kinds, one for each of
// the library's error codes it can raise for a pattern.
enum class PatternError : std::int32_t {
    None,
    Collate,       // an unknown collating element [[.x.]]
    ClassName,     // an unknown class name [[:x:]] or \p{x}
    Escape,        // a bad or unfinished escape
    BackReference, // a back-reference to a group that does not exist
    Bracket,       // a [ never closed
    Paren,         // a ( never closed, or a ) never opened
    Brace,         // a { never closed, or a } never opened
    BadBrace,      // the counts of a {n,m} are not valid
    Range,         // a range in a class that is not valid
    BadRepeat,     // a quantifier with nothing to repeat
    Complexity,    // nested too deeply
    Empty,         // an empty pattern or alternative where none may be
    PerlExtension, // a (?...) or (*...) construct that is not valid
    BadPattern,    // refers to something that does not exist, or a look-behind of no fixed width
    Other,
};

struct ExplainWarning {
    std::size_t begin = 0, end = 0;
    std::string words;
};

struct PatternExplanation {
    bool compiles = false;
    PatternError error = PatternError::None;
    std::size_t errorPosition = 0;   // where the library stops, counted from 0
    std::string errorWords;          // e.g. "a ( is never closed"
    std::size_t groups = 0;          // as the library counts them
    // Each group's span as the library records it: from its ( to its ), or to
    // the end of the pattern while it is still open. Index n-1 for group n.
    std::vector<std::pair<std::size_t, std::size_t>> groupSpans;
    std::vector<ExplainWarning> warnings;
    // The parser may not agree with the library on this pattern (the reasons
    // in `unsureWhy`); the words then must not be taken as the library's.
    bool unsure = false;
    std::string unsureWhy;
    ExplainNode root;  // what was read, up to the error if there is one
};

// syntaxIndex: 0 Perl, 1 POSIX Basic, 2 POSIX Extended (others mean Perl).
PatternExplanation ExplainPattern(std::string_view pattern, std::int32_t syntaxIndex, bool caseSensitive);

// The one line above the tree: "Compiles · 2 groups · 1 warning" or
// "Stops compiling at position 7: a ( is never closed".
std::string ExplanationVerdict(const PatternExplanation& explanation);

// What the library itself says of the pattern, compiled as the engine compiles
// it (with the groups' spans kept): the judge our explanation is checked
// against.
struct LibraryReading {
    bool compiles = false;
    std::int32_t errorCode = 0;      // the library's error code, 0 when it compiles
    PatternError error = PatternError::None;
    std::size_t errorPosition = 0;
    std::size_t groups = 0;
    std::vector<std::pair<std::size_t, std::size_t>> groupSpans;
};
LibraryReading ReadPatternWithLibrary(std::string_view pattern, std::int32_t syntaxIndex, bool caseSensitive);

} // namespace tamarin
