#pragma once
// Every match of a pattern over an input, with its groups: what the matches
// window lists. Plain C++; a listing runs on a worker thread of the caller's
// and is read, while it grows, from any other thread.
//
// The matches are those the library's iterator finds over the input with its
// default match options (Search), or the one whole-input match (Match). Each
// search of a listing is bounded by the engine's work budget (WorkBudget.h),
// as every evaluation of the main window is.

#include "SharedText.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tamarin {

// What is listed: the main window's pattern (its line breaks removed), its
// input, syntax, case box and algorithm.
struct ListingQuery {
    SharedText pattern;
    SharedText input;
    std::int32_t syntaxIndex = 0;     // 0 Perl, 1 POSIX Basic, 2 POSIX Extended
    bool caseSensitive = false;
    std::int32_t algorithmIndex = 1;  // 0 Match (the whole input), 1 Search (every match)
};

// One group of the pattern: its number, its name when it has one, and where
// it stands in the pattern (from the opening parenthesis to the closing one).
struct GroupFacts {
    std::int32_t number = 0;           // from 1
    std::string name;                  // empty for a group without a name
    std::int64_t patternStart = -1;    // -1 when the library keeps no place for it
    std::int64_t patternLength = 0;
};

// What the pattern is, before any matching: its groups, or why it does not compile.
struct PatternFacts {
    bool compiles = false;
    std::vector<GroupFacts> groups;    // groups[i] is group i + 1
    // When it does not compile: our own sentence for the library's error code,
    // such as "a ( at position 3 is never closed", and the position (from 0)
    // in the pattern where the library stopped reading it.
    std::string error;
    std::int64_t errorPosition = -1;
};

// Compiles the query's pattern as the listing will and tells its groups or its error.
PatternFacts DescribeGroups(const ListingQuery& query);

// The words for a compile error: the library's error code (its
// regex_constants::error_type value), the position it reports and the
// pattern's length (an unclosed group is reported at the pattern's end).
std::string CompileErrorWords(int errorCode, std::int64_t position, std::int64_t patternLength = -1);

// Where a group (or, for group 0, the whole match) stands in the input.
struct MatchSpan {
    std::int64_t position = -1;  // from 0; -1 for a group that did not take part
    std::int64_t length = 0;
    bool Matched() const { return position >= 0; }
};

// How a listing ended (or that it has not yet).
enum class ListingEnd {
    Running,
    Finished,     // every match is listed or counted
    GaveUp,       // a search passed the work budget; the matches before it stay
    Cancelled,    // the caller's cancel flag stopped it
    PatternError  // the pattern does not compile (PatternFacts says why)
};

// The final facts of a listing; read them once Ended() says so.
struct ListingOutcome {
    ListingEnd end = ListingEnd::Running;
    // For GaveUp: where the search that gave up started, from 0, and why,
    // in our own words ("the pattern needs too much work there" or "the
    // pattern needs too much memory there").
    std::int64_t gaveUpAt = -1;
    std::string reason;
    double seconds = 0;        // from the start of the listing to its end
    bool listFull = false;     // more matches were counted than listed
};

// At most this many matches are kept with their groups; past them a listing
// only counts. Fewer when the pattern has so many groups that this many would
// take more than MaxListBytes (ListCapacity tells).
inline constexpr std::int64_t MaxListedMatches = 10'000'000;
inline constexpr std::int64_t MaxListBytes = std::int64_t{640} << 20;

// The limits a listing keeps to (smaller ones for tests).
struct ListingLimits {
    std::int64_t maxListed = MaxListedMatches;
    std::int64_t maxListBytes = MaxListBytes;
};

// The matches of one listing. One thread (the one running RunListing) adds
// to it; any thread may read it meanwhile. Rows below Listed() never change,
// and are never moved in memory.
class MatchList {
public:
    MatchList();
    ~MatchList();
    MatchList(const MatchList&) = delete;
    MatchList& operator=(const MatchList&) = delete;

    // The pattern's facts; complete once Listed() or Ended() has been read
    // as non-zero or true (set before the first row).
    const PatternFacts& Facts() const;
    std::int32_t GroupCount() const;  // the pattern's groups (mark_count)

    std::int64_t Listed() const;   // rows that may be read now
    std::int64_t Counted() const;  // matches found so far, listed or only counted
    std::int64_t Capacity() const; // how many rows the list can keep for this pattern
    bool Ended() const;
    // Valid once Ended() is true.
    const ListingOutcome& Outcome() const;

    // Group `group` (0: the whole match) of row `row` (from 0, below Listed()).
    MatchSpan Span(std::int64_t row, std::int32_t group) const;

    struct Storage;  // the engine's own

private:
    friend class ListingRun;
    std::unique_ptr<Storage> storage_;
};

// Lists the query's matches into `list`, which must be fresh. Returns when
// the listing has ended: finished, gave up, cancelled, or the pattern did not
// compile. `cancel` is read between matches, at every place a search tries
// the pattern and at every step back of a try that backtracks, so a listing
// stops within a few milliseconds of it being set; but the library's scan
// for the next place worth a try reads no flag: over 100 MB without such a
// place (`x` over text without an x) that scan takes about 0.1 s, so a caller
// that must go on at once starts its next listing without waiting. `progress`,
// when given, is called on this thread at most every 20 ms while rows are
// added, and once at the end; the caller may read `list` from it or from
// elsewhere at any time.
void RunListing(const ListingQuery& query, MatchList& list, const std::atomic<bool>& cancel,
                const std::function<void()>& progress = {}, const ListingLimits& limits = {});

// Line and column (both from 1, as editors count; lines end at '\n') of
// places in one input. Built once per input in one pass over it, small (a
// record per 64 KiB), and answers each place by looking at no more than
// that much of the text. Read-only after construction: any thread may ask.
class LinePlaces {
public:
    explicit LinePlaces(SharedText input);
    struct Place {
        std::int64_t line = 1;
        std::int64_t column = 1;
    };
    Place At(std::int64_t position) const;

private:
    SharedText input_;
    std::vector<std::int64_t> linesBefore_;     // '\n's before each block's start
    std::vector<std::int64_t> lastBreakBefore_; // the last '\n' before each block, or -1
};

} // namespace tamarin
