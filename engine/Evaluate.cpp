#include "Engine.h"

namespace tamarin {

std::int32_t Evaluate(const EngineContext& ctx)
{
    // Called straight from GUI event handlers: nothing may escape, not even
    // a failure of the view while the panes are emptied or the input copied.
    try {
        ctx.view.SetText(TextControl::what0, "");
        ctx.view.SetText(TextControl::what1, "");

        // Only the algorithms with a runner look at the input at all.
        SharedText input;
        const std::int32_t algorithm = ctx.state.AlgorithmIndex;
        if (algorithm == AlgorithmMatch || algorithm == AlgorithmSearch)
            input = ctx.view.ShareText(TextControl::reSearch);

        const RunnerResult result = DispatchRunner(ctx, input, 0);
        if (result == ResultNoMatch) {
            ctx.view.SetText(TextControl::what0, "");
            ctx.view.SetText(TextControl::what1, "");
            ctx.view.ClearTree();
            return 0;
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

RunnerResult DispatchRunner(const EngineContext& ctx, std::string_view text, std::int32_t nodeIndex)
{
    using Runner = RunnerResult (*)(const EngineContext&, std::string_view, std::int32_t);
    static constexpr Runner matchRunners[] = {MatchPerl, MatchBasic, MatchExtended};
    static constexpr Runner searchRunners[] = {SearchPerl, SearchBasic, SearchExtended};

    // A syntax outside the table falls back to the Perl runner.
    const auto syntax = static_cast<std::size_t>(SyntaxFromIndex(ctx.state.SyntaxIndex));
    switch (ctx.state.AlgorithmIndex) {
    case AlgorithmMatch: return matchRunners[syntax](ctx, text, nodeIndex);
    case AlgorithmSearch: return searchRunners[syntax](ctx, text, nodeIndex);
    default: return UnsupportedRunner(ctx, text, nodeIndex);
    }
}

} // namespace tamarin
