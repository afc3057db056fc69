// Evaluate end to end: what each algorithm, syntax and case option reports,
// every runner result and what it leaves behind, the order of the window
// operations, the dispatch table, and failures of the window itself.

#include "EngineTestSupport.h"

#include <algorithm>
#include <climits>
#include <set>

using namespace tamarin;
using namespace tamarin::test;

namespace {

constexpr bool Sensitive = true, Insensitive = false;

struct MatchCase {
    std::int32_t algorithm, syntax;
    bool caseSensitive;
    const char *pattern, *input;
    std::int32_t evaluated;
    const char *tree, *what1, *what0;
};

const MatchCase matchCases[] = {
    // Perl
    {0, 0, Insensitive, "abc", "abc", 1, "abc[Pos : 0  Len : 3]", "", ""},
    {0, 0, Insensitive, "b", "abc", 0, "", "", ""},
    {0, 0, Sensitive, "ABC", "abc", 0, "", "", ""},
    {1, 0, Insensitive, "b", "abc", 1, "b[Pos : 1  Len : 1]", "a", "c"},
    {1, 0, Insensitive, "a", "banana", 1, "a[Pos : 1  Len : 1]", "b", "nana"},
    {1, 0, Insensitive, "x*", "abc", 1, "[Pos : 0  Len : 0]", "", "abc"},
    {1, 0, Insensitive, "c", "abc", 1, "c[Pos : 2  Len : 1]", "ab", ""},
    {1, 0, Insensitive, "(a)(b)", "xab", 1, "ab[Pos : 1  Len : 2]", "x", ""},
    {1, 0, Insensitive, "B", "abc", 1, "b[Pos : 1  Len : 1]", "a", "c"},
    {1, 0, Sensitive, "B", "abc", 0, "", "", ""},
    {1, 0, Insensitive, "\\d+", "ab123c", 1, "123[Pos : 2  Len : 3]", "ab", "c"},
    {1, 0, Insensitive, "a|ab", "xab", 1, "a[Pos : 1  Len : 1]", "x", "b"},
    {1, 0, Insensitive, "^b|c$", "bcb", 1, "b[Pos : 0  Len : 1]", "", "cb"},
    // POSIX Basic: only \( \) \{ \} are operators
    {1, 1, Insensitive, "a\\{2\\}", "baa", 1, "aa[Pos : 1  Len : 2]", "b", ""},
    {0, 1, Insensitive, "(a)", "(a)", 1, "(a)[Pos : 0  Len : 3]", "", ""},
    {1, 1, Insensitive, "a+", "baa+", 1, "a+[Pos : 2  Len : 2]", "ba", ""},
    {1, 1, Insensitive, "a|b", "b", 0, "", "", ""},
    {1, 1, Insensitive, "A\\(B\\)", "xab", 1, "ab[Pos : 1  Len : 2]", "x", ""},
    {1, 1, Sensitive, "A\\(B\\)", "xab", 0, "", "", ""},
    {1, 1, Insensitive, "^a*$", "aaa", 1, "aaa[Pos : 0  Len : 3]", "", ""},
    // POSIX Extended: leftmost longest
    {1, 2, Insensitive, "a{2}", "baa", 1, "aa[Pos : 1  Len : 2]", "b", ""},
    {1, 2, Insensitive, "a|ab", "xab", 1, "ab[Pos : 1  Len : 2]", "x", ""},
    {0, 2, Insensitive, "(a|b)+", "abba", 1, "abba[Pos : 0  Len : 4]", "", ""},
    {1, 2, Insensitive, "B+", "abbc", 1, "bb[Pos : 1  Len : 2]", "a", "c"},
    {1, 2, Sensitive, "B+", "abbc", 0, "", "", ""},
};

class MatchTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchTable, ReportsOverAlgorithmSyntaxAndCase)
{
    const MatchCase& c = GetParam();
    SCOPED_TRACE(::testing::Message() << "algorithm " << c.algorithm << " syntax " << c.syntax
                                      << " case " << c.caseSensitive << " /" << c.pattern << "/ on '" << c.input << "'");
    Window<> w;
    w.state.AlgorithmIndex = c.algorithm;
    w.state.SyntaxIndex = c.syntax;
    w.Check(CheckControl::cbCaseSensitive, c.caseSensitive);
    w.Enter(c.pattern, c.input);
    w.view.SetText(TextControl::what0, "stale");
    w.view.SetText(TextControl::what1, "stale");
    EXPECT_EQ(w.Trigger(), c.evaluated);
    EXPECT_EQ(w.Tree(), c.tree);
    EXPECT_EQ(w.What1(), c.what1);
    EXPECT_EQ(w.What0(), c.what0);
    EXPECT_TRUE(w.view.Messages().empty());
    EXPECT_EQ(CurrentPattern, c.pattern);
}

INSTANTIATE_TEST_SUITE_P(EvaluateReports, MatchTable, ::testing::ValuesIn(matchCases), [](const auto& info) {
    const MatchCase& c = info.param;
    return RowName({AlgorithmName(c.algorithm), SyntaxName(c.syntax), CaseName(c.caseSensitive), c.pattern}, info.index);
});

// Every failure path, started with stale panes and a node the handler did not
// clear: only "no match" cleans up, the others leave the tree alone.
struct PathCase {
    const char* name;
    std::int32_t algorithm, syntax;
    bool syntaxCheck;
    const char *pattern, *editor, *snapshot;
    RunnerResult result;
    std::int32_t evaluated;
    const char* tree;
    std::size_t messages;
};

const PathCase pathCases[] = {
    {"no match, Match", 0, 0, false, "b", "abc", "abc", -1, 0, "", 0},
    {"no match, Search", 1, 2, false, "z", "abc", "abc", -1, 0, "", 0},
    {"no match: the editor is searched, not the snapshot", 1, 0, false, "a", "", "abc", -1, 0, "", 0},
    {"no runner for Replace", 2, 0, false, "a", "abc", "abc", -1, 0, "", 0},
    {"Replace never validates", 2, 0, true, "(", "abc", "abc", -1, 0, "", 0},
    {"compile throws with the check off", 1, 0, false, "(", "abc", "abc", -2, 1, "kept", 0},
    {"compile throws, Basic", 0, 1, false, "\\(", "abc", "abc", -2, 1, "kept", 0},
    {"check rejects, Perl", 1, 0, true, "(", "abc", "abc", -3, 1, "kept", 1},
    {"check rejects, Extended", 0, 2, true, "[", "abc", "abc", -3, 1, "kept", 1},
    {"empty snapshot", 1, 0, false, "a", "abc", "", -4, 1, "kept", 0},
    {"empty snapshot comes before the check", 1, 0, true, "(", "abc", "", -4, 1, "kept", 0},
};

class FailurePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(FailurePath, AndWhatItLeaves)
{
    const PathCase& c = GetParam();
    for (const bool throughEvaluate : {false, true}) {
        Window<> w;
        w.state.AlgorithmIndex = c.algorithm;
        w.state.SyntaxIndex = c.syntax;
        w.Check(CheckControl::cfgSyntaxCheck, c.syntaxCheck);
        w.Enter(c.pattern, c.editor);
        w.state.InputSnapshot = c.snapshot;
        w.view.SetText(TextControl::what0, "stale");
        w.view.SetText(TextControl::what1, "stale");
        w.view.AddNode("kept");
        static const std::string earlier = "earlier";
        CurrentPattern = earlier;
        if (throughEvaluate) {
            EXPECT_EQ(Evaluate(w.ctx), c.evaluated);
            EXPECT_EQ(w.What0(), "");
            EXPECT_EQ(w.What1(), "");
            EXPECT_EQ(w.Tree(), c.tree);
        } else {
            EXPECT_EQ(DispatchRunner(w.ctx, c.editor, 0), c.result);
            EXPECT_EQ(w.Tree(), "kept");  // a failing runner adds nothing
        }
        EXPECT_EQ(w.view.Messages(), std::vector<std::string>(c.messages, InvalidPatternMessage));
        // Set by every runner that gets past the empty-input test, kept otherwise.
        const bool runnerPassedInputTest = (c.algorithm == 0 || c.algorithm == 1) && c.result != -4;
        EXPECT_EQ(CurrentPattern.data(), runnerPassedInputTest ? w.state.PatternSnapshot.data() : earlier.data());
    }
}

INSTANTIATE_TEST_SUITE_P(EvaluateReports, FailurePath, ::testing::ValuesIn(pathCases),
                         [](const auto& info) { return RowName({info.param.name}); });

// The exact order of reads and writes on each path.
struct TraceCase {
    const char* name;
    std::int32_t algorithm;
    bool syntaxCheck, highLight;
    const char *pattern, *snapshot;
    std::vector<std::string> ops;  // after "SetText what0 ''", "SetText what1 ''"
};

const std::vector<std::string> runnerStart = {"GetText reSearch", "IsChecked cbCaseSensitive",
                                              "IsChecked cbCaseSensitive", "IsChecked cfgSyntaxCheck"};
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const TraceCase traceCases[] = {
    {"match, reported and marked", 1, true, true, "an", "banana",
     runnerStart + std::vector<std::string>{
         "TextLength reSearch", "SetText what0 'ana'", "SetText what1 'b'", "AddNode 'an'", "NodeByIndex 0",
         "AddChildNode 'an' <- 'Pos : 1  Len : 2'", "IsChecked cfgHighLight", "SetSelStart 1", "SetSelLength 2",
         "GetSelLength", "SetSelColor 0x008000", "GetSelStyle", "SetSelStyle 3", "SetSelStyle 1"}},
    {"match, highlight off: nothing after the box is read", 0, true, false, "banana", "banana",
     runnerStart + std::vector<std::string>{"TextLength reSearch", "SetText what0 ''", "SetText what1 ''",
                                            "AddNode 'banana'", "NodeByIndex 0",
                                            "AddChildNode 'banana' <- 'Pos : 0  Len : 6'", "IsChecked cfgHighLight"}},
    {"empty match is not coloured", 1, false, true, "x*", "banana",
     runnerStart + std::vector<std::string>{"TextLength reSearch", "SetText what0 'banana'", "SetText what1 ''",
                                            "AddNode ''", "NodeByIndex 0", "AddChildNode '' <- 'Pos : 0  Len : 0'",
                                            "IsChecked cfgHighLight", "SetSelStart 0", "SetSelLength 0", "GetSelLength"}},
    {"no match", 1, true, true, "z", "banana",
     runnerStart + std::vector<std::string>{"SetText what0 ''", "SetText what1 ''", "ClearTree"}},
    {"rejected", 1, true, true, "(", "banana",
     runnerStart + std::vector<std::string>{"ShowMessage 'Invalid Regular Expression'"}},
    {"empty snapshot", 1, true, true, "a", "", {"GetText reSearch", "IsChecked cbCaseSensitive"}},
    {"Replace", 2, true, true, "a", "banana", {"SetText what0 ''", "SetText what1 ''", "ClearTree"}},
};

class OperationOrder : public ::testing::TestWithParam<TraceCase> {};

TEST_P(OperationOrder, OnEveryPath)
{
    const TraceCase& c = GetParam();
    Window<ProbeView> w;
    w.state.AlgorithmIndex = c.algorithm;
    w.Check(CheckControl::cfgSyntaxCheck, c.syntaxCheck);
    w.Check(CheckControl::cfgHighLight, c.highLight);
    w.Enter(c.pattern, "banana");
    w.view.FormatInput(1, 1, fsItalic);
    w.state.InputSnapshot = c.snapshot;
    w.view.log.clear();
    Evaluate(w.ctx);
    EXPECT_EQ(w.view.log, (std::vector<std::string>{"SetText what0 ''", "SetText what1 ''"} + c.ops));
}

INSTANTIATE_TEST_SUITE_P(EvaluateReports, OperationOrder, ::testing::ValuesIn(traceCases),
                         [](const auto& info) { return RowName({info.param.name}); });

// DispatchRunner must call the same runner as the table names. Three probes
// tell the six runners apart; each cell must give the named runner's outcome.
std::string Outcome(RunnerResult (*run)(const EngineContext&, std::string_view, std::int32_t), std::int32_t algorithm,
                    std::int32_t syntax)
{
    std::string outcome;
    for (const auto& [pattern, input] : {std::pair{"a+", "aa"}, std::pair{"a", "ba"}, std::pair{"(?:a)", "a"}}) {
        Window<> w;
        w.state.AlgorithmIndex = algorithm;
        w.state.SyntaxIndex = syntax;
        w.Enter(pattern, input);
        outcome += std::to_string(run ? run(w.ctx, input, 0) : DispatchRunner(w.ctx, input, 0)) + ":" + w.Tree() + ";";
    }
    return outcome;
}

using Runner = RunnerResult (*)(const EngineContext&, std::string_view, std::int32_t);
const Runner matchRunners[] = {MatchPerl, MatchBasic, MatchExtended};
const Runner searchRunners[] = {SearchPerl, SearchBasic, SearchExtended};

TEST(Dispatch, ProbesTellTheSixRunnersApart)
{
    std::set<std::string> distinct;
    for (int s = 0; s < 3; ++s)
        distinct.insert({Outcome(matchRunners[s], 0, 0), Outcome(searchRunners[s], 1, 0)});
    ASSERT_EQ(distinct.size(), 6u) << "the probes do not tell the runners apart";
}

// One cell of the table: (algorithm, syntax).
class DispatchTable : public ::testing::TestWithParam<std::tuple<std::int32_t, std::int32_t>> {};

TEST_P(DispatchTable, ChoosesRunnerByAlgorithmThenSyntax)
{
    const auto [algorithm, syntax] = GetParam();
    const Runner expected = (algorithm == 0 ? matchRunners : searchRunners)[syntax >= 0 && syntax <= 2 ? syntax : 0];
    EXPECT_EQ(Outcome(nullptr, algorithm, syntax), Outcome(expected, algorithm, syntax));
}

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchTable,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Values(0, 1, 2, 3, 5, -1, INT32_MIN)),
                         [](const auto& info) {
                             return AlgorithmName(std::get<0>(info.param)) + "_" + SyntaxName(std::get<1>(info.param));
                         });

class AlgorithmWithoutRunner : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(AlgorithmWithoutRunner, TouchesNothingAndReadsNoInput)
{
    const std::int32_t algorithm = GetParam();
    Window<ProbeView> w;
    w.state.AlgorithmIndex = algorithm;
    w.Enter("a", "abc");
    w.view.AddNode("kept");
    w.view.log.clear();
    EXPECT_EQ(DispatchRunner(w.ctx, "abc", 0), -1);
    EXPECT_TRUE(w.view.log.empty());
    EXPECT_EQ(Evaluate(w.ctx), 0);
    EXPECT_EQ(std::count(w.view.log.begin(), w.view.log.end(), "GetText reSearch"), 0);
    EXPECT_EQ(w.Tree(), "");
}

INSTANTIATE_TEST_SUITE_P(Dispatch, AlgorithmWithoutRunner, ::testing::Values(2, 3, -1, INT32_MAX),
                         [](const auto& info) { return AlgorithmName(info.param); });

// A window operation that throws never escapes Evaluate. Inside the report
// it ends the runner with -2 and what was written stays.
struct FailingCase {
    const char *failOn, *pattern;
    std::int32_t evaluated;
    const char *tree, *what1;
};

const FailingCase failingCases[] = {
    {"SetText what0", "an", 0, "", ""},
    {"GetText reSearch", "an", 0, "", ""},
    {"IsChecked cbCaseSensitive", "an", 0, "", ""},
    {"ShowMessage", "(", 0, "", ""},
    {"ClearTree", "z", 0, "", ""},
    {"AddNode", "an", 1, "", "b"},
    {"SetSelColor", "an", 1, "an[Pos : 1  Len : 2]", "b"},
};

class FailingWindowOperation : public ::testing::TestWithParam<FailingCase> {};

TEST_P(FailingWindowOperation, NeverEscapesEvaluate)
{
    const FailingCase& c = GetParam();
    Window<ProbeView> w;
    w.Check(CheckControl::cfgSyntaxCheck);
    w.Check(CheckControl::cfgHighLight);
    w.Enter(c.pattern, "banana");
    w.view.failOn = c.failOn;
    std::int32_t result = -99;
    EXPECT_NO_THROW(result = Evaluate(w.ctx));
    EXPECT_EQ(result, c.evaluated);
    EXPECT_EQ(w.Tree(), c.tree);
    EXPECT_EQ(w.What1(), c.what1);
}

INSTANTIATE_TEST_SUITE_P(EvaluateReports, FailingWindowOperation, ::testing::ValuesIn(failingCases),
                         [](const auto& info) { return RowName({info.param.failOn}); });

} // namespace
