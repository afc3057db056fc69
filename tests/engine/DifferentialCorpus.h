#pragma once
// The cases the differential tests compare the engine with the library on:
// small random patterns and inputs, and patterns that read their groups back.

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tamarin::test {

inline std::string RandomPattern(std::mt19937& random)
{
    static const char* const pieces[] = {
        "a", "b", "c", " ", ".", "*", "+", "?", "|", "(", ")", "[ab]", "[^a]", "\\w", "\\s", "\\d",
        "^", "$", "{2}", "{1,3}", "\\1", "(?:", "(?=", "(?!", "\\b", "x*", "\\(", "\\{", "\\}",
        "[[:alpha:]]", "(a|b)*", "(?R)", "\\n", "*?", "\\", "A", "B", "\xE9", "\xC9", "[\xE0-\xFF]",
    };
    std::string pattern;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i)
        pattern += pieces[random() % std::size(pieces)];
    return pattern;
}

inline std::string RandomInput(std::mt19937& random)
{
    static const char letters[] = "aabbc AB(x)\n12{\xE9\xC9\x80\x81";
    std::string input(1 + random() % 24, ' ');
    for (char& c : input)
        c = letters[random() % (sizeof letters - 1)];
    return input;
}

struct CorpusCase {
    const char* name;
    std::string pattern;
    std::string input;
};

inline std::ostream& operator<<(std::ostream& out, const CorpusCase& c) { return out << c.name; }

// Perl patterns that read a group back, in every way the syntax has.
inline std::vector<CorpusCase> GroupReadBackCorpus()
{
    return {
        {"BackReference", "(a|b)c\\1", "xacbcbc"},
        {"NamedBackReference", "(?<w>ab)x\\k<w>", "abxabxab"},
        {"RelativeBackReference", "(a+)b\\g{-1}", "aabaab"},
        {"Condition", "(a)?(?(1)b|c)", "xab"},
        {"ConditionNotTaken", "^(a)?(?(1)b|c)$", "c"},
        {"GroupCall", "(a|b)(?1)c", "xbacx"},
        {"WholeRecursion", "\\((?:[^()]|(?R))*\\)", "(a(b)c)"},
        {"AcceptInsideGroup", "(a(*ACCEPT)b)c", "ac"},
        {"NoGroupReadBack", "(a|ab)(c|bcd)(d*)", "abcd"},
    };
}

} // namespace tamarin::test
