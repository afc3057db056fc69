#pragma once
// The library's own reading of single characters and names, for the pattern
// explainer: which syntax a character has, which class and collating names
// exist, how numbers are read, and which class ranges the compiler accepts.
// Asked of the library's traits in the engine's code page, so that the
// explainer agrees with the compiler on them by construction. No Boost type
// here; the answers are plain values.

#include <cstdint>
#include <string>

namespace tamarin::pattern {

// A character's syntax, numbered as the library numbers its syntax types (the
// numbers are checked against the library in PatternCharacters.cpp). One
// character has one type both outside and after a backslash.
enum Role : int {
    Char = 0, OpenMark = 1, CloseMark = 2, Dollar = 3, Caret = 4, Dot = 5, Star = 6, Plus = 7,
    Question = 8, OpenSet = 9, CloseSet = 10, Or = 11, Escape = 12, Hash = 13, Dash = 14,
    OpenBrace = 15, CloseBrace = 16, Digit = 17, WordAssert = 18, NotWordAssert = 19,
    LeftWord = 20, RightWord = 21, Class = 22, NotClass = 23, StartBuffer = 24, EndBuffer = 25,
    Newline = 26, Comma = 27, ControlA = 28, ControlF = 29, ControlN = 30, ControlR = 31,
    ControlT = 32, ControlV = 33, Hex = 34, AsciiControl = 35, Colon = 36, Equal = 37, E = 38,
    EndQuote = 47, StartQuote = 48, Combining = 49, OneByte = 50, SoftEnd = 51, Continue = 52,
    Not = 53, Property = 54, NotProperty = 55, NamedChar = 56, ExtendedBackref = 57,
    ResetStart = 58, LineEnding = 59,
};

// One character of a class, or two for a collating element of two.
struct Digraph {
    char first = 0, second = 0;
};

class Characters {
public:
    // The one reader, in the engine's code page.
    static const Characters& Get();

    Role RoleOf(char c) const { return static_cast<Role>(roles_[static_cast<unsigned char>(c)]); }
    bool IsSpace(char c) const { return (flags_[static_cast<unsigned char>(c)] & SpaceFlag) != 0; }
    bool IsWord(char c) const { return (flags_[static_cast<unsigned char>(c)] & WordFlag) != 0; }
    bool IsClassName(const char* first, const char* last) const;
    // The characters a collating name stands for; empty when it is none.
    std::string CollateName(const char* first, const char* last) const;
    // The library's number reading: advances `first` past what it read; -1 for none.
    std::intmax_t ToInt(const char*& first, const char* last, int radix) const;
    // Whether the compiler accepts the range first-last. `longSet`: the class
    // holds a two-character element, which the compiler stores another way.
    bool RangeAccepted(Digraph first, Digraph last, bool collate, bool icase, bool longSet) const;
    // Whether the compiler accepts the equivalence class [=d=].
    bool EquivalenceAccepted(Digraph d, bool longSet) const;

private:
    Characters();
    static constexpr unsigned char SpaceFlag = 1, WordFlag = 2;
    unsigned char roles_[256] = {};
    unsigned char flags_[256] = {};
};

} // namespace tamarin::pattern
