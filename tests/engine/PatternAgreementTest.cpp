// The explainer reads patterns as the library does: over the fuzz corpus, the
// differential test's patterns and many patterns made of the fuzz
// dictionary's tokens, in every syntax and both cases, it accepts exactly what
// the library compiles, stops where the library stops, counts the library's
// groups and gives them the library's spans. A pattern the explainer marks
// unsure is counted apart; every other one must agree.
//
// TAMARIN_EXPLAIN_PATTERNS sets how many generated patterns per syntax (the
// default keeps the run short under the sanitizers).

#include "PatternExplain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace tamarin;

namespace {

struct Tally {
    long cases = 0, agreed = 0, unsure = 0, unsureAgreed = 0, disagreed = 0;
    std::vector<std::string> examples;
    std::vector<std::string> unsureExamples;  // unsure, and rightly so
};

std::string Printable(const std::string& pattern)
{
    std::string out;
    for (const char c : pattern) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", u);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

// Where the explanation and the library part, or empty when they agree.
std::string Difference(const PatternExplanation& ours, const LibraryReading& theirs)
{
    if (ours.compiles != theirs.compiles)
        return ours.compiles ? "we accept, the library rejects at " + std::to_string(theirs.errorPosition) +
                                   " (code " + std::to_string(theirs.errorCode) + ")"
                             : "we reject at " + std::to_string(ours.errorPosition) + ", the library compiles";
    if (!ours.compiles) {
        if (ours.errorPosition != theirs.errorPosition || ours.error != theirs.error)
            return "we stop at " + std::to_string(ours.errorPosition) + " kind " +
                   std::to_string(static_cast<int>(ours.error)) + ", the library at " +
                   std::to_string(theirs.errorPosition) + " kind " + std::to_string(static_cast<int>(theirs.error));
        return {};
    }
    if (ours.groups != theirs.groups)
        return "we count " + std::to_string(ours.groups) + " groups, the library " + std::to_string(theirs.groups);
    for (std::size_t n = 0; n < theirs.groupSpans.size(); ++n)
        if (ours.groupSpans.at(n) != theirs.groupSpans[n])
            return "group " + std::to_string(n + 1) + " at [" + std::to_string(ours.groupSpans[n].first) + "," +
                   std::to_string(ours.groupSpans[n].second) + "], the library at [" +
                   std::to_string(theirs.groupSpans[n].first) + "," + std::to_string(theirs.groupSpans[n].second) + "]";
    return {};
}

void Compare(const std::string& pattern, int syntax, bool caseSensitive, Tally& tally)
{
    const PatternExplanation ours = ExplainPattern(pattern, syntax, caseSensitive);
    const LibraryReading theirs = ReadPatternWithLibrary(pattern, syntax, caseSensitive);
    const std::string difference = Difference(ours, theirs);
    ++tally.cases;
    if (ours.unsure) {
        ++tally.unsure;
        tally.unsureAgreed += difference.empty();
        if (!difference.empty() && tally.unsureExamples.size() < 3)
            tally.unsureExamples.push_back("'" + Printable(pattern) + "' (" + ours.unsureWhy + "): " + difference);
        return;
    }
    if (difference.empty()) {
        ++tally.agreed;
        return;
    }
    ++tally.disagreed;
    if (tally.examples.size() < 12)
        tally.examples.push_back("'" + Printable(pattern) + "' case " + std::to_string(caseSensitive) + ": " + difference);
}

const char* const SyntaxNames[] = {"Perl", "POSIX Basic", "POSIX Extended"};

// The counts of one syntax, or of all three (syntax -1).
void Report(const char* corpus, const Tally (&tallies)[3], int only = -1)
{
    for (int syntax = 0; syntax < 3; ++syntax) {
        if (only >= 0 && syntax != only)
            continue;
        const Tally& t = tallies[syntax];
        std::printf("[agreement] %-10s %-15s %8ld cases: %8ld agree, %6ld unsure (%ld of them agree anyway), %ld disagree\n",
                    corpus, SyntaxNames[syntax], t.cases, t.agreed, t.unsure, t.unsureAgreed, t.disagreed);
        for (const std::string& example : t.examples)
            std::printf("    %s: %s\n", SyntaxNames[syntax], example.c_str());
        for (const std::string& example : t.unsureExamples)
            std::printf("    %s, unsure: %s\n", SyntaxNames[syntax], example.c_str());
        EXPECT_EQ(t.disagreed, 0) << corpus << " " << SyntaxNames[syntax];
    }
    std::fflush(stdout);
}

// The fuzz dictionary's tokens, unquoted.
std::vector<std::string> DictionaryTokens()
{
    std::ifstream in(TAMARIN_FUZZ_DIR "/regex.dict");
    std::vector<std::string> tokens;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 2 || line.front() != '"' || line.back() != '"')
            continue;
        std::string token;
        for (std::size_t i = 1; i + 1 < line.size(); ++i) {
            if (line[i] == '\\' && i + 2 < line.size() && line[i + 1] == 'x') {
                token += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else if (line[i] == '\\' && i + 2 < line.size()) {
                token += line[++i];
            } else {
                token += line[i];
            }
        }
        tokens.push_back(token);
    }
    return tokens;
}

// The fuzz directory is the build machine's path; a Windows build run under an
// emulator may not reach it, and then has only the other corpora.
bool FuzzDirectoryReachable()
{
    return std::filesystem::exists(TAMARIN_FUZZ_DIR "/regex.dict");
}

long GeneratedPerSyntax()
{
    if (const char* value = std::getenv("TAMARIN_EXPLAIN_PATTERNS"))
        return std::max(1L, std::atol(value));
    return 100000;
}

} // namespace

TEST(PatternAgreement, FuzzCorpus)
{
    if (!FuzzDirectoryReachable()) {
#ifdef _WIN32
        GTEST_SKIP() << "no " TAMARIN_FUZZ_DIR " here";
#else
        FAIL() << "no " TAMARIN_FUZZ_DIR;
#endif
    }
    Tally tallies[3];
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAMARIN_FUZZ_DIR "/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (data.size() < 5)
            continue;
        ++files;
        // As the fuzzer reads it: bytes 3 and 4 the pattern's length, then the pattern.
        const std::size_t length = static_cast<unsigned char>(data[3]) | static_cast<unsigned char>(data[4]) << 8;
        const std::string pattern = data.substr(5, length);
        for (int syntax = 0; syntax < 3; ++syntax)
            for (const bool caseSensitive : {false, true})
                Compare(pattern, syntax, caseSensitive, tallies[syntax]);
    }
    ASSERT_GT(files, 10);
    Report("fuzz", tallies);
}

TEST(PatternAgreement, DifferentialPatterns)
{
    // The pieces and the seed of DifferentialTest.cpp, and its number of rounds.
    static const char* const pieces[] = {
        "a", "b", "c", " ", ".", "*", "+", "?", "|", "(", ")", "[ab]", "[^a]", "\\w", "\\s", "\\d",
        "^", "$", "{2}", "{1,3}", "\\1", "(?:", "(?=", "(?!", "\\b", "x*", "\\(", "\\{", "\\}",
        "[[:alpha:]]", "(a|b)*", "(?R)", "\\n", "*?", "\\", "A", "B", "\xE9", "\xC9", "[\xE0-\xFF]",
    };
    std::mt19937 random(20261208);
    Tally tallies[3];
    for (int round = 0; round < 4000; ++round) {
        std::string pattern;
        const int count = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i)
            pattern += pieces[random() % std::size(pieces)];
        for (int syntax = 0; syntax < 3; ++syntax)
            for (const bool caseSensitive : {false, true})
                Compare(pattern, syntax, caseSensitive, tallies[syntax]);
    }
    Report("diff", tallies);
}

// Patterns of 1 to 9 tokens of the dictionary, and of the constructs it has
// no token for, each syntax with a seed of its own.
void CompareGenerated(int syntax)
{
    if (!FuzzDirectoryReachable()) {
#ifdef _WIN32
        GTEST_SKIP() << "no " TAMARIN_FUZZ_DIR " here";
#else
        FAIL() << "no " TAMARIN_FUZZ_DIR;
#endif
    }
    std::vector<std::string> tokens = DictionaryTokens();
    ASSERT_GT(tokens.size(), 50u);
    // Single characters too, which the dictionary's tokens leave out.
    for (const char* c : {"a", "b", "Z", "0", "9", "-", ",", ":", "=", "'", "<", ">", "#", " ", "\n", "{", "}",
                          "[", "\\", "x", "P", "&", "\xE9"})
        tokens.emplace_back(c);
    // And constructs of the three syntaxes that the dictionary has no token for.
    for (const char* c : {"(?'n'", "(?P>n)", "(?-1)", "(?+1)", "(?|", "\\g{n}", "\\k'n'", "\\g-1", "(?(<n>)",
                          "(?(R)", "(?(R1)", "(?(R&n)", "(?(DEFINE)", "(?(?=a)", "(?(?<!a)", "[z-a]", "[a-]",
                          "\\p{", "{,", "{1,2", "(?s)", "(?-i)", "(?m)", "(?-m)", "(?i:", "(?x:", "(*F)", "(*THEN)",
                          "\\R", "\\X", "\\C", "\\N{", "\\cA", "\\e", "\\x{41}", "\\012", "[\\d-z]", "[.",
                          "[:", "[=", "[[:<:]]", "[[.space.]]", "\\<", "\\>", "\\'", "\\`", "\\+", "\\?", "\\|",
                          "\\v", "\\h", "\\pL", "\\Q", "a{3,2}", "{ 2 }", "\\{1,\\}", "[[:^alpha:]]", "[]a]",
                          "[^]a]", "\\0377", "\\x7", "{99999999999999999999}"})
        tokens.emplace_back(c);
    const long count = GeneratedPerSyntax();
    Tally tallies[3];
    std::mt19937 random(29u + static_cast<unsigned>(syntax));
    for (long n = 0; n < count; ++n) {
        std::string pattern;
        const int pieces = 1 + static_cast<int>(random() % 9);
        for (int i = 0; i < pieces; ++i)
            pattern += tokens[random() % tokens.size()];
        Compare(pattern, syntax, (random() & 1) != 0, tallies[syntax]);
    }
    Report("generated", tallies, syntax);
}

TEST(PatternAgreement, GeneratedPerl) { CompareGenerated(0); }
TEST(PatternAgreement, GeneratedPosixBasic) { CompareGenerated(1); }
TEST(PatternAgreement, GeneratedPosixExtended) { CompareGenerated(2); }

namespace {

// Every node lies within its parent and after its elder sibling.
std::string BadNesting(const ExplainNode& node)
{
    if (node.begin > node.end)
        return "a node ends before it begins at " + std::to_string(node.begin);
    std::size_t previousEnd = node.begin;
    for (const ExplainNode& child : node.children) {
        if (child.begin < previousEnd || child.end > node.end)
            return "[" + std::to_string(child.begin) + "," + std::to_string(child.end) + ") outside [" +
                   std::to_string(previousEnd) + "," + std::to_string(node.end) + ")";
        previousEnd = child.end;
        if (std::string inner = BadNesting(child); !inner.empty())
            return inner;
    }
    return {};
}

// The capturing groups' nodes, by number: the first node of each number.
void GroupNodes(const ExplainNode& node, std::vector<const ExplainNode*>& groups)
{
    if (node.kind == ExplainKind::Group && node.group > 0) {
        if (groups.size() < static_cast<std::size_t>(node.group))
            groups.resize(static_cast<std::size_t>(node.group), nullptr);
        if (!groups[static_cast<std::size_t>(node.group) - 1])
            groups[static_cast<std::size_t>(node.group) - 1] = &node;
    }
    for (const ExplainNode& child : node.children)
        GroupNodes(child, groups);
}

} // namespace

// The tree itself: its spans nest, and each group's node has the number and
// the span the library gives that group.
TEST(PatternAgreement, TreeNestsAndGroupNodesHaveTheLibrarySpans)
{
    // Tokens that make groups in every syntax more often than the dictionary's.
    const std::vector<std::string> tokens = {"a", "b", "(", ")", "\\(", "\\)", "(a)", "(?:", "(?<n>", "(?|", "|", "*",
                                             "+", "?", "*?", "[ab]", "\\w", "{2}", "\\{2\\}", "\\1", "(?=", "(?(1)",
                                             "(?i)", "(?#c)", "\\Qa\\E", "[[:alpha:]]", "x"};
    for (int syntax = 0; syntax < 3; ++syntax) {
        std::mt19937 random(2900u + static_cast<unsigned>(syntax));
        int checked = 0;
        for (int n = 0; n < 8000; ++n) {
            std::string pattern;
            const int pieces = 1 + static_cast<int>(random() % 9);
            for (int i = 0; i < pieces; ++i)
                pattern += tokens[random() % tokens.size()];
            const PatternExplanation e = ExplainPattern(pattern, syntax, true);
            ASSERT_EQ(BadNesting(e.root), "") << Printable(pattern) << " syntax " << syntax;
            if (!e.compiles || e.unsure)
                continue;
            std::vector<const ExplainNode*> groups;
            GroupNodes(e.root, groups);
            const LibraryReading library = ReadPatternWithLibrary(pattern, syntax, true);
            ASSERT_EQ(groups.size(), library.groups) << Printable(pattern) << " syntax " << syntax;
            for (std::size_t g = 0; g < groups.size(); ++g) {
                ASSERT_NE(groups[g], nullptr) << Printable(pattern);
                // The library's span runs from the ( to the ); in POSIX Basic from the ( of \( to the ) of \).
                const std::size_t begin = groups[g]->begin + (syntax == 1 ? 1 : 0);
                EXPECT_EQ(begin, library.groupSpans[g].first) << Printable(pattern) << " group " << g + 1;
                ++checked;
            }
        }
        EXPECT_GT(checked, 50) << SyntaxNames[syntax];
    }
}
