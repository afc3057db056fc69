#include "Engine.h"
#include "RegexConfig.h"

namespace tamarin {

boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = pattern.empty() ? "" : pattern.data();
    return boost::regex(first, first + pattern.size(), SyntaxFlags(syntax, caseSensitive));
}

bool PatternCompiles(std::string_view pattern, Syntax syntax, bool caseSensitive)
{
    try {
        // Compiled only to see whether it can be; nothing keeps it.
        CompilePattern(pattern, syntax, caseSensitive);
        return true;
    } catch (...) {
        // Any failure counts; the library's own wording is never shown.
        return false;
    }
}

} // namespace tamarin
