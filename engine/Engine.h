#pragma once
// The evaluation engine: one entry point, its dispatch to the runners, the
// optional pattern check, the runners themselves and the match highlight.

#include "EngineView.h"
#include "EvaluationState.h"
#include "SyntaxFlags.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tamarin {

// How the last evaluation ended, in more detail than its RunnerResult: where a
// -2 came from, and the match's place. The main window's outcome line reads it.
struct EvaluationOutcome {
    enum class Stage { Runner, Compile, Match, Report };
    RunnerResult result = ResultNoMatch;
    Stage stage = Stage::Runner;  // for -2: what threw
    std::int64_t pos = -1;        // for a match: its 0-based start and length
    std::int64_t len = -1;
};

// What every engine function works on: the window (through its view) and the
// main window's evaluation state; optionally where to tell how it ended.
struct EngineContext {
    EngineView& view;
    const EvaluationState& state;
    EvaluationOutcome* outcome = nullptr;
};

// Empties both result panes, reads the input editor and runs the runner for
// the current algorithm and syntax. Returns 0 after "no match" (panes and tree
// cleared) or an escaped exception, 1 otherwise. Never throws.
std::int32_t Evaluate(const EngineContext& ctx);

// Calls the one runner for AlgorithmIndex and SyntaxIndex and returns its result.
RunnerResult DispatchRunner(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);

// The runners. `text` is the text to match; `nodeIndex` names the tree node
// that receives the "Pos : ... Len : ..." child.
RunnerResult MatchPerl(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
RunnerResult MatchBasic(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
RunnerResult MatchExtended(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
RunnerResult SearchPerl(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
RunnerResult SearchBasic(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
RunnerResult SearchExtended(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);
// The algorithm slot without a runner: touches nothing, always "no match".
RunnerResult UnsupportedRunner(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex);

// With "Syntax Check" on, compiles PatternSnapshot once and tells the user
// "Invalid Regular Expression" if the library rejects it. 1 = go on, -1 = rejected.
std::int32_t ValidatePattern(const EngineContext& ctx, Syntax syntax, bool caseSensitive);

// True when the library compiles `pattern` in this syntax and case: the one
// compile check of the syntax check and of the syntax test.
bool PatternCompiles(std::string_view pattern, Syntax syntax, bool caseSensitive);

// At most `count` characters of `text` from the 1-based position `start`
// (a start below 1 counts as 1); empty when count < 1 or start is past the end.
std::string CutText(std::string_view text, std::int64_t start, std::int64_t count);
// The same characters as CutText's, as a view into `text`.
std::string_view CutView(std::string_view text, std::int64_t start, std::int64_t count);

// Marks the match green and bold in the input editor when "HightLight" is on.
// Returns -1 when the option is off, 1 otherwise.
std::int32_t HighlightMatch(const EngineContext& ctx, std::int32_t pos, std::int32_t len);

// The one message the engine shows.
inline constexpr const char* InvalidPatternMessage = "Invalid Regular Expression";
// The highlight's colour (0x00BBGGRR: green 128).
inline constexpr ColorRef HighlightColor = 0x008000;

} // namespace tamarin
