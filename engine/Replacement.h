#pragma once
// A replacement of every match (or of the first) by a format, as the
// library's regex_replace makes it, with where each replaced piece stands in
// the result; and the tokens of a format that the library would take as plain
// text, which it never reports.

#include "MatchListing.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamarin {

// How the replacement text is read: the library's default (Perl: $&, $1,
// ${1}, $+{name}, \U...\E), sed (&, \1), Boost extended (adds (?1yes:no)
// conditionals and grouping), or as literal text.
enum class FormatKind : std::int32_t { Perl = 0, Sed = 1, BoostExtended = 2, Literal = 3 };

struct ReplaceRequest {
    std::string format;
    FormatKind kind = FormatKind::Perl;
    bool firstOnly = false;  // format_first_only: the first match only
    bool noCopy = false;     // format_no_copy: the replaced pieces only, nothing between them
};

// The result is not made longer than this; past it the replacement stops and says so.
inline constexpr std::int64_t MaxReplaceOutputBytes = std::int64_t{512} << 20;
// At most this many replaced pieces are kept with their places (all are counted).
inline constexpr std::int64_t MaxReplacedPieces = 10'000'000;

struct ReplacedPiece {
    std::int64_t start = 0;  // in the result, from 0
    std::int64_t length = 0;
};

struct ReplaceResult {
    ListingEnd end = ListingEnd::Finished;  // Finished, GaveUp, Cancelled or PatternError
    std::string text;                       // what the library's regex_replace writes
    std::vector<ReplacedPiece> pieces;      // the first MaxReplacedPieces, in order
    std::int64_t replacements = 0;          // matches replaced
    bool cutAtLimit = false;                // the result reached the limit: `text` stops there
    std::int64_t gaveUpAt = -1;             // for GaveUp: where the search that gave up started
    std::string reason;                     // for GaveUp, our words; for PatternError, the error's
    double seconds = 0;
};

// Replaces the query's matches (Search: every match the iterator finds, as
// regex_replace does; Match: the whole input when it matches, else the input
// is copied, or nothing with noCopy). `cancel` is read as RunListing reads
// it. `limitBytes` bounds the result.
ReplaceResult Replace(const ListingQuery& query, const ReplaceRequest& request,
                      const std::atomic<bool>& cancel, std::int64_t limitBytes = MaxReplaceOutputBytes);

// A token of the format that the library writes out as plain text although
// it looks like it means something: a '$' followed by nothing it reads, an
// unclosed "${", "$+{name}" for a name the pattern lacks, a '\' at the end,
// a group number past the pattern's groups, an unclosed conditional.
struct FormatWarning {
    std::int64_t start = 0;  // in the format, from 0
    std::int64_t length = 0;
    std::string words;       // our sentence, such as "$ followed by nothing it names is written as it is"
};

// The warnings for `format` read as `kind`, against the pattern's groups.
std::vector<FormatWarning> FormatWarnings(std::string_view format, FormatKind kind, const PatternFacts& facts);

} // namespace tamarin
