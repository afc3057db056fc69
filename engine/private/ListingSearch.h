#pragma once
// The one loop that finds every match for the matches window and for the
// replacement: the library's iterator, written out so that a cancel flag and
// the work budget can end it between matches and the caller sees each match
// where it lies. The matches are exactly those of boost::regex_iterator over
// the whole input with the same flags; with `wholeInput`, the one match of
// boost::regex_match.
#include "RegexConfig.h"

#include "MatchListing.h"

#include <atomic>
#include <string>
#include <string_view>

namespace tamarin {

using SearchMatch = boost::cmatch;

struct CompiledQuery {
    PatternFacts facts;
    boost::regex expression;  // empty when facts.compiles is false
};

// Compiles the query's pattern (keeping where each group stands in it) and
// reads its groups' names; a pattern that does not compile gives its error.
CompiledQuery CompileQuery(const ListingQuery& query);

struct SearchEnd {
    ListingEnd end = ListingEnd::Finished;
    std::int64_t gaveUpAt = -1;  // where the search that gave up started
    std::string reason;
};

// The words for a search that threw, or Cancelled when `cancel` is set.
SearchEnd SearchStopped(const std::atomic<bool>& cancel, std::int64_t at);

// Calls `onMatch(match)` for every match in order, until it returns false.
template <class OnMatch>
SearchEnd ForEachMatch(const CompiledQuery& compiled, bool wholeInput, std::string_view text,
                       boost::match_flag_type flags, const std::atomic<bool>& cancel, OnMatch&& onMatch)
{
    const regex_limits::CancelScope cancelling(cancel);
    const boost::regex& expression = compiled.expression;
    const char* const first = text.data();
    const char* const last = first + text.size();
    const char* from = first;
    SearchMatch match;
    try {
        if (wholeInput) {
            if (boost::regex_match(first, last, match, expression, flags))
                onMatch(match);
            return {};
        }
        bool found = boost::regex_search(first, last, match, expression, flags, first);
        while (found) {
            if (!onMatch(match))
                return {};
            if (cancel.load(std::memory_order_relaxed))
                return {ListingEnd::Cancelled, -1, {}};
            // As the iterator goes on: from the match's end, and after an
            // empty match not with another empty match at the same place.
            from = match[0].second;
            boost::match_flag_type next = flags;
            if (match.length() == 0 || (next & boost::match_posix))
                next |= boost::regex_constants::match_not_initial_null;
            found = boost::regex_search(from, last, match, expression, next, first);
        }
        return {};
    } catch (...) {
        return SearchStopped(cancel, from - first);
    }
}

} // namespace tamarin
