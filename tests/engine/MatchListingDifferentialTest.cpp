// The matches window lists what the library's iterator finds and replaces as
// its regex_replace does: over the differential corpus and random cases, in
// every syntax, both cases and both algorithms, the listing (every match,
// every group, taken part or not) and the replacement (all four formats,
// with and without each option) equal the library's, byte for byte, wherever
// the library at its own defaults finishes.

#include "DifferentialCorpus.h"
#include "MatchListing.h"
#include "ReferenceRegex.h"
#include "Replacement.h"

#include <gtest/gtest.h>

#include <random>

using namespace tamarin;
using namespace tamarin::test;

namespace {

using Rows = std::vector<std::vector<std::ptrdiff_t>>;

Rows EngineRows(const ListingQuery& query, ListingOutcome& outcome)
{
    MatchList list;
    const std::atomic<bool> cancel{false};
    RunListing(query, list, cancel);
    outcome = list.Outcome();
    Rows rows;
    for (std::int64_t row = 0; row < list.Listed(); ++row) {
        std::vector<std::ptrdiff_t> spans;
        for (std::int32_t g = 0; g <= list.GroupCount(); ++g) {
            const MatchSpan span = list.Span(row, g);
            spans.push_back(span.position);
            spans.push_back(span.length);
        }
        rows.push_back(std::move(spans));
    }
    EXPECT_EQ(list.Counted(), list.Listed());
    return rows;
}

std::string RandomFormat(std::mt19937& random)
{
    static const char* const pieces[] = {
        "$&", "$1", "${2}", "$+{w}", "$+{v}", "$+", "$`", "$'", "$$", "$", "${", "$9", "$10", "\\U", "\\L",
        "\\E", "\\u", "\\l", "&", "\\1", "\\2", "\\0", "\\", "(?1yes:no)", "?2[", "(", ")", ":", "x", "-",
        "\\n", "\\x41", "\\x{42}", "\\xZ", "$MATCH", "${^MATCH}", "?{w}y:n", "?{1}(a:b)", "\xE9", "{", "}",
    };
    std::string format;
    const int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i)
        format += pieces[random() % std::size(pieces)];
    return format;
}

struct Counts {
    int listings = 0, matches = 0, withGroups = 0, notTaken = 0, replacements = 0, skipped = 0;
};

// One pattern and input in every syntax, case and algorithm; the formats
// in every kind, and each with every combination of the two options when
// `allOptions`, else one combination chosen by `random`.
void Compare(const std::string& pattern, const std::string& input, const std::vector<std::string>& formats,
             bool allOptions, std::mt19937& random, Counts& counts)
{
    for (const int algorithm : {0, 1})
        for (const int syntax : {0, 1, 2})
            for (const bool caseSensitive : {false, true}) {
                SCOPED_TRACE("pattern '" + pattern + "' input '" + input + "' algorithm " +
                             std::to_string(algorithm) + " syntax " + std::to_string(syntax) + " case " +
                             std::to_string(caseSensitive));
                const reference::Listing expected =
                    reference::List(pattern, input, algorithm, syntax, caseSensitive);
                if (expected.threw) {
                    ++counts.skipped;
                    continue;
                }
                const ListingQuery query{pattern, input, syntax, caseSensitive, algorithm};
                ListingOutcome outcome;
                const Rows rows = EngineRows(query, outcome);
                ASSERT_EQ(outcome.end, ListingEnd::Finished);
                ASSERT_EQ(rows, expected.matches);
                ++counts.listings;
                counts.matches += static_cast<int>(rows.size());
                for (const auto& row : rows) {
                    counts.withGroups += row.size() > 2;
                    for (std::size_t i = 2; i < row.size(); i += 2)
                        counts.notTaken += row[i] < 0;
                }
                const std::atomic<bool> cancel{false};
                for (const std::string& format : formats)
                    for (int kind = 0; kind < 4; ++kind)
                        for (int options = 0; options < 4; ++options) {
                            const int chosen = allOptions ? options : static_cast<int>(random() % 4);
                            const bool firstOnly = chosen & 1, noCopy = chosen & 2;
                            const reference::Replaced wanted = reference::Replace(
                                pattern, input, algorithm, syntax, caseSensitive, format, kind, firstOnly, noCopy);
                            ASSERT_FALSE(wanted.threw);
                            const ReplaceResult got = Replace(
                                query, {format, static_cast<FormatKind>(kind), firstOnly, noCopy}, cancel);
                            SCOPED_TRACE("format '" + format + "' kind " + std::to_string(kind) + " first " +
                                         std::to_string(firstOnly) + " no copy " + std::to_string(noCopy));
                            ASSERT_EQ(got.end, ListingEnd::Finished);
                            ASSERT_EQ(got.text, wanted.text);
                            ASSERT_FALSE(got.cutAtLimit);
                            ++counts.replacements;
                            if (!allOptions)
                                break;
                        }
            }
}

TEST(MatchListingDifferential, RandomCasesAsTheLibrary)
{
    std::mt19937 random(20261210);
    Counts counts;
    for (int round = 0; round < 2500; ++round) {
        std::string pattern = RandomPattern(random);
        // Some with a named group around it, for $+{w} and ?{w}.
        if (round % 4 == 0)
            pattern = "(?<w>" + pattern + ")";
        std::string input = RandomInput(random);
        if (round % 3 == 0)
            input += RandomInput(random) + RandomInput(random);
        const std::vector<std::string> formats = {RandomFormat(random), RandomFormat(random)};
        Compare(pattern, input, formats, round < 300, random, counts);
        // Whatever the format, its warnings point into it.
        const PatternFacts facts = DescribeGroups({pattern, input, 0, true, 1});
        for (const std::string& format : formats)
            for (int kind = 0; kind < 4; ++kind)
                for (const FormatWarning& w : FormatWarnings(format, static_cast<FormatKind>(kind), facts)) {
                    ASSERT_GE(w.start, 0) << format;
                    ASSERT_GT(w.length, 0) << format;
                    ASSERT_LE(w.start + w.length, static_cast<std::int64_t>(format.size())) << format;
                }
        if (HasFatalFailure())
            return;
    }
    // The generator must keep producing matches with groups, taken part or
    // not, or the comparison proves little.
    EXPECT_GT(counts.listings, 10000);
    EXPECT_GT(counts.matches, 12000);
    EXPECT_GT(counts.withGroups, 3000);
    EXPECT_GT(counts.notTaken, 1500);
    EXPECT_GT(counts.replacements, 100000);
    std::printf("listings %d (matches %d, with groups %d, groups not taking part %d), replacements %d, "
                "skipped where the library threw %d\n",
                counts.listings, counts.matches, counts.withGroups, counts.notTaken, counts.replacements,
                counts.skipped);
}

class ListingCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(ListingCorpus, AsTheLibrary)
{
    const CorpusCase& c = GetParam();
    std::mt19937 random(7);
    Counts counts;
    const std::vector<std::string> formats = {"[$&|$1|$2|$+{w}]", "<\\1&>", "(?1<$1>:-)?{w}w:v", "$", "\\U$&\\E$'"};
    Compare(c.pattern, c.input, formats, true, random, counts);
    Compare(c.pattern, c.input + c.input + "\n" + c.input, formats, true, random, counts);
    EXPECT_GT(counts.listings, 0);
}

std::vector<CorpusCase> ListingCases()
{
    std::vector<CorpusCase> cases = GroupReadBackCorpus();
    const std::vector<CorpusCase> more = {
        {"EmptyMatches", "a*", "baaacab"},
        {"EmptyAfterNonEmpty", "a*?|b", "abba"},
        {"Anchors", "^|$", "ab\ncd\n"},
        {"WordBoundaries", "\\b", "ab cd"},
        {"LookBehindGroup", "(?<=(a))b", "abab"},
        {"NamedGroups", "(?<w>\\w)(?'v'\\d)?(?P<u>x)?", "a1xb c2"},
        {"NestedOptional", "((a)|(b))+", "abbaxab"},
        {"ResetBranch", "(?|(a)|(b))c", "acbc"},
        {"KeepOut", "a\\Kb", "abab"},
        {"Alternatives", "ab|a|", "aabab"},
        {"CaseFolding", "[a-z\xE9]+", "AbC \xC9\xE9 x"},
    };
    cases.insert(cases.end(), more.begin(), more.end());
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Corpus, ListingCorpus, ::testing::ValuesIn(ListingCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
