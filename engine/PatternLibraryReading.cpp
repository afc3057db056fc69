// The library's own verdict on a pattern, compiled as the engine compiles it:
// the judge the explainer is checked against.
#include "PatternExplain.h"

#include "RegexConfig.h"

namespace tamarin {

namespace {

PatternError ErrorKind(boost::regex_constants::error_type code)
{
    namespace rc = boost::regex_constants;
    switch (code) {
    case rc::error_collate: return PatternError::Collate;
    case rc::error_ctype: return PatternError::ClassName;
    case rc::error_escape: return PatternError::Escape;
    case rc::error_backref: return PatternError::BackReference;
    case rc::error_brack: return PatternError::Bracket;
    case rc::error_paren: return PatternError::Paren;
    case rc::error_brace: return PatternError::Brace;
    case rc::error_badbrace: return PatternError::BadBrace;
    case rc::error_range: return PatternError::Range;
    case rc::error_badrepeat: return PatternError::BadRepeat;
    case rc::error_complexity: return PatternError::Complexity;
    case rc::error_empty: return PatternError::Empty;
    case rc::error_perl_extension: return PatternError::PerlExtension;
    case rc::error_bad_pattern: return PatternError::BadPattern;
    default: return PatternError::Other;
    }
}

} // namespace

LibraryReading ReadPatternWithLibrary(std::string_view pattern, std::int32_t syntaxIndex, bool caseSensitive)
{
    LibraryReading reading;
    try {
        const boost::regex expression = CompilePattern(pattern, SyntaxFromIndex(syntaxIndex), caseSensitive,
                                                       boost::regex::save_subexpression_location);
        reading.compiles = true;
        reading.groups = expression.mark_count();
        const char* base = expression.expression();
        for (std::size_t n = 0; n < reading.groups; ++n) {
            const auto span = expression.subexpression(n);
            reading.groupSpans.emplace_back(static_cast<std::size_t>(span.first - base),
                                            static_cast<std::size_t>(span.second - base));
        }
    } catch (const boost::regex_error& e) {
        reading.errorCode = static_cast<std::int32_t>(e.code());
        reading.error = ErrorKind(e.code());
        reading.errorPosition = static_cast<std::size_t>(e.position());
    }
    return reading;
}

} // namespace tamarin
