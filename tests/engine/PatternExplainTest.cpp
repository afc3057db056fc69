// What the explainer says of a pattern: its nodes with their spans and words
// in each syntax, the verdict line, the warnings. (That it reads patterns as
// the library does is PatternAgreementTest's.)

#include "PatternExplain.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace tamarin;

namespace {

// The node with exactly these words and span, anywhere in the tree.
bool HasNode(const ExplainNode& node, std::size_t begin, std::size_t end, const std::string& words)
{
    if (node.begin == begin && node.end == end && node.words == words)
        return true;
    for (const ExplainNode& child : node.children)
        if (HasNode(child, begin, end, words))
            return true;
    return false;
}

std::string Tree(const ExplainNode& node, int depth = 0)
{
    std::string out = std::string(static_cast<std::size_t>(depth) * 2, ' ') + "[" + std::to_string(node.begin) + "," +
                      std::to_string(node.end) + ") " + node.words + "\n";
    for (const ExplainNode& child : node.children)
        out += Tree(child, depth + 1);
    return out;
}

struct NodeRow {
    const char* name;
    const char* pattern;
    int syntax;
    bool caseSensitive;
    std::size_t begin, end;
    const char* words;
};

class ExplainNodes : public testing::TestWithParam<NodeRow> {};

TEST_P(ExplainNodes, SaysWhatThePartMatches)
{
    const NodeRow& row = GetParam();
    const PatternExplanation e = ExplainPattern(row.pattern, row.syntax, row.caseSensitive);
    EXPECT_TRUE(HasNode(e.root, row.begin, row.end, row.words)) << Tree(e.root);
}

const NodeRow nodeRows[] = {
    {"RunOfPlainCharactersIsOneNode", "abc", 0, true, 0, 3, "the text \"abc\""},
    {"CaseInsensitiveLiteral", "abc", 0, false, 0, 3, "the text \"abc\", in either case"},
    {"QuantifierTakesTheLastCharacter", "abc*", 0, true, 2, 4, "zero or more times (as many as possible): the text \"c\""},
    {"RestOfTheRunStaysText", "abc*", 0, true, 0, 2, "the text \"ab\""},
    {"CapturingGroup", "(\\w+)", 0, true, 0, 5,
     "Group 1, capturing: one or more times (as many as possible): a word character (letter, digit or _)"},
    {"NamedGroup", "(?<n>a)\\k<n>", 0, true, 0, 7, "Group 1 \"n\", capturing: the text \"a\""},
    {"BackReferenceByName", "(?<n>a)\\k<n>", 0, true, 7, 12, "the same text as group \"n\" matched"},
    {"RelativeBackReference", "(a)\\g{-1}", 0, true, 3, 9, "the same text as group 1 matched"},
    {"LookBehind", "(?<=ab)c", 0, true, 0, 7, "Look-behind: preceded by the text \"ab\""},
    {"NegativeLookAhead", "a(?!b)", 0, true, 1, 6, "Negative look-ahead: not followed by the text \"b\""},
    {"Lazy", "a*?", 0, true, 0, 3, "zero or more times (as few as possible): the text \"a\""},
    {"Possessive", "a++", 0, true, 0, 3, "one or more times (as many as possible, never giving any back): the text \"a\""},
    {"Counts", "a{2,5}", 0, true, 0, 6, "between 2 and 5 times (as many as possible): the text \"a\""},
    {"ClassWithRangeAndEscape", "[a-z\\d]", 0, true, 0, 7,
     "one character, any of: a character from \"a\" to \"z\"; a digit"},
    {"NegatedClass", "[^ab]", 0, true, 0, 5, "one character that is none of: the character \"a\"; the character \"b\""},
    {"NamedClass", "[[:alpha:]]", 0, true, 1, 10, "a letter"},
    {"CollatingElement", "[[.a.]]", 0, true, 1, 6, "the collating element \"a\""},
    {"EquivalenceClass", "[[=a=]]", 0, true, 1, 6, "a character that sorts as \"a\" does (an equivalence class)"},
    {"StartOfLine", "^a", 0, true, 0, 1, "the start of a line"},
    {"WordBoundary", "\\bx", 0, true, 0, 2, "a word boundary"},
    {"Alternatives", "a|b", 0, true, 0, 3, "One of 2 alternatives"},
    {"InlineOptionReachesTheEnd", "(?i)a", 0, true, 4, 5, "the text \"a\", in either case"},
    {"InlineOptions", "(?i)a", 0, true, 0, 4, "Options to the end of the enclosing group or pattern: case-insensitive"},
    {"ScopedOptions", "(?i:a)b", 0, true, 0, 6, "Options for this group (case-insensitive): the text \"a\", in either case"},
    {"Comment", "(?#note)a", 0, true, 0, 8, "A comment, ignored: \"note\""},
    {"Atomic", "(?>a)", 0, true, 0, 5, "Group, atomic (once matched, it gives no characters back): the text \"a\""},
    {"WholeRecursion", "a(?R)?", 0, true, 1, 5, "the whole pattern again, recursively"},
    {"GroupRecursion", "(a)(?1)", 0, true, 3, 7, "the pattern of group 1 again, recursively"},
    {"Condition", "(a)?(?(1)b|c)", 0, true, 6, 9, "Condition: group 1 has matched"},
    {"Quoted", "\\Qa.b\\E", 0, true, 0, 7, "the text \"a.b\" exactly (quoted by \\Q...\\E)"},
    {"KeepOut", "a\\Kb", 0, true, 1, 3, "\\K: the match reported starts here; what came before is kept out of it"},
    {"Verb", "a(*FAIL)", 0, true, 1, 8, "(*FAIL): fails here, so the matcher backtracks"},
    {"EscapedCharacter", "\\n", 0, true, 0, 2, "the character line feed (\\n)"},
    // The same characters in the POSIX syntaxes.
    {"BasicPlusIsText", "a+", 1, true, 0, 2,
     "the text \"a+\" (in POSIX Basic + stand for themselves; Perl and POSIX Extended read them as operators)"},
    {"ExtendedPlusRepeats", "a+", 2, true, 0, 2, "one or more times (as many as possible): the text \"a\""},
    {"BasicGroup", "\\(a\\)", 1, true, 0, 5, "Group 1, capturing: the text \"a\" (written \\( \\) in POSIX Basic)"},
    {"BasicInterval", "a\\{2\\}", 1, true, 0, 6, "exactly 2 times (as many as possible): the text \"a\""},
    {"BasicEscapeIsTheCharacter", "\\w", 1, true, 0, 2,
     "the character \"w\" (in POSIX Basic this escape stands for the character itself)"},
    {"BackslashInPosixClass", "[\\n]", 2, true, 0, 4,
     "one character, any of: the character \"\\\"; the character \"n\" (in the POSIX syntaxes a backslash between "
     "brackets is a plain character)"},
    {"ExtendedParenthesisGroups", "(a)", 2, true, 0, 3, "Group 1, capturing: the text \"a\""},
};

INSTANTIATE_TEST_SUITE_P(Rows, ExplainNodes, testing::ValuesIn(nodeRows),
                         [](const testing::TestParamInfo<NodeRow>& info) { return std::string(info.param.name); });

struct VerdictRow {
    const char* name;
    const char* pattern;
    int syntax;
    const char* verdict;
};

class ExplainVerdict : public testing::TestWithParam<VerdictRow> {};

TEST_P(ExplainVerdict, OneLineWithTheFigures)
{
    const VerdictRow& row = GetParam();
    EXPECT_EQ(ExplanationVerdict(ExplainPattern(row.pattern, row.syntax, true)), row.verdict);
}

const VerdictRow verdictRows[] = {
    {"Groups", "(a)(?<n>b)", 0, "Compiles · 2 groups"},
    {"OneWarning", "(a)*", 0, "Compiles · 1 group · 1 warning"},
    {"NeverClosed", "(abc", 0, "Stops compiling at position 4: a ( is never closed, or a ) was never opened"},
    {"NeverOpened", "a)", 0, "Stops compiling at position 1: a ( is never closed, or a ) was never opened"},
    {"NothingToRepeat", "*a", 0, "Stops compiling at position 0: a quantifier with nothing it may repeat"},
    {"BasicEmpty", "", 1, "Stops compiling at position 0: an empty pattern or alternative, where this syntax allows none"},
    {"PerlEmpty", "", 0, "Compiles · 0 groups"},
    {"ExtendedBrace", "a{2", 2, "Stops compiling at position 3: a { is never closed, or a } was never opened"},
    {"LookBehindWidth", "(?<=a+)b", 0,
     "Stops compiling at position 0: a reference to a group that does not exist, or a look-behind without a fixed width"},
    {"ExtendedHasNoBackReferences", "(a)\\1", 2, "Stops compiling at position 3: a bad or unfinished escape"},
    {"BasicBackReference", "\\(a\\)\\1", 1, "Compiles · 1 group"},
    {"RangeOutOfOrder", "[z-a]", 0,
     "Stops compiling at position 5: a class the library cannot take: an unknown class name, or a range whose ends are out of order"},
    {"RecursionIsUnsure", "a(?R)?", 0, "Compiles · 0 groups · unsure"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ExplainVerdict, testing::ValuesIn(verdictRows),
                         [](const testing::TestParamInfo<VerdictRow>& info) { return std::string(info.param.name); });

struct WarningRow {
    const char* name;
    const char* pattern;
    std::size_t begin, end;
    const char* starts;  // the warning's words begin so
};

class ExplainWarnings : public testing::TestWithParam<WarningRow> {};

TEST_P(ExplainWarnings, NamesTheSpan)
{
    const WarningRow& row = GetParam();
    const PatternExplanation e = ExplainPattern(row.pattern, 0, true);
    bool found = false;
    for (const ExplainWarning& w : e.warnings)
        found = found || (w.begin == row.begin && w.end == row.end && w.words.rfind(row.starts, 0) == 0);
    EXPECT_TRUE(found) << e.warnings.size() << " warnings";
}

const WarningRow warningRows[] = {
    {"NestedRepeat", "(a+)+", 0, 5, "A repeat inside a repeat"},
    {"CountedNestedRepeat", "(.*a){12}", 0, 9, "A repeat inside a repeat"},
    {"SameAlternativesRepeated", "(a|a)*", 1, 4, "Alternatives that can match the same text"},
    {"RepeatedGroup", "(a)*", 0, 4, "Group 1 is repeated: it keeps only the text of its last round"},
    {"EmptyAlternative", "a||b", 2, 2, "An empty alternative"},
    {"ItemTwice", "[aba]", 3, 4, "This item is already in the class"},
    {"RangeAcrossTheAlphabets", "[A-z]", 1, 4, "The range from an upper-case to a lower-case letter"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ExplainWarnings, testing::ValuesIn(warningRows),
                         [](const testing::TestParamInfo<WarningRow>& info) { return std::string(info.param.name); });

TEST(Explain, NoWarningForPlainPatterns)
{
    for (const char* pattern : {"(a)?b", "a+b+", "(?:ab)+", "[a-z]+", "(a|b)c"}) {
        const PatternExplanation e = ExplainPattern(pattern, 0, true);
        for (const ExplainWarning& w : e.warnings)
            ADD_FAILURE() << pattern << ": " << w.words;
    }
}

TEST(Explain, GroupNodesCarryTheirNumbersAndTheLibrarySpans)
{
    const PatternExplanation e = ExplainPattern("(?|(a)|(b))(c)", 0, true);
    ASSERT_TRUE(e.compiles);
    EXPECT_EQ(e.groups, 2u);
    const LibraryReading library = ReadPatternWithLibrary("(?|(a)|(b))(c)", 0, true);
    EXPECT_EQ(e.groupSpans, library.groupSpans);
    EXPECT_TRUE(HasNode(e.root, 7, 10, "Group 1, capturing: the text \"b\""));
    EXPECT_TRUE(HasNode(e.root, 11, 14, "Group 2, capturing: the text \"c\""));
}

TEST(Explain, WhatWasReadBeforeTheErrorStays)
{
    const PatternExplanation e = ExplainPattern("ab(c", 0, true);
    EXPECT_FALSE(e.compiles);
    EXPECT_EQ(e.errorPosition, 4u);
    EXPECT_TRUE(HasNode(e.root, 0, 2, "the text \"ab\""));
    EXPECT_TRUE(HasNode(e.root, 3, 4, "the text \"c\""));
}

TEST(Explain, LongLiteralIsOneNodeWithShortWords)
{
    const std::string pattern(1 << 20, 'x');
    const PatternExplanation e = ExplainPattern(pattern, 0, true);
    ASSERT_EQ(e.root.children.size(), 1u);
    const ExplainNode& run = e.root.children.front();
    EXPECT_EQ(run.end, pattern.size());
    EXPECT_LT(run.words.size(), 120u);
    EXPECT_NE(run.words.find("(1048576 characters)"), std::string::npos);
}

} // namespace
