#include "Engine.h"

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
// (sub-match 0) only: groups are not shown anywhere.
bool RunLibrary(Algorithm algorithm, std::string_view text, const boost::regex& expression,
                boost::cmatch& match)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = text.empty() ? "" : text.data();
    const char* last = first + text.size();
    if (algorithm == Algorithm::Match)
        return boost::regex_match(first, last, match, expression, boost::match_default);
    return boost::regex_search(first, last, match, expression, boost::match_default);
}

RunnerResult RunOnce(const EngineContext& ctx, Algorithm algorithm, Syntax syntax,
                     std::string_view text, std::int32_t nodeIndex)
{
    EngineView& view = ctx.view;
    const bool caseSensitive = view.IsChecked(CheckControl::cbCaseSensitive);

    if (ctx.state.InputSnapshot.empty())
        return ResultEmptyInput;

    CurrentPattern = ctx.state.PatternSnapshot;
    // The check gets the case box as it is now; options are never cached.
    if (ValidatePattern(ctx, syntax, view.IsChecked(CheckControl::cbCaseSensitive)) != 1)
        return ResultPatternRejected;

    // Whatever goes wrong from here on, in the library or while reporting,
    // ends this evaluation quietly; what was already reported stays.
    try {
        const boost::regex expression(CurrentPattern.data(),
                                      CurrentPattern.data() + CurrentPattern.size(),
                                      SyntaxFlags(syntax, caseSensitive));
        boost::cmatch match;
        const char* first = text.empty() ? "" : text.data();
        if (!RunLibrary(algorithm, {first, text.size()}, expression, match))
            return ResultNoMatch;

        const std::int64_t pos = match[0].first - first;
        const std::int64_t len = match[0].second - match[0].first;

        const std::string& snapshot = ctx.state.InputSnapshot;
        const auto editorLength =
            static_cast<std::int64_t>(view.GetText(TextControl::reSearch).size());
        view.SetText(TextControl::what0, CutText(snapshot, pos + len + 1, editorLength));
        view.SetText(TextControl::what1, CutText(snapshot, 0, pos));

        const std::string nodeText = NodeText(pos, len);
        view.AddNode(std::string(match[0].first, match[0].second));
        view.AddChildNode(view.NodeByIndex(nodeIndex), nodeText);

        HighlightMatch(ctx, static_cast<std::int32_t>(pos), static_cast<std::int32_t>(len));
        return ResultMatched;
    } catch (...) {
        return ResultLibraryThrew;
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

RunnerResult UnsupportedRunner(const EngineContext&, std::string_view, std::int32_t)
{
    return ResultNoMatch;
}

std::string CutText(std::string_view text, std::int64_t start, std::int64_t count)
{
    const auto length = static_cast<std::int64_t>(text.size());
    if (count < 1 || start > length)
        return {};
    const std::int64_t first = std::max<std::int64_t>(start, 1) - 1;
    const std::int64_t taken = std::min(count, length - first);
    return std::string(text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(taken)));
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
