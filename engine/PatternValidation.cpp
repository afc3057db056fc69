#include "Engine.h"

namespace tamarin {

std::int32_t ValidatePattern(const EngineContext& ctx, Syntax syntax, bool caseSensitive)
{
    if (!ctx.view.IsChecked(CheckControl::cfgSyntaxCheck))
        return 1;
    // Compiled only to see whether it can be; the runner compiles again.
    if (PatternCompiles(ctx.state.PatternSnapshot, syntax, caseSensitive))
        return 1;
    ctx.view.ShowMessage(InvalidPatternMessage);
    return -1;
}

} // namespace tamarin
