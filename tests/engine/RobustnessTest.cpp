// Hostile input: patterns the library gives up on, NUL bytes, bytes above
// 0x7F, megabytes of text and patterns built to break the parser. The engine
// must end every evaluation with a defined result and a consistent report.

#include "EngineTestSupport.h"

#include <chrono>

using namespace tamarin;
using namespace tamarin::test;

namespace {

using Clock = std::chrono::steady_clock;

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

// The library gives up, quickly, instead of backtracking for ever (complexity
// limit), growing its backtracking stack without end, or recursing through
// deep nesting while it parses. Only the check, when on, says a word.
const std::string xs(40, 'x'), as(100000, 'a');

struct GiveUpCase {
    std::int32_t algorithm, syntax;
    std::string pattern;
    const std::string* input;
    bool compiles;
};

const GiveUpCase giveUpCases[] = {
    {1, 0, "(x+x+)+y", &xs, true},       {0, 0, "(x+x+)+y", &xs, true},         {1, 2, "(x+x+)+y", &xs, true},
    {0, 2, "(x+x+)+y", &xs, true},       {1, 0, "(.*x){20}y", &xs, true},       {1, 0, "a(?R)?b", &as, true},
    {0, 2, "(a|aa)+b", &as, true}, {1, 0, Repeat("(", 50000), &xs, false}, {0, 2, Repeat("(", 50000), &xs, false},
    {1, 1, Repeat("\\(", 50000), &xs, false},
};

class LibraryGivingUp : public ::testing::TestWithParam<GiveUpCase> {};

TEST_P(LibraryGivingUp, EndsInMinusTwoQuickly)
{
    const GiveUpCase& c = GetParam();
    const std::string& input = *c.input;
    for (const bool check : {false, true}) {
        SCOPED_TRACE(::testing::Message() << c.pattern.substr(0, 12) << " syntax " << c.syntax << " check " << check);
        Window<> w;
        w.state.AlgorithmIndex = c.algorithm;
        w.state.SyntaxIndex = c.syntax;
        w.Check(CheckControl::cfgSyntaxCheck, check);
        w.Enter(c.pattern, input);
        const bool rejected = check && !c.compiles;
        const auto start = Clock::now();
        EXPECT_EQ(DispatchRunner(w.ctx, input, 0), rejected ? -3 : -2);
        // Generous: sanitizers and a loaded machine slow it; a hang takes minutes.
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(w.Trigger(), 1);
        EXPECT_EQ(w.What0(), "");
        EXPECT_EQ(w.What1(), "");
        EXPECT_EQ(w.Tree(), "");
        EXPECT_EQ(w.view.Messages().size(), rejected ? 2u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Robustness, LibraryGivingUp, ::testing::ValuesIn(giveUpCases), [](const auto& info) {
    const GiveUpCase& c = info.param;
    return RowName({AlgorithmName(c.algorithm), SyntaxName(c.syntax), c.pattern}, info.index);
});

std::string Bytes(const char* text, std::size_t size) { return std::string(text, size); }

// NUL bytes, bytes above 0x7F and megabytes of text are matched byte for
// byte; positions and the mark stay inside the text.
const std::string nul = Bytes("ab\0cd\0ef", 8), high = "x\xE9\xFFy", before(4 << 20, 'a');
const std::string big = before + "needle" + std::string(1 << 20, 'b');

struct UnusualCase {
    std::int32_t algorithm, syntax;
    std::string pattern;
    const std::string* input;
    std::size_t pos, len;
};

const UnusualCase unusualCases[] = {
    {1, 0, "cd", &nul, 3, 2},       {1, 2, "e", &nul, 6, 1},           {1, 1, "f$", &nul, 7, 1},
    {1, 0, "\\x00", &nul, 2, 1},    {1, 0, Bytes("\0cd\0", 4), &nul, 2, 4}, {0, 0, ".*", &nul, 0, 8},
    {0, 2, "a.*f", &nul, 0, 8},     {1, 0, "\xE9", &high, 1, 1},       {1, 0, "\\xFF", &high, 2, 1},
    {1, 2, "\xE9\xFF*", &high, 1, 2}, {1, 1, "y", &high, 3, 1},
    {1, 0, "needle", &big, before.size(), 6},       {1, 1, "needle", &big, before.size(), 6},
    {1, 2, "ne+dle", &big, before.size(), 6},       {1, 0, "b$", &big, big.size() - 1, 1},
    {0, 0, "a*needleb*", &big, 0, big.size()},      {0, 1, "a*needleb*", &big, 0, big.size()},
};

class UnusualText : public ::testing::TestWithParam<UnusualCase> {};

TEST_P(UnusualText, IsMatchedByteForByte)
{
    const UnusualCase& c = GetParam();
    const std::string& input = *c.input;
    SCOPED_TRACE(::testing::Message() << "/" << c.pattern << "/ syntax " << c.syntax << " pos " << c.pos);
    Window<> w;
    w.state.AlgorithmIndex = c.algorithm;
    w.state.SyntaxIndex = c.syntax;
    w.Check(CheckControl::cfgHighLight);
    w.Enter(c.pattern, input);
    EXPECT_EQ(w.Trigger(), 1);
    ExpectConsistentReport(w, 1, input);
    EXPECT_EQ(w.view.TopLevelNodes().at(0)->children.at(0)->text,
              "Pos : " + std::to_string(c.pos) + "  Len : " + std::to_string(c.len));
    EXPECT_EQ(w.view.SelStart(), static_cast<std::int32_t>(c.pos));
    EXPECT_EQ(w.view.GetSelLength(), static_cast<std::int32_t>(c.len));
}

INSTANTIATE_TEST_SUITE_P(Robustness, UnusualText, ::testing::ValuesIn(unusualCases), [](const auto& info) {
    const UnusualCase& c = info.param;
    return RowName({AlgorithmName(c.algorithm), SyntaxName(c.syntax), c.pattern}, info.index);
});

// Every pattern in every syntax and algorithm, with the check off and on:
// a defined result and a consistent report, and the check agrees with the
// runner's own compile (it rejects exactly what the runner's compile throws on).
const std::string hostilePatterns[] = {
    Repeat("(", 50000), Repeat("\\(", 50000), Repeat(")", 50000), Repeat("(?:", 50000),
    Repeat("(", 50000) + "a" + Repeat(")", 50000), Repeat("(", 399) + "a" + Repeat(")", 399),
    Repeat("\\(", 399) + "a" + Repeat("\\)", 399), Repeat("a|", 20000) + "b", Repeat("[", 50000),
    "a{2147483647}", "a{2147483648}", "a\\{2147483647\\}", "a{99999999999}", "(a{1000}){1000}{1000}",
    "\\9", "(a)\\2", "\\(a\\)\\2", "\\k<x>", "\\g{-3}", "[", "]", "[a", "a)", ")", "[[:nope:]]", "[z-a]",
    "(?R)", "a(?R)?b", "(?1)", "((?1))", "(?R)*", "(?<=a+)b", "(?<!a*)b", "(?<=a|bc)d", "", "\\", "*",
    "+a", "?", "{1}", "a**", "\\x{FFFFFFFF}", "(?i", "(?#", "\\Q(", "[\x80-\xFF]+", "\xE9*", Bytes("a\0b", 3),
    "(x+x+)+y", "^$", "$^", "\\b\\B",
    // Look-behinds wider than an int: the library's width sum overflows.
    "(?<=.{2147483647}.)b", "(?<!.{2147483647}a.{5})b", "(?<=.{2147483647}aaaaaaaaa.{2147483641}b)x",
};

class HostilePattern : public ::testing::TestWithParam<std::string> {};

TEST_P(HostilePattern, InEverySyntax)
{
    const std::string& pattern = GetParam();
    static const char raw[] = "aaa(b)[c]\\ a{2147483647} xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\xE9\0end";
    const std::string input(raw, sizeof raw - 1);
    for (const std::int32_t syntax : {0, 1, 2})
        for (const std::int32_t algorithm : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << "/" << pattern.substr(0, 40) << "/ syntax " << syntax
                                              << " algorithm " << algorithm);
            RunnerResult result[2] = {};
            for (const bool check : {false, true}) {
                Window<> w;
                w.state.AlgorithmIndex = algorithm;
                w.state.SyntaxIndex = syntax;
                w.Check(CheckControl::cfgSyntaxCheck, check);
                w.Check(CheckControl::cfgHighLight);
                w.Enter(pattern, input);
                result[check] = DispatchRunner(w.ctx, input, 0);
                ExpectConsistentReport(w, result[check], input);
                EXPECT_EQ(w.Trigger(), result[check] == -1 ? 0 : 1);
            }
            if (result[true] == -3)
                EXPECT_EQ(result[false], -2);
            else
                EXPECT_EQ(result[true], result[false]);
        }
}

INSTANTIATE_TEST_SUITE_P(Robustness, HostilePattern, ::testing::ValuesIn(hostilePatterns),
                         [](const auto& info) { return RowName({info.param}, info.index); });

} // namespace
