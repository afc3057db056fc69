#pragma once
// The words of the matches window: its count lines and the numbers in them,
// in the same forms wherever they appear (labels, copies, speech).

#include "MatchListing.h"
#include "Replacement.h"

#include <QString>

#include <cstdint>

namespace MatchTexts {

// "1,234,567": thousands grouped as the window shows every count.
QString Number(std::int64_t value);
// "1 match", "3 matches"; "1 group", "0 groups"; "1 replacement", ...
QString Matches(std::int64_t count);
QString Groups(std::int64_t count);
QString Replacements(std::int64_t count);
// "512 bytes", "2.1 KB", "2.1 MB", "1.3 GB" (units of 1,024).
QString Size(std::int64_t bytes);

// What the count line says while a listing runs: "Counting... 1,200 matches so far".
QString ListingProgress(std::int64_t counted);
// What it says once the listing has ended: "3 matches · 2 groups · 0.4 ms",
// "10,000,000 matches listed; 2,345,678 more counted", "The pattern does not
// compile: ...", "Gave up at position ... after 2.0 s: ...". Empty while
// the listing runs.
QString ListingFinal(const tamarin::MatchList& list);

// "1,234 replacements · 2.1 MB", and the like for a result cut at its limit
// or a search that gave up.
QString ReplaceFinal(const tamarin::ReplaceResult& result);

} // namespace MatchTexts
