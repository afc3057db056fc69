// What the matcher's work budget decides: patterns that would make the
// library backtrack for seconds or recurse for minutes give up (-2, the panes
// empty), and patterns that take little work but much backtracking memory
// match inputs of megabytes. The budget counts steps and bytes, never time,
// so these outcomes are the same on every run.

#include "EngineTestSupport.h"
#include "WorkBudget.h"

#include <algorithm>
#include <functional>
#include <limits>

using namespace tamarin;
using namespace tamarin::test;

namespace {

std::string Lines(std::size_t size)
{
    static const char words[] = "lorem ipsum dolor sit amet consectetur\n";
    std::string text;
    while (text.size() < size)
        text += words;
    text.resize(size);
    return text;
}

std::string OneLine(std::size_t size)
{
    std::string text = Lines(size);
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string Alternating(std::size_t size, char a, char b)
{
    std::string text(size, a);
    for (std::size_t i = 0; i < size; i += 3)
        text[i] = b;
    return text;
}

struct BudgetCase {
    const char* name;
    std::int32_t algorithm, syntax;
    std::string pattern;
    std::function<std::string()> input;
    RunnerResult result;
    EvaluationOutcome::Stage stage;  // for -2: where the library gave up
    std::int64_t pos, len;          // for a match; -1: the whole input
};

std::ostream& operator<<(std::ostream& out, const BudgetCase& c) { return out << c.name; }

class WorkBudget : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(WorkBudget, DecidesTheOutcome)
{
    const BudgetCase& c = GetParam();
    const std::string input = c.input();
    Window<> w;
    w.state.AlgorithmIndex = c.algorithm;
    w.state.SyntaxIndex = c.syntax;
    w.Enter(c.pattern, input);
    EvaluationOutcome outcome;
    w.ctx.outcome = &outcome;

    const RunnerResult result = DispatchRunner(w.ctx, input, 0);
    ASSERT_EQ(result, c.result);
    EXPECT_EQ(outcome.result, result);
    if (result == ResultLibraryThrew) {
        EXPECT_EQ(outcome.stage, c.stage);
        EXPECT_EQ(w.What0(), "");
        EXPECT_EQ(w.What1(), "");
        EXPECT_EQ(w.Tree(), "");
        return;
    }
    const std::int64_t len = c.len < 0 ? static_cast<std::int64_t>(input.size()) : c.len;
    EXPECT_EQ(outcome.pos, c.pos);
    EXPECT_EQ(outcome.len, len);
    EXPECT_EQ(w.view.TopLevelNodes().at(0)->children.at(0)->text,
              "Pos : " + std::to_string(c.pos) + "  Len : " + std::to_string(len));
}

using Stage = EvaluationOutcome::Stage;
const auto as = [] { return std::string(100000, 'a'); };
const auto xs = [] { return std::string(100000, 'x'); };
constexpr std::size_t TwoMegabytes = 2 << 20;
// Past the memory ceiling for a match that keeps its groups (about 110 bytes
// per character), within it for one that keeps none (about 70).
constexpr std::size_t EightMegabytes = 8 << 20;

INSTANTIATE_TEST_SUITE_P(GivesUp, WorkBudget, ::testing::Values(
    BudgetCase{"NestedPlus", 1, 0, "(a+)+b", as, -2, Stage::Match, 0, 0},
    BudgetCase{"NestedStarBasic", 0, 1, "\\(a*\\)*b", as, -2, Stage::Match, 0, 0},
    BudgetCase{"OverlappingRepeats", 1, 2, "(x+x+)+y", xs, -2, Stage::Match, 0, 0},
    BudgetCase{"OverlappingAlternatives", 0, 2, "(a|aa)+b", as, -2, Stage::Match, 0, 0},
    BudgetCase{"DotStarRepeated", 1, 0, "(.*a){12}b", as, -2, Stage::Match, 0, 0},
    // Without the budget counting recursion this ran for minutes.
    BudgetCase{"Recursion", 1, 0, "a(?R)?b", as, -2, Stage::Match, 0, 0},
    BudgetCase{"RecursionMatch", 0, 0, "a(?R)?b", as, -2, Stage::Match, 0, 0},
    // The condition reads group 1 back, so the groups are kept: past the
    // memory ceiling, although the per-character budget would have allowed it.
    BudgetCase{"KeptGroupsPastTheCeiling", 1, 0, "(.|\\n)*(?(1)|x)", [] { return Lines(EightMegabytes); }, -2, Stage::Match, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Matches, WorkBudget, ::testing::Values(
    BudgetCase{"DotOrNewlineOverLines", 1, 0, "(.|\\n)*", [] { return Lines(TwoMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"DotOrNewlineOneLine", 0, 2, "(.|\n)*", [] { return OneLine(TwoMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"AnyClass", 0, 0, "[\\s\\S]*", [] { return Lines(TwoMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"Alternation", 0, 2, "(a|b)*", [] { return Alternating(TwoMegabytes, 'a', 'b'); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"NonCapturing", 1, 0, "(?:x|y)+", [] { return Alternating(TwoMegabytes, 'x', 'y'); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"WordsToEnd", 1, 0, "(\\w+\\s?)*$", [] { return OneLine(TwoMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"KeptGroupsBelowTheCeiling", 1, 0, "(.|\\n)*(?(1)|x)", [] { return Lines(TwoMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"DroppedGroupsWithinTheCeiling", 1, 0, "(.|\\n)*", [] { return Lines(EightMegabytes); }, 1, Stage::Runner, 0, -1},
    BudgetCase{"ShallowRecursion", 1, 0, "\\((?:[^()]|(?R))*\\)", [] { return std::string("x(a(b)(c(d)))y"); }, 1, Stage::Runner, 1, 12},
    BudgetCase{"DeepNesting", 1, 0, std::string(300, '(') + "b" + std::string(300, ')'), [] { return std::string("abc"); }, 1, Stage::Runner, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Patterns that hung the compiler of older releases for ever, and nesting
// deeper than the parser takes (400 levels), end at once.
INSTANTIATE_TEST_SUITE_P(CompilesOrFailsAtOnce, WorkBudget, ::testing::Values(
    BudgetCase{"PossessiveBeforeComment", 1, 0, "(a++(?#x))", [] { return std::string("aaa"); }, 1, Stage::Runner, 0, 3},
    BudgetCase{"FuzzedHang", 1, 0, "(>++(?#E\\<)C", [] { return std::string(">>C"); }, -2, Stage::Compile, 0, 0},
    BudgetCase{"NestingTooDeep", 1, 0, std::string(10000, '(') + "b" + std::string(10000, ')'), [] { return std::string("abc"); }, -2, Stage::Compile, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The budget grows with the input up to 10 MB as it always has, and stops at
// its ceilings from there on, however long the input.
struct SizeCase {
    const char* name;
    std::ptrdiff_t length;
    std::ptrdiff_t steps;
    std::size_t memory;
};

std::ostream& operator<<(std::ostream& out, const SizeCase& c) { return out << c.name; }

class BudgetBySize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BudgetBySize, GrowsUpToItsCeilings)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(MatchStepBudget(c.length, 40), c.steps);
    EXPECT_EQ(BacktrackMemoryBudget(c.length), c.memory);
}

constexpr std::size_t MiB = std::size_t{1} << 20;

INSTANTIATE_TEST_SUITE_P(Sizes, BudgetBySize, ::testing::Values(
    SizeCase{"OneMegabyte", 1'000'000, 13'000'000, 8 * MiB + 128'000'000},
    SizeCase{"FiveMegabytes", 5'000'000, 45'000'000, 8 * MiB + 640'000'000},
    SizeCase{"TenMegabytes", 10'000'000, 85'000'000, MaxBacktrackMemory},
    SizeCase{"FiftyMegabytes", 50'000'000, MaxMatchSteps, MaxBacktrackMemory},
    SizeCase{"HundredMegabytes", 100'000'000, MaxMatchSteps, MaxBacktrackMemory},
    SizeCase{"Largest", std::numeric_limits<std::ptrdiff_t>::max(), MaxMatchSteps, MaxBacktrackMemory}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BudgetCeilings, LeaveTheMachineItsMemory)
{
    EXPECT_LE(MaxBacktrackMemory, 1024 * MiB);
    // What matched 10 MB before the ceilings still fits under them.
    EXPECT_GE(MaxBacktrackMemory, 10'000'000 * std::size_t{70});
    EXPECT_GT(MaxMatchSteps, 85'000'000);
}

} // namespace
