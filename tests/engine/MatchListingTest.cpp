// What the matches window relies on beyond matching as the library does: a
// listing can be stopped, keeps what it found when a search gives up, counts
// past its limit; the pattern's groups and errors in our words; line and
// column of a place; the text of a cell; replacement limits and pieces; the
// format tokens the library would write as they are.

#include "CellText.h"
#include "MatchListing.h"
#include "Replacement.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

using namespace tamarin;

namespace {

using Clock = std::chrono::steady_clock;

ListingQuery Search(std::string pattern, std::string input, std::int32_t syntax = 0)
{
    return {std::move(pattern), std::move(input), syntax, true, 1};
}

// Starts a listing on a thread of its own, cancels it once `ready` says so
// and tells how long it took to stop.
double SecondsToStop(const ListingQuery& query, MatchList& list, const std::function<bool()>& ready)
{
    std::atomic<bool> cancel{false};
    std::thread worker([&] { RunListing(query, list, cancel); });
    const auto waitFrom = Clock::now();
    while (!ready() && !list.Ended() && Clock::now() - waitFrom < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto cancelled = Clock::now();
    cancel = true;
    worker.join();
    return std::chrono::duration<double>(Clock::now() - cancelled).count();
}

TEST(MatchListing, CancelStopsBetweenMatchesAndKeepsTheRows)
{
    std::string text;
    for (int i = 0; i < 2'000'000; ++i)
        text += "word ";
    MatchList list;
    const double stop = SecondsToStop(Search("\\w+", text), list, [&] { return list.Listed() > 1000; });
    ASSERT_TRUE(list.Ended());
    EXPECT_EQ(list.Outcome().end, ListingEnd::Cancelled);
    EXPECT_LT(stop, 0.1);
    EXPECT_GT(list.Listed(), 1000);
    EXPECT_LT(list.Listed(), 2'000'000);
    const MatchSpan last = list.Span(list.Listed() - 1, 0);
    EXPECT_EQ(last.position, 5 * (list.Listed() - 1));
    EXPECT_EQ(last.length, 4);
}

TEST(MatchListing, CancelStopsWithinOneSearchThatTriesEveryPlace)
{
#ifdef _WIN32
    // Under Wine the search ends another way before the cancel comes, or one
    // try outlasts the bound: its timing is Linux's to prove.
    GTEST_SKIP() << "timing checked on Linux";
#endif
    // No match anywhere, and every try reads to the end of its run of a's:
    // one search that would work until its budget is spent. The input is long
    // enough that the budget is the largest there is, which even an optimised
    // build spends in far more than the wait before the cancel; its runs are
    // short, so that no single try (which reads the flag only when it starts
    // and when it backtracks) outlasts the bound.
    std::string input;
    for (int run = 0; run < 10'000; ++run)
        input += std::string(1'999, 'a') + 'x';
    MatchList list;
    const auto started = Clock::now();
    const double stop = SecondsToStop(Search("(?:a|b)+c", input), list, [&] {
        return Clock::now() - started > std::chrono::milliseconds(30);
    });
    ASSERT_TRUE(list.Ended());
    EXPECT_EQ(list.Outcome().end, ListingEnd::Cancelled);
    EXPECT_LT(stop, 0.1);
}

TEST(MatchListing, CancelStopsWithinOneTryThatBacktracks)
{
    // One try at the first place that backtracks until its budget is spent;
    // then a listing that needs the backtracking memory again, as the next
    // one after a cancel does.
    const std::string input = std::string(1'000'000, 'x');
    for (const char* pattern : {"(x+x+)+y", "(?:x+x+)+y", "(x+)*+y|(x+x+)+y"}) {
        MatchList list;
        const auto started = Clock::now();
        const double stop = SecondsToStop(Search(pattern, input), list, [&] {
            return Clock::now() - started > std::chrono::milliseconds(30);
        });
        ASSERT_TRUE(list.Ended());
        EXPECT_EQ(list.Outcome().end, ListingEnd::Cancelled) << pattern;
        EXPECT_LT(stop, 0.1) << pattern;
    }
    MatchList after;
    const std::atomic<bool> cancel{false};
    RunListing(Search("(x(x))+", "xxxx-xx"), after, cancel);
    ASSERT_EQ(after.Listed(), 2);
    EXPECT_EQ(after.Span(1, 2).position, 6);
}

TEST(MatchListing, GiveUpKeepsTheMatchesBeforeIt)
{
    const std::string input = "ab ab ab " + std::string(100'000, 'a');
    MatchList list;
    const std::atomic<bool> cancel{false};
    RunListing(Search("(a|aa)+b", input), list, cancel);
    const ListingOutcome& outcome = list.Outcome();
    EXPECT_EQ(outcome.end, ListingEnd::GaveUp);
    EXPECT_EQ(outcome.reason, "the pattern needs too much work there");
    EXPECT_EQ(outcome.gaveUpAt, 8);  // where the search after the third match started
    ASSERT_EQ(list.Listed(), 3);
    EXPECT_EQ(list.Span(2, 0).position, 6);
    EXPECT_EQ(list.Span(2, 1).position, 6);
    EXPECT_GT(outcome.seconds, 0);
}

TEST(MatchListing, PastTheLimitCountsOn)
{
    MatchList list;
    const std::atomic<bool> cancel{false};
    int told = 0;
    RunListing(Search("a(b)?", std::string(5000, 'a')), list, cancel, [&] { ++told; }, {1000, MaxListBytes});
    EXPECT_EQ(list.Outcome().end, ListingEnd::Finished);
    EXPECT_TRUE(list.Outcome().listFull);
    EXPECT_EQ(list.Capacity(), 1000);
    EXPECT_EQ(list.Listed(), 1000);
    EXPECT_EQ(list.Counted(), 5000);
    EXPECT_EQ(list.Span(999, 0).position, 999);
    EXPECT_FALSE(list.Span(999, 1).Matched());
    EXPECT_FALSE(list.Span(1000, 0).Matched());  // past the list: nothing
    EXPECT_GE(told, 2);                          // the first match and the end at least
    // The bytes bound the rows too: each row of two groups takes 24 bytes.
    MatchList few;
    RunListing(Search("(a)(b)?", std::string(100, 'a')), few, cancel, {}, {1000, 24 * 10});
    EXPECT_EQ(few.Listed(), 10);
    EXPECT_EQ(few.Counted(), 100);
    // The real limits list ten million matches of a plain pattern.
    MatchList plain;
    RunListing(Search("a", "a"), plain, cancel);
    EXPECT_EQ(plain.Capacity(), MaxListedMatches);
    EXPECT_FALSE(plain.Outcome().listFull);
}

TEST(MatchListing, MatchListsTheWholeInputOnly)
{
    const std::atomic<bool> cancel{false};
    for (const auto& [input, rows] : {std::pair{"2026-12", 1}, {"x2026-12", 0}}) {
        MatchList list;
        RunListing({"(\\d+)-(\\d+)|(x)", input, 0, true, 0}, list, cancel);
        EXPECT_EQ(list.Outcome().end, ListingEnd::Finished);
        ASSERT_EQ(list.Listed(), rows) << input;
        if (rows) {
            EXPECT_EQ(list.Span(0, 2).position, 5);
            EXPECT_FALSE(list.Span(0, 3).Matched());
        }
    }
}

struct ErrorCase {
    const char* pattern;
    std::int32_t syntax;
    const char* words;
    std::int64_t position;
};

TEST(MatchListing, CompileErrorsInOurWords)
{
    // The positions are where the library stopped reading the pattern.
    const ErrorCase cases[] = {
        {"ab(c", 0, "a ( is never closed: the pattern ends at position 4", 4},
        {"ab)c", 2, "a ) at position 2 closes no group", 2},
        {"[ab", 0, "a [ at position 3 is never closed", 3},
        {"a{2", 2, "a { at position 3 is never closed", 3},
        {"*a", 0, "the repeat at position 0 has nothing to repeat", 0},
        {"a{3,1}", 0, "the repeat count in { } at position 4 is not valid", 4},
        {"[b-a]", 0, "the character class or range before position 5 is not valid", 5},
        {"[[:foo:]]", 1, "the character class or range before position 3 is not valid", 3},
        {"a\\", 0, "a \\ escapes nothing it may escape at position 2", 2},
        {"(?<x", 0, "the (? group at position 0 is not one this syntax knows", 0},
        {"a\\2", 0, "a back-reference at position 3 names a group that is not there", 3},
    };
    for (const ErrorCase& c : cases) {
        const PatternFacts facts = DescribeGroups({c.pattern, "x", c.syntax, true, 1});
        EXPECT_FALSE(facts.compiles) << c.pattern;
        EXPECT_EQ(facts.error, c.words) << c.pattern;
        EXPECT_EQ(facts.errorPosition, c.position) << c.pattern;
    }
    MatchList list;
    const std::atomic<bool> cancel{false};
    RunListing({"(", "x", 0, true, 1}, list, cancel);
    EXPECT_EQ(list.Outcome().end, ListingEnd::PatternError);
    EXPECT_EQ(list.Facts().error, "a ( is never closed: the pattern ends at position 1");
}

TEST(MatchListing, GroupsTheirNamesAndPlaces)
{
    const std::string perl = "(?<year>\\d+)-(?'m'\\d+)(?:-(?<d>\\d+))?(x(y))";
    const PatternFacts facts = DescribeGroups({perl, "", 0, true, 1});
    ASSERT_TRUE(facts.compiles);
    ASSERT_EQ(facts.groups.size(), 5u);
    const std::pair<const char*, const char*> wanted[] = {
        {"year", "(?<year>\\d+)"}, {"m", "(?'m'\\d+)"}, {"d", "(?<d>\\d+)"}, {"", "(x(y))"}, {"", "(y)"}};
    for (std::size_t i = 0; i < 5; ++i) {
        const GroupFacts& g = facts.groups[i];
        EXPECT_EQ(g.number, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(g.name, wanted[i].first);
        EXPECT_EQ(perl.substr(static_cast<std::size_t>(g.patternStart), static_cast<std::size_t>(g.patternLength)),
                  wanted[i].second);
    }
    const std::string basic = "a\\(b*\\)c";
    const PatternFacts basicFacts = DescribeGroups({basic, "", 1, true, 1});
    ASSERT_EQ(basicFacts.groups.size(), 1u);
    EXPECT_EQ(basic.substr(static_cast<std::size_t>(basicFacts.groups[0].patternStart),
                           static_cast<std::size_t>(basicFacts.groups[0].patternLength)),
              "\\(b*\\)");
    // A look-behind is no group, and neither is a name inside a class.
    EXPECT_EQ(DescribeGroups({"(?<=a)[(?<n>)]", "", 0, true, 1}).groups.size(), 0u);
}

TEST(LinePlaces, AsCountedOneCharacterAtATime)
{
    std::mt19937 random(3);
    std::string text(300'000, 'x');
    for (char& c : text)
        if (random() % 40 == 0)
            c = '\n';
    text[65535] = '\n';
    text[65536] = '\n';
    const LinePlaces places(text);
    std::int64_t line = 1, column = 1;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i % 97 == 0 || (i > 65530 && i < 65540) || i == text.size()) {
            const LinePlaces::Place place = places.At(static_cast<std::int64_t>(i));
            ASSERT_EQ(place.line, line) << i;
            ASSERT_EQ(place.column, column) << i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    EXPECT_EQ(LinePlaces(SharedText()).At(0).line, 1);
}

TEST(CellText, InvisibleCharactersShownAndNamed)
{
    struct Case {
        std::string piece;
        std::u16string shown;
        std::u16string spoken;
    };
    const Case cases[] = {
        {"a\tb", u"a\u2192b", u"a tab b"},
        {"x\r\n", u"x\u240D\u21B5", u"x carriage return line feed"},
        {"a b", u"a b", u"a b"},
        {" a ", u"\u2423a\u2423", u"space a space"},
        {"\xA0\xAD\x01", u"\u237D\u2043\u2401", u"no-break space soft hyphen control character"},
        {"\x81\xE9", u"\uFFFD\u00E9", u"character outside the code page \u00E9"},
    };
    for (const Case& c : cases) {
        const CellText cell = MakeCellText(c.piece, 100);
        EXPECT_EQ(cell.kind, CellText::Kind::Text);
        EXPECT_EQ(cell.shown, c.shown) << c.piece;
        EXPECT_EQ(cell.spoken, c.spoken) << c.piece;
        EXPECT_FALSE(cell.cut);
    }
    const CellText cut = MakeCellText("abcdef", 3);
    EXPECT_EQ(cut.shown, u"abc\u2026");
    EXPECT_EQ(cut.spoken, u"abc, and 3 more characters");
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(MakeCellText("ab  cd", 3).shown, u"ab\u2423\u2026");  // the space before the cut is seen
    EXPECT_EQ(MakeCellText("abc", MatchSpan{}, 10).kind, CellText::Kind::NotTaken);
    EXPECT_EQ(MakeCellText("abc", MatchSpan{}, 10).spoken, u"did not take part");
    EXPECT_EQ(MakeCellText("abc", MatchSpan{1, 0}, 10).kind, CellText::Kind::Empty);
    EXPECT_EQ(MakeCellText("abc", MatchSpan{1, 2}, 10).shown, u"bc");
}

TEST(Replace, PiecesAreWhereTheReplacementsStand)
{
    const std::atomic<bool> cancel{false};
    const ReplaceResult r = Replace(Search("\\d+", "a1b22c"), {"<$&>", FormatKind::Perl, false, false}, cancel);
    EXPECT_EQ(r.text, "a<1>b<22>c");
    ASSERT_EQ(r.pieces.size(), 2u);
    EXPECT_EQ(r.text.substr(static_cast<std::size_t>(r.pieces[1].start), static_cast<std::size_t>(r.pieces[1].length)),
              "<22>");
    EXPECT_EQ(r.replacements, 2);
    const ReplaceResult error = Replace(Search("(", "x"), {"", FormatKind::Perl, false, false}, cancel);
    EXPECT_EQ(error.end, ListingEnd::PatternError);
    EXPECT_EQ(error.reason, "a ( is never closed: the pattern ends at position 1");
}

TEST(Replace, StopsAtItsLimit)
{
    const std::atomic<bool> cancel{false};
    std::string input;
    for (int i = 0; i < 1000; ++i)
        input += "abc";
    const ReplaceRequest request{"$&$&$&$&", FormatKind::Perl, false, false};
    const std::string whole = Replace(Search("b", input), request, cancel).text;
    ASSERT_EQ(whole.size(), 3000u + 1000u * 3);
    for (const std::int64_t limit : {0, 1, 2, 100, 101, 5999}) {
        const ReplaceResult cut = Replace(Search("b", input), request, cancel, limit);
        EXPECT_TRUE(cut.cutAtLimit) << limit;
        EXPECT_EQ(cut.text, whole.substr(0, static_cast<std::size_t>(limit)));
    }
    const ReplaceResult exact = Replace(Search("b", input), request, cancel, 6000);
    EXPECT_FALSE(exact.cutAtLimit);
    EXPECT_GE(MaxReplaceOutputBytes, std::int64_t{256} << 20);
}

struct WarningCase {
    const char* format;
    FormatKind kind;
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
};

TEST(FormatWarnings, TokensTheLibraryWritesAsTheyAre)
{
    // Two groups, the first named w.
    const PatternFacts facts = DescribeGroups({"(?<w>a)(b)", "", 0, true, 1});
    using K = FormatKind;
    const WarningCase cases[] = {
        {"$1-${2}-$+{w}-$&-$$-$`-$'-${^MATCH}-\\U\\1\\E", K::Perl, {}},
        {"a$", K::Perl, {{1, 1}}},
        {"$x", K::Perl, {{0, 1}}},
        {"${1", K::Perl, {{0, 2}}},
        {"$+{v}", K::Perl, {{0, 5}}},
        {"$+{w", K::Perl, {{0, 3}}},
        {"$3 ${12}", K::Perl, {{0, 2}, {3, 5}}},
        {"\\3", K::Perl, {{0, 2}}},
        {"ab\\", K::Sed, {{2, 1}}},
        {"\\xZ", K::Perl, {{0, 2}}},
        {"$x & \\2", K::Sed, {}},
        {"?1(y):n", K::BoostExtended, {}},
        {"?3y:n", K::BoostExtended, {{0, 2}}},
        {"?q", K::BoostExtended, {{0, 1}}},
        {"a(b", K::BoostExtended, {{1, 1}}},
        {"a)bc", K::BoostExtended, {{1, 3}}},
        {"a)b$", K::Perl, {{3, 1}}},
        {"$ \\", K::Literal, {}},
    };
    for (const WarningCase& c : cases) {
        std::vector<std::pair<std::int64_t, std::int64_t>> spans;
        for (const FormatWarning& w : FormatWarnings(c.format, c.kind, facts)) {
            spans.emplace_back(w.start, w.length);
            EXPECT_FALSE(w.words.empty());
        }
        EXPECT_EQ(spans, c.spans) << c.format << " kind " << static_cast<int>(c.kind);
    }
}

} // namespace
