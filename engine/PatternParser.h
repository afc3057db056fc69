#pragma once
// The explainer's reader: the library's own parser, step for step, building a
// tree of what it reads instead of the compiled states. It keeps of those
// states only what the library's decisions depend on: the kind of the last
// state, the group and alternative being read, the options in force.
// Internal to the engine (PatternExplain.cpp, PatternWords.cpp, PatternChecks.cpp).

#include "PatternCharacters.h"
#include "PatternExplain.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tamarin::pattern {

// The library's compile options, with its values.
namespace option {
constexpr unsigned BasicGroup = 1, NoBkRefs = 1u << 8, NoPerlEx = 1u << 9, NoModM = 1u << 10,
                   ModX = 1u << 11, ModS = 1u << 12, NoModS = 1u << 13, NoEscapeInLists = 1u << 16,
                   Icase = 1u << 20, Collate = 1u << 21;
constexpr unsigned MainType = 3;  // literal | basic_syntax_group
} // namespace option

enum class Greed : std::int32_t { Greedy, Lazy, Possessive };

// One construct read, with what its words need.
struct Item {
    ExplainKind kind = ExplainKind::Literal;
    std::size_t begin = 0, end = 0;
    std::string text;        // the characters matched (a long literal: its first ones), or a name
    std::size_t count = 0;   // a literal's number of characters
    std::int64_t number = 0; // group, back-reference or recursion number; a quantifier's minimum
    std::uint64_t max = 0;   // a quantifier's maximum (~0: no limit)
    Greed greed = Greed::Greedy;
    bool negated = false;    // [^...], \W, (?!...), \B
    bool byName = false;     // a back-reference, recursion or group with a name
    bool lastOnly = false;   // a quantifier that repeats only the last character of its child
    char variant = 0;        // which anchor, verb, condition, ...
    unsigned options = 0;    // the options in force where it was read
    unsigned optionsOn = 0, optionsOff = 0;
    bool scoped = false;     // inline options: (?i:...) rather than (?i)
    bool digraph = false;    // a class item of two characters
    std::vector<Item> children;
};

// The kinds of compiled state the parser's decisions look at.
enum class State : std::int32_t {
    None, Literal, Set, Wild, Backref, StartMark, EndMark, Jump, Alt, Toggle, StartLine, EndLine,
    WordBoundary, WithinWord, WordStart, WordEnd, BufferStart, BufferEnd, SoftBufferEnd,
    RestartContinue, Backstep, Recurse, AssertBackref, Verb, Combining,
};

// How many characters of a long literal the tree keeps: the words show fewer.
constexpr std::size_t LiteralTextCap = 256;

struct Stop {};  // thrown at the first error, as the library throws

class Parser {
public:
    Parser(std::string_view pattern, int syntaxIndex, bool caseSensitive);
    // Reads the whole pattern; the outcome in the members below.
    void Run();

    // What was read (whole or up to the error).
    Item root;
    PatternError error = PatternError::None;
    std::size_t errorPosition = 0;
    std::string errorDetail;  // our words for an error more particular than its kind
    unsigned markCount = 0;
    std::vector<std::pair<std::size_t, std::size_t>> subs;
    std::vector<std::string> unsure;       // why our reading may not be the library's
    unsigned baseFlags = 0;

private:
    // One group being read (or the whole pattern): its alternatives so far.
    struct Frame {
        Item group;
        std::vector<std::vector<Item>> alternatives;
        std::vector<Item> sequence;
        int target = -1;          // index in `sequence` of the item the last state belongs to
        std::size_t altPoint = 0; // states appended when the last alternative began
        bool hasAlt = false;      // a | was read in this group
        std::size_t contentBegin = 0;
        std::vector<std::size_t> bars;  // where each | is
    };
    friend struct ParserAccess;

    // Reading, as the library's members of the same names.
    bool ParseAll();
    bool ParseBasic();
    bool ParseExtended();
    bool ParseLiteral();
    bool ParseOpenParen();
    bool ParseBasicEscape();
    bool ParseExtendedEscape();
    bool ParseMatchAny();
    bool ParseRepeat(std::uint64_t low = 0, std::uint64_t high = ~std::uint64_t{0});
    bool ParseRepeatRange(bool isBasic);
    bool ParseAlt();
    bool ParseSet();
    bool ParseInnerSet(Item& set, std::vector<Digraph>& singles);
    void ParseSetLiteral(Item& set, std::vector<Digraph>& singles);
    Digraph NextSetLiteral(Item& set, std::size_t& itemBegin);
    bool ParseBackref();
    bool ParseQE();
    bool ParsePerlExtension();
    bool ParsePerlVerb();
    bool MatchVerb(const char* verb);
    unsigned ParseOptions();
    bool UnwindAlts(bool perlGroup);
    char UnescapeCharacter();

    [[noreturn]] void Fail(PatternError error, std::ptrdiff_t position);
    Role RoleAt(const char* p) const { return p < end_ ? chars_.RoleOf(*p) : Char; }
    char At(const char* p) const { return p < end_ ? *p : '\0'; }
    std::size_t Pos(const char* p) const { return static_cast<std::size_t>(p - base_); }
    void RewindTo(Role role);  // back to the nearest ( or \ before the position, as the library does
    [[noreturn]] void FailAtParen(PatternError error);

    // The tree and the states it stands for.
    Frame& Top() { return frames_.back(); }
    void Append(Item item, State state);    // an item that appends a state
    void AppendState(State state);          // a state of no item of its own
    void AddSilent(Item item);              // an item that appends no state
    void AppendLiteralChar(const char* at, char c);  // one plain character, extending a run
    void OpenFrame(Item group);
    Item CloseFrame(std::size_t end, bool closed = true);  // closed: by its ), else at the end or an error
    void FoldFrames();                      // after an error: what was read, closed where it stopped
    bool IsPerl() const { return (flags_ & option::MainType) == 0; }
    bool PerlEx() const { return (flags_ & (option::MainType | option::NoPerlEx)) == 0; }
    bool FreeSpacing() const { return (flags_ & (option::MainType | option::ModX | option::NoPerlEx)) == option::ModX; }

    const Characters& chars_;
    bool plain_[256] = {};  // the characters a run of literal text goes on over
    const char* base_;
    const char* end_;
    const char* pos_;
    unsigned flags_;
    std::vector<Frame> frames_;
    State last_ = State::None;
    std::uint64_t lastId_ = 0;       // the last state's identity
    std::uint64_t states_ = 0;       // states appended so far
    std::uint64_t parenStartItem_ = 0;
    unsigned recursion_ = 0;
    int markReset_ = -1;
    unsigned maxMark_ = 0;
    std::int64_t maxBackref_ = 0;
    bool hasCaseChange_ = false;
    std::vector<std::pair<int, int>> names_;  // (name's hash, group) in the order defined
    bool afterPossessive_ = false;   // the last state ends a possessive repeat
public:
    int NameIndex(int hash) const;
    // What the compiler checks once the parser is done (PatternChecks.cpp).
    struct Recursion { std::int64_t target; bool byName; };
    std::vector<Recursion> recursions;
    std::vector<int> namedConditions;   // (?(R&name)...): hashes of names that must exist
    void CompilerChecks();
};

int CaptureNameHash(const char* first, const char* last);

} // namespace tamarin::pattern
