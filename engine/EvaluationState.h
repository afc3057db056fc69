#pragma once
// What one evaluation works from, and what a runner reports.

#include "SharedText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tamarin {

// Owned by the main window; the engine only reads it.
struct EvaluationState {
    std::int32_t AlgorithmIndex = 1;  // 0 Match, 1 Search, 2 Replace (no runner)
    std::int32_t SyntaxIndex = 0;     // 0 Perl, 1 POSIX Basic, 2 POSIX Extended
    SharedText InputSnapshot;         // the input editor's text at the trigger
    SharedText PatternSnapshot;       // the pattern editor's text, line breaks removed
};

inline constexpr std::int32_t AlgorithmMatch = 0;
inline constexpr std::int32_t AlgorithmSearch = 1;
inline constexpr std::int32_t AlgorithmReplace = 2;

// A runner's result.
using RunnerResult = std::int32_t;
inline constexpr RunnerResult ResultMatched = 1;
inline constexpr RunnerResult ResultNoMatch = -1;
inline constexpr RunnerResult ResultLibraryThrew = -2;
inline constexpr RunnerResult ResultPatternRejected = -3;
inline constexpr RunnerResult ResultEmptyInput = -4;

// The pattern text the running runner validates and compiles. It refers to
// PatternSnapshot's characters and does not own them; only runners use it.
extern std::string_view CurrentPattern;

} // namespace tamarin
