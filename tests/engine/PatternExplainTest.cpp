// What the explainer says of a pattern: its nodes with their spans and words
// in each syntax, the verdict line, the warnings. (That it reads patterns as
// the library does is PatternAgreementTest's.)

#include "PatternExplain.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

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
    {"FreeSpacingDropsWhiteSpace", "(?x)a b", 0, true, 4, 7, "the text \"ab\""},
    {"FreeSpacingComment", "(?x)a#note\nb", 0, true, 5, 11, "A comment, ignored: \"note\\x0A\""},
    {"HexEscape", "\\x41", 0, true, 0, 4, "the character \"A\""},
    {"ControlEscape", "\\cA", 0, true, 0, 3, "the character 0x01"},
    {"OctalEscape", "\\012", 0, true, 0, 4, "the character line feed (\\n)"},
    {"NamedCharacter", "\\N{space}", 0, true, 0, 9, "the character space"},
    {"RecursionCondition", "(?(R)a|b)", 0, true, 2, 5, "Condition: inside a recursion"},
    {"DefineCondition", "(?(DEFINE)(?<n>a))(?&n)", 0, true, 2, 10,
     "Condition: never true (DEFINE: groups written only to be called by recursion)"},
    {"RecursionByName", "(?(DEFINE)(?<n>a))(?&n)", 0, true, 18, 23, "the pattern of group \"n\" again, recursively"},
    {"LookAheadCondition", "(?(?=a)ab|c)", 0, true, 2, 7, "Look-ahead: followed by the text \"a\""},
    {"BranchReset", "(?|(a)|(b))", 0, true, 0, 11,
     "Group, not capturing, each alternative numbering its groups from the same number: One of 2 alternatives"},
    {"StartOfText", "\\Aa", 0, true, 0, 2, "the start of the text"},
    {"EndOfText", "a\\z", 0, true, 1, 3, "the end of the text"},
    {"SoftEnd", "a\\Z", 0, true, 1, 3, "the end of the text, or before a line break that ends it"},
    {"Continue", "\\Ga", 0, true, 0, 2, "where the previous match ended"},
    {"WordStart", "\\<a", 0, true, 0, 2, "the start of a word"},
    {"WordEndInClassForm", "a[[:>:]]", 0, true, 1, 8, "the end of a word"},
    {"NegatedNamedClass", "[[:^alpha:]]", 0, true, 1, 11, "any character but a letter"},
    {"LineEnding", "a\\R", 0, true, 1, 3, "a line break: \\r\\n, or one of \\n \\v \\f \\r and 0x85"},
    {"Combining", "\\X", 0, true, 0, 2, "one character and the marks that combine with it"},
    {"DotMatchesLineBreaks", "(?s).", 0, true, 4, 5, "any character, line breaks too"},
    {"DotWithoutLineBreaks", "(?-s).", 0, true, 5, 6, "any character but a line break"},
    {"BasicBarIsText", "a\\|b", 1, true, 1, 3,
     "the character \"|\" (in POSIX Basic this escape stands for the character itself)"},
    {"BasicLeadingStarIsText", "^*a", 1, true, 1, 3,
     "the text \"*a\""},
    {"ExtendedAlternatives", "a|b", 2, true, 0, 3, "One of 2 alternatives"},
    {"ExtendedClassEscapeStillAClass", "[\\d]", 2, true, 1, 3, "a digit"},
    // One pattern, three readings.
    {"BasicBracesAreText", "a{2}", 1, true, 0, 4,
     "the text \"a{2}\" (in POSIX Basic { } stand for themselves; Perl and POSIX Extended read them as operators)"},
    {"ExtendedBracesCount", "a{2}", 2, true, 0, 4, "exactly 2 times (as many as possible): the text \"a\""},
    {"BasicParenthesesAreText", "(a)", 1, true, 0, 3,
     "the text \"(a)\" (in POSIX Basic ( ) stand for themselves; Perl and POSIX Extended read them as operators)"},
    {"PerlEscapedParenthesis", "\\(a\\)", 0, true, 0, 2, "the character \"(\""},
    {"PerlClassEscape", "\\d", 0, true, 0, 2, "a digit"},
    {"BasicClassEscapeIsTheLetter", "\\d", 1, true, 0, 2,
     "the character \"d\" (in POSIX Basic this escape stands for the character itself)"},
    {"ExtendedWordBoundary", "\\bx", 2, true, 0, 2, "a word boundary"},
    {"PerlLineAnchorInTextMode", "(?-m)^a", 0, true, 5, 6, "the start of the text"},
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
     "Stops compiling at position 0: a look-behind that can match texts of different lengths"},
    {"RecursionToNoGroup", "(?3)(a)", 0, "Stops compiling at position 0: a recursion into a group that does not exist"},
    {"EmptyAtomicGroup", "a(?>)", 0, "Stops compiling at position 1: an atomic group with nothing in it"},
    {"ExtendedHasNoBackReferences", "(a)\\1", 2, "Stops compiling at position 3: a bad or unfinished escape"},
    {"BasicBackReference", "\\(a\\)\\1", 1, "Compiles · 1 group"},
    {"RangeOutOfOrder", "[z-a]", 0,
     "Stops compiling at position 5: a class the library cannot take: an unknown class name, or a range whose ends are out of order"},
    {"RecursionBeforeAnyCharacterIsUnsure", "(?R)?a", 0, "Compiles · 0 groups · unsure"},
    {"RecursionAfterACharacterIsSure", "a(?R)?", 0, "Compiles · 0 groups"},
    {"QuantifierAfterPossessiveIsUnsure", "(a)b++\\Q\\E*", 0, "Compiles · 1 group · unsure"},
};

struct ErrorRow {
    const char* name;
    const char* pattern;
    int syntax;
    std::size_t position;
    PatternError error;
};

class ExplainErrors : public testing::TestWithParam<ErrorRow> {};

// Where and why the library stops, as it stops (each row checked against it too).
TEST_P(ExplainErrors, StopsWhereTheLibraryStops)
{
    const ErrorRow& row = GetParam();
    const PatternExplanation e = ExplainPattern(row.pattern, row.syntax, true);
    EXPECT_FALSE(e.compiles);
    EXPECT_EQ(e.errorPosition, row.position);
    EXPECT_EQ(e.error, row.error);
    EXPECT_FALSE(e.errorWords.empty());
    const LibraryReading library = ReadPatternWithLibrary(row.pattern, row.syntax, true);
    EXPECT_FALSE(library.compiles);
    EXPECT_EQ(library.errorPosition, row.position);
    EXPECT_EQ(library.error, row.error);
}

const ErrorRow errorRows[] = {
    {"UnclosedGroup", "a(b", 0, 3, PatternError::Paren},
    {"UnopenedGroup", "ab)", 0, 2, PatternError::Paren},
    {"UnclosedClass", "[ab", 0, 3, PatternError::Bracket},
    {"UnknownClassName", "[[:foo:]]", 0, 3, PatternError::ClassName},
    {"UnknownCollatingName", "[[.foo.]]", 0, 3, PatternError::Collate},
    {"RepeatAtTheStart", "+a", 0, 0, PatternError::BadRepeat},
    {"RepeatOfAnAnchor", "^*", 0, 2, PatternError::BadRepeat},
    {"RepeatAfterPossessive", "a++*", 0, 3, PatternError::BadRepeat},
    {"CountsOutOfOrder", "a{3,2}", 0, 4, PatternError::BadBrace},
    {"TrailingBackslash", "a\\", 0, 2, PatternError::Escape},
    {"BadHexEscape", "\\xg", 0, 0, PatternError::Escape},
    {"BackReferenceToNoGroup", "(a)\\2", 0, 5, PatternError::BackReference},
    {"EmptyLookAhead", "a(?=)", 0, 1, PatternError::PerlExtension},
    {"UnknownExtension", "(?Q)", 0, 0, PatternError::PerlExtension},
    {"UnknownVerb", "(*NOPE)", 0, 0, PatternError::PerlExtension},
    // The library rewinds to the nearest ( before the end: the condition's.
    {"TwoBarsInAConditional", "(?(1)a|b|c)", 0, 2, PatternError::BadPattern},
    {"RecursionToNoGroup", "(?2)(a)", 0, 0, PatternError::BadPattern},
    {"BasicTrailingBackslash", "a\\", 1, 2, PatternError::Paren},
    {"BasicUnclosedInterval", "a\\{2", 1, 4, PatternError::Brace},
    {"BasicRepeatOfAGroupStart", "\\(*a\\)", 1, 3, PatternError::BadRepeat},
    {"BasicEmptyPattern", "", 1, 0, PatternError::Empty},
    {"ExtendedLoneCloseBrace", "a}", 2, 1, PatternError::Brace},
    {"ExtendedRepeatAtTheStart", "*a", 2, 0, PatternError::BadRepeat},
    {"ExtendedUnclosedInterval", "a{1,", 2, 4, PatternError::Brace},
    {"ExtendedOctalBackReference", "\\1", 2, 0, PatternError::Escape},
};

INSTANTIATE_TEST_SUITE_P(Rows, ExplainErrors, testing::ValuesIn(errorRows),
                         [](const testing::TestParamInfo<ErrorRow>& info) { return std::string(info.param.name); });

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

TEST(Explain, OrdinaryPatternsAreSure)
{
    for (const char* pattern : {"(a)(?<n>b)\\k<n>", "(?<=ab)c|d", "[[:alpha:]]+", "(?(1)a|b)", "a++b"})
        EXPECT_FALSE(ExplainPattern(pattern, 0, true).unsure) << pattern;
}

TEST(Explain, SpansOfGroupsInEachSyntax)
{
    // POSIX Basic counts a group from its (, after the backslash, as the library does.
    const struct {
        const char* pattern;
        int syntax;
        std::vector<std::pair<std::size_t, std::size_t>> spans;
    } rows[] = {
        {"(a)(?<n>b(c))", 0, {{0, 2}, {3, 12}, {9, 11}}},
        {"\\(a\\(b\\)\\)", 1, {{1, 9}, {4, 7}}},
        {"((a)|b)", 2, {{0, 6}, {1, 3}}},
    };
    for (const auto& row : rows) {
        const PatternExplanation e = ExplainPattern(row.pattern, row.syntax, true);
        EXPECT_EQ(e.groupSpans, row.spans) << row.pattern;
        EXPECT_EQ(ReadPatternWithLibrary(row.pattern, row.syntax, true).groupSpans, row.spans) << row.pattern;
    }
}

TEST(Explain, SameResultOnManyThreads)
{
    // The window explains off its own thread: the explainer shares nothing that changes.
    std::vector<std::string> patterns;
    for (int i = 0; i < 300; ++i)
        patterns.push_back("(a" + std::to_string(i) + ")[[:alpha:]]{" + std::to_string(i % 7) + "}(?<=x)|\\w+?");
    std::vector<std::string> expected;
    for (const std::string& p : patterns)
        expected.push_back(ExplanationVerdict(ExplainPattern(p, 0, false)) + Tree(ExplainPattern(p, 0, false).root));
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < patterns.size(); ++i) {
                const PatternExplanation e = ExplainPattern(patterns[i], 0, false);
                mismatches[static_cast<std::size_t>(t)] += ExplanationVerdict(e) + Tree(e.root) != expected[i];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(Explain, NoWarningForPlainPatterns)
{
    for (const char* pattern : {"(a)?b", "a+b+", "(?:ab)+", "[a-z]+", "(a|b)c", "(?>a+)+", "(?:a++)+", "[a-zA-Z]",
                                "(?:a|b)*", "x{2}(?:y|z){3}"}) {
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

namespace {

bool IsUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

void ExpectUtf8(const ExplainNode& node)
{
    EXPECT_TRUE(IsUtf8(node.words)) << node.words;
    for (const ExplainNode& child : node.children)
        ExpectUtf8(child);
}

} // namespace

// The pattern's bytes are the code page's; the words are shown as UTF-8, also
// where long words are cut (a class of many such characters, a long run).
TEST(Explain, WordsAreUtf8WhateverThePatternHolds)
{
    std::string manyInAClass = "[";
    for (int i = 0; i < 80; ++i)
        manyInAClass += "\xE9\x80";
    manyInAClass += "]";
    for (const std::string& pattern : {std::string("\xE9\x80+"), manyInAClass, std::string(200, '\x9C') + "|x",
                                       std::string("(\xE9)\\1[\xC0-\xDE]")}) {
        const PatternExplanation explanation = ExplainPattern(pattern, 0, true);
        EXPECT_TRUE(explanation.compiles) << pattern;
        ExpectUtf8(explanation.root);
        for (const ExplainWarning& warning : explanation.warnings)
            EXPECT_TRUE(IsUtf8(warning.words)) << warning.words;
    }
    EXPECT_TRUE(HasNode(ExplainPattern("\xE9", 0, true).root, 0, 1, "the text \"\xC3\xA9\""));
}
