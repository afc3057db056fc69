#include "ReferenceRegex.h"

#include "CodePage.h"

#include <boost/regex.hpp>

namespace reference {

namespace {

boost::regex Compile(std::string_view pattern, int syntax, bool caseSensitive)
{
    static const boost::regex::flag_type syntaxes[] = {boost::regex::perl, boost::regex::basic,
                                                       boost::regex::extended};
    boost::regex::flag_type flags = syntaxes[syntax];
    if (!caseSensitive)
        flags |= boost::regex::icase;
    const char* p = pattern.empty() ? "" : pattern.data();
    boost::regex expression;
    expression.imbue(tamarin::codepage::Locale());
    expression.assign(p, p + pattern.size(), flags);
    return expression;
}

std::vector<std::ptrdiff_t> Spans(const boost::cmatch& match, const char* first)
{
    std::vector<std::ptrdiff_t> spans;
    for (std::size_t g = 0; g < match.size(); ++g) {
        spans.push_back(match[g].matched ? match[g].first - first : -1);
        spans.push_back(match[g].matched ? match[g].second - match[g].first : 0);
    }
    return spans;
}

} // namespace

Listing List(std::string_view pattern, std::string_view input, int algorithm, int syntax, bool caseSensitive)
{
    Listing listing;
    try {
        const boost::regex expression = Compile(pattern, syntax, caseSensitive);
        const char* first = input.empty() ? "" : input.data();
        const char* last = first + input.size();
        if (algorithm == 0) {
            boost::cmatch match;
            if (boost::regex_match(first, last, match, expression, boost::match_default))
                listing.matches.push_back(Spans(match, first));
        } else {
            for (boost::cregex_iterator i(first, last, expression, boost::match_default), end; i != end; ++i)
                listing.matches.push_back(Spans(*i, first));
        }
    } catch (...) {
        listing.threw = true;
    }
    return listing;
}

Replaced Replace(std::string_view pattern, std::string_view input, int algorithm, int syntax, bool caseSensitive,
                 std::string_view format, int kind, bool firstOnly, bool noCopy)
{
    static const boost::match_flag_type kinds[] = {boost::format_default, boost::format_sed, boost::format_all,
                                                   boost::regex_constants::format_literal};
    boost::match_flag_type flags = kinds[kind];
    if (firstOnly)
        flags |= boost::format_first_only;
    if (noCopy)
        flags |= boost::format_no_copy;
    Replaced replaced;
    try {
        const boost::regex expression = Compile(pattern, syntax, caseSensitive);
        const std::string text(input);
        const std::string fmt(format);
        if (algorithm == 1) {
            replaced.text = boost::regex_replace(text, expression, fmt, flags);
        } else {
            boost::smatch match;
            if (boost::regex_match(text, match, expression, boost::match_default))
                replaced.text = match.format(fmt, flags, expression);
            else if (!noCopy)
                replaced.text = text;
        }
    } catch (...) {
        replaced.threw = true;
    }
    return replaced;
}

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
