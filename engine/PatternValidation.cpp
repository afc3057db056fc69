#include "Engine.h"

namespace tamarin {

std::int32_t ValidatePattern(const EngineContext& ctx, Syntax syntax, bool caseSensitive)
{
    if (!ctx.view.IsChecked(CheckControl::cfgSyntaxCheck))
        return 1;

    const std::string& pattern = ctx.state.PatternSnapshot;
    bool compiled = false;
    try {
        // Compiled only to see whether it can be; the runner compiles again.
        const boost::regex expression(pattern.data(), pattern.data() + pattern.size(),
                                      SyntaxFlags(syntax, caseSensitive));
        compiled = true;
    } catch (...) {
        // Any failure counts; the library's own wording is never shown.
    }
    if (!compiled) {
        ctx.view.ShowMessage(InvalidPatternMessage);
        return -1;
    }
    return 1;
}

} // namespace tamarin
