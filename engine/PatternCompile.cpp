#include "CodePage.h"
#include "Engine.h"
#include "RegexConfig.h"

namespace tamarin {

boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = pattern.empty() ? "" : pattern.data();
    // The text is Windows-1252: its classes and case pairs above 0x7F come
    // from the locale, which must be in place before the pattern is parsed.
    boost::regex expression;
    expression.imbue(codepage::Locale());
    expression.assign(first, first + pattern.size(), SyntaxFlags(syntax, caseSensitive));
    return expression;
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
