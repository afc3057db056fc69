#include "Engine.h"
#include "RegexConfig.h"

#include <algorithm>

namespace tamarin {

std::string_view CurrentPattern;

namespace {

enum class Algorithm { Match, Search };

std::string NodeText(std::int64_t pos, std::int64_t len)
{
    return "Pos : " + std::to_string(pos) + "  Len : " + std::to_string(len);
}

// Runs the library once over the whole of `text`. Reports the whole match
// (sub-match 0) only: groups are not shown anywhere, and not kept unless the
// pattern reads them back (MatchFlags).
bool RunLibrary(Algorithm algorithm, std::string_view text, const boost::regex& expression,
                boost::cmatch& match)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = text.empty() ? "" : text.data();
    const char* last = first + text.size();
    const boost::match_flag_type flags = MatchFlags(expression);
    if (algorithm == Algorithm::Match)
        return boost::regex_match(first, last, match, expression, flags);
    return boost::regex_search(first, last, match, expression, flags);
}

using Stage = EvaluationOutcome::Stage;

RunnerResult Finish(const EngineContext& ctx, RunnerResult result, Stage stage = Stage::Runner,
                    std::int64_t pos = -1, std::int64_t len = -1)
{
    if (ctx.outcome)
        *ctx.outcome = {result, stage, pos, len};
    return result;
}

// Writes a match of `matched` at `pos` into the panes, the tree and the highlight.
// The texts are views into the input: a match or the text around it may be
// megabytes long, and the view keeps them as places in the input anyway.
void ReportMatch(const EngineContext& ctx, std::int64_t pos, std::string_view matched,
                 std::int32_t nodeIndex)
{
    EngineView& view = ctx.view;
    const auto len = static_cast<std::int64_t>(matched.size());
    const std::string_view snapshot = ctx.state.InputSnapshot;
    const auto editorLength = view.TextLength(TextControl::reSearch);
    view.SetTextFromInput(TextControl::what0, pos + len, CutView(snapshot, pos + len + 1, editorLength));
    view.SetTextFromInput(TextControl::what1, 0, CutView(snapshot, 0, pos));

    const std::string nodeText = NodeText(pos, len);
    view.AddNodeFromInput(pos, matched);
    view.AddChildNode(view.NodeByIndex(nodeIndex), nodeText);

    HighlightMatch(ctx, static_cast<std::int32_t>(pos), static_cast<std::int32_t>(len));
}

RunnerResult RunOnce(const EngineContext& ctx, Algorithm algorithm, Syntax syntax,
                     std::string_view text, std::int32_t nodeIndex)
{
    EngineView& view = ctx.view;
    const bool caseSensitive = view.IsChecked(CheckControl::cbCaseSensitive);

    if (ctx.state.InputSnapshot.empty())
        return Finish(ctx, ResultEmptyInput);

    CurrentPattern = ctx.state.PatternSnapshot;
    // The check gets the case box as it is now; options are never cached.
    if (ValidatePattern(ctx, syntax, view.IsChecked(CheckControl::cbCaseSensitive)) != 1)
        return Finish(ctx, ResultPatternRejected);

    // Whatever goes wrong from here on, in the library or while reporting,
    // ends this evaluation quietly; what was already reported stays.
    Stage stage = Stage::Compile;
    try {
        const boost::regex expression = CompilePattern(CurrentPattern, syntax, caseSensitive);
        stage = Stage::Match;
        boost::cmatch match;
        const char* first = text.empty() ? "" : text.data();
        if (!RunLibrary(algorithm, {first, text.size()}, expression, match))
            return Finish(ctx, ResultNoMatch);
        stage = Stage::Report;
        const std::int64_t pos = match[0].first - first;
        const std::int64_t len = match[0].second - match[0].first;
        ReportMatch(ctx, pos, {match[0].first, static_cast<std::size_t>(len)}, nodeIndex);
        return Finish(ctx, ResultMatched, Stage::Runner, pos, len);
    } catch (...) {
        return Finish(ctx, ResultLibraryThrew, stage);
    }
}

} // namespace

RunnerResult MatchPerl(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Match, Syntax::Perl, text, nodeIndex);
}

RunnerResult MatchBasic(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Match, Syntax::Basic, text, nodeIndex);
}

RunnerResult MatchExtended(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Match, Syntax::Extended, text, nodeIndex);
}

RunnerResult SearchPerl(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Search, Syntax::Perl, text, nodeIndex);
}

RunnerResult SearchBasic(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Search, Syntax::Basic, text, nodeIndex);
}

RunnerResult SearchExtended(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    return RunOnce(ctx, Algorithm::Search, Syntax::Extended, text, nodeIndex);
}

RunnerResult UnsupportedRunner(const EngineContext& ctx, std::string_view, std::int32_t)
{
    return Finish(ctx, ResultNoMatch);
}

std::string CutText(std::string_view text, std::int64_t start, std::int64_t count)
{
    return std::string(CutView(text, start, count));
}

std::string_view CutView(std::string_view text, std::int64_t start, std::int64_t count)
{
    const auto length = static_cast<std::int64_t>(text.size());
    if (count < 1 || start > length)
        return {};
    const std::int64_t first = std::max<std::int64_t>(start, 1) - 1;
    const std::int64_t taken = std::min(count, length - first);
    return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(taken));
}

std::int32_t HighlightMatch(const EngineContext& ctx, std::int32_t pos, std::int32_t len)
{
    EngineView& view = ctx.view;
    if (!view.IsChecked(CheckControl::cfgHighLight))
        return -1;

    const std::int32_t algorithm = ctx.state.AlgorithmIndex;
    if (algorithm == AlgorithmMatch || algorithm == AlgorithmSearch) {
        view.SetSelStart(pos);
        view.SetSelLength(len);
        if (view.GetSelLength() == 0)
            return 1;  // an empty match: nothing to colour
        view.SetSelColor(HighlightColor);
        view.SetSelStyle(view.GetSelStyle() | fsBold);
        view.SetSelStyle(fsBold);  // exactly bold: italic, underline, strike-out go
    }
    return 1;
}

} // namespace tamarin
