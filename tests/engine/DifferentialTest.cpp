// The work budget must cost nothing that the library finds by itself: over
// many small random patterns and inputs, in every syntax, both algorithms and
// both cases, the engine reports what the library with its own default limits
// reports, wherever that finishes without throwing.

#include "EngineTestSupport.h"
#include "DifferentialCorpus.h"
#include "ReferenceRegex.h"

#include <random>

using namespace tamarin;
using namespace tamarin::test;

namespace {

// The engine's runner over `input` as the window would run it, its outcome in `outcome`.
RunnerResult RunEngine(Window<>& w, EvaluationOutcome& outcome, const std::string& pattern,
                       const std::string& input, std::int32_t algorithm, std::int32_t syntax, bool caseSensitive)
{
    w.state.AlgorithmIndex = algorithm;
    w.state.SyntaxIndex = syntax;
    w.Check(CheckControl::cbCaseSensitive, caseSensitive);
    w.Enter(pattern, input);
    w.ctx.outcome = &outcome;
    return DispatchRunner(w.ctx, input, 0);
}

TEST(Differential, SameResultAsTheLibraryDefaults)
{
    std::mt19937 random(20261208);
    int compared = 0, matches = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string pattern = RandomPattern(random);
        const std::string input = RandomInput(random);
        for (const std::int32_t algorithm : {0, 1})
            for (const std::int32_t syntax : {0, 1, 2})
                for (const bool caseSensitive : {false, true}) {
                    const reference::Result expected =
                        reference::Run(pattern, input, algorithm, syntax, caseSensitive);
                    if (expected.status == reference::Result::Threw)
                        continue;
                    Window<> w;
                    EvaluationOutcome outcome;
                    const RunnerResult result =
                        RunEngine(w, outcome, pattern, input, algorithm, syntax, caseSensitive);
                    SCOPED_TRACE("pattern '" + pattern + "' input '" + input + "' algorithm " +
                                 std::to_string(algorithm) + " syntax " + std::to_string(syntax) +
                                 " case " + std::to_string(caseSensitive));
                    ++compared;
                    if (expected.status == reference::Result::NoMatch) {
                        ASSERT_EQ(result, ResultNoMatch);
                        continue;
                    }
                    ++matches;
                    ASSERT_EQ(result, ResultMatched);
                    ASSERT_EQ(outcome.pos, expected.pos);
                    ASSERT_EQ(outcome.len, expected.len);
                    ExpectConsistentReport(w, result, input);
                }
    }
    // The generator must keep producing both outcomes, or the test proves little.
    EXPECT_GT(compared, 15000);
    EXPECT_GT(matches, 2000);
    EXPECT_GT(compared - matches, 2000);
}

// A match keeps no groups unless the pattern reads one back; every way of
// reading one back must still give the library's own answer.
using GroupCase = CorpusCase;

class GroupsReadBack : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupsReadBack, SameResultAsTheLibraryDefaults)
{
    const GroupCase& c = GetParam();
    for (const std::int32_t algorithm : {0, 1}) {
        SCOPED_TRACE("algorithm " + std::to_string(algorithm));
        const reference::Result expected = reference::Run(c.pattern, c.input, algorithm, 0, true);
        ASSERT_NE(expected.status, reference::Result::Threw);
        Window<> w;
        w.state.AlgorithmIndex = algorithm;
        w.Check(CheckControl::cbCaseSensitive, true);
        w.Enter(c.pattern, c.input);
        EvaluationOutcome outcome;
        w.ctx.outcome = &outcome;
        const RunnerResult result = DispatchRunner(w.ctx, c.input, 0);
        if (expected.status == reference::Result::NoMatch) {
            EXPECT_EQ(result, ResultNoMatch);
            continue;
        }
        ASSERT_EQ(result, ResultMatched);
        EXPECT_EQ(outcome.pos, expected.pos);
        EXPECT_EQ(outcome.len, expected.len);
    }
}

INSTANTIATE_TEST_SUITE_P(Perl, GroupsReadBack, ::testing::ValuesIn(GroupReadBackCorpus()),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// Long runs of literal text are compiled a run at once and grow the compiled
// expression's storage far past its first block; whatever surrounds them
// (repeats, groups, free-spacing mode), the engine must still find what the
// library finds, at the same place.
TEST(Differential, LongLiteralsSameResultAsTheLibraryDefaults)
{
    const auto run = [](std::size_t length) {
        // Not periodic: a search then fails within a few characters at
        // almost every place, and the test stays quick.
        static const char letters[] = "abcXyz\xE9\xC9q ";
        std::minstd_rand random(static_cast<unsigned>(length));
        std::string text(length, ' ');
        for (char& c : text)
            c = letters[random() % (sizeof letters - 1)];
        return text;
    };
    for (const std::size_t length : {1023u, 1024u, 1025u, 5000u, 70000u}) {
        const std::string text = run(length);
        std::string changed = text;
        changed[length / 2] = '!';
        std::string shouted = text;
        for (char& c : shouted)
            c = c == '\xE9' ? '\xC9' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string patterns[] = {text, text + "*", "x|" + text, text + "[ab]" + text, "(" + text + ")\\1", "(?x)" + text};
        const std::string inputs[] = {text, "zz" + text + "bb" + text, changed + "a" + changed, shouted};
        for (const std::string& pattern : patterns)
            for (const std::string& input : inputs)
                for (const std::int32_t algorithm : {0, 1})
                    for (const std::int32_t syntax : {0, 1, 2})
                        for (const bool caseSensitive : {false, true}) {
                            const reference::Result expected =
                                reference::Run(pattern, input, algorithm, syntax, caseSensitive);
                            Window<> w;
                            EvaluationOutcome outcome;
                            const RunnerResult result =
                                RunEngine(w, outcome, pattern, input, algorithm, syntax, caseSensitive);
                            SCOPED_TRACE("length " + std::to_string(length) + " pattern of " +
                                         std::to_string(pattern.size()) + " starting '" + pattern.substr(0, 12) +
                                         "', input of " + std::to_string(input.size()) + ", algorithm " +
                                         std::to_string(algorithm) + " syntax " + std::to_string(syntax) +
                                         " case " + std::to_string(caseSensitive));
                            const RunnerResult wanted = expected.status == reference::Result::Match ? ResultMatched
                                                        : expected.status == reference::Result::NoMatch
                                                            ? ResultNoMatch
                                                            : ResultLibraryThrew;
                            ASSERT_EQ(result, wanted);
                            if (result == ResultMatched) {
                                ASSERT_EQ(outcome.pos, expected.pos);
                                ASSERT_EQ(outcome.len, expected.len);
                            }
                        }
    }
}
