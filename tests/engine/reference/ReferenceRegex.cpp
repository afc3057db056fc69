#include "ReferenceRegex.h"

#include "CodePage.h"

#include <boost/regex.hpp>

namespace reference {

Result Run(std::string_view pattern, std::string_view input, int algorithm, int syntax,
           bool caseSensitive)
{
    static const boost::regex::flag_type syntaxes[] = {boost::regex::perl, boost::regex::basic,
                                                       boost::regex::extended};
    boost::regex::flag_type flags = syntaxes[syntax];
    if (!caseSensitive)
        flags |= boost::regex::icase;
    Result result;
    try {
        const char* p = pattern.empty() ? "" : pattern.data();
        const char* first = input.empty() ? "" : input.data();
        const char* last = first + input.size();
        // The engine's text is Windows-1252; the reference reads it the same way.
        boost::regex expression;
        expression.imbue(tamarin::codepage::Locale());
        expression.assign(p, p + pattern.size(), flags);
        boost::cmatch match;
        const bool found = algorithm == 0
                               ? boost::regex_match(first, last, match, expression, boost::match_default)
                               : boost::regex_search(first, last, match, expression, boost::match_default);
        result.status = found ? Result::Match : Result::NoMatch;
        if (found) {
            result.pos = match[0].first - first;
            result.len = match[0].second - match[0].first;
        }
    } catch (...) {
        result.status = Result::Threw;
    }
    return result;
}

} // namespace reference
