#include "ListingSearch.h"

#include <exception>
#include <new>

namespace tamarin {

namespace {

// The name a group at `start` of the pattern gives itself: (?<name>...),
// (?'name'...) or (?P<name>...) (the last for a release that reads it; 1.81
// rejects it); empty for any other group.
std::string NameAt(std::string_view pattern, std::size_t start)
{
    std::string_view rest = pattern.substr(start);
    char close = 0;
    for (const auto& [opening, closing] : {std::pair{"(?<", '>'}, {"(?'", '\''}, {"(?P<", '>'}})
        if (rest.substr(0, std::char_traits<char>::length(opening)) == opening) {
            rest.remove_prefix(std::char_traits<char>::length(opening));
            close = closing;
            break;
        }
    const std::size_t end = close ? rest.find(close) : std::string_view::npos;
    if (end == std::string_view::npos || end == 0)
        return {};
    return std::string(rest.substr(0, end));
}

// Whether the library knows `name` as the name of group `number`.
bool NamesGroup(const boost::regex& expression, const std::string& name, std::int32_t number)
{
    const auto names = expression.get_named_subs();
    if (!names)
        return false;
    const auto [from, to] = names->equal_range(name.data(), name.data() + name.size());
    for (auto i = from; i != to; ++i)
        if (i->index == number)
            return true;
    return false;
}

std::vector<GroupFacts> ReadGroups(const boost::regex& expression, std::string_view pattern, Syntax syntax)
{
    std::vector<GroupFacts> groups;
    const auto count = static_cast<std::int32_t>(expression.mark_count());
    groups.reserve(static_cast<std::size_t>(count));
    const char* const base = expression.begin();
    for (std::int32_t n = 1; n <= count; ++n) {
        GroupFacts group;
        group.number = n;
        try {
            // The library keeps the place of group n at n - 1; a group
            // number used twice ((?|...)) may leave it elsewhere.
            const auto [open, close] = expression.subexpression(static_cast<std::size_t>(n - 1));
            std::int64_t start = open - base;
            const std::int64_t end = close - base;
            if (start >= 0 && end >= start && static_cast<std::size_t>(end) < pattern.size() &&
                pattern[static_cast<std::size_t>(start)] == '(') {
                if (syntax == Syntax::Basic && start > 0 && pattern[static_cast<std::size_t>(start - 1)] == '\\')
                    --start;  // \( ... \)
                group.patternStart = start;
                group.patternLength = end - start + 1;
                if (syntax == Syntax::Perl) {
                    std::string name = NameAt(pattern, static_cast<std::size_t>(start));
                    if (!name.empty() && NamesGroup(expression, name, n))
                        group.name = std::move(name);
                }
            }
        } catch (const std::exception&) {
            // No place kept for it: the group is shown without one.
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace

std::string CompileErrorWords(int errorCode, std::int64_t position, std::int64_t patternLength)
{
    namespace rc = boost::regex_constants;
    const std::string at = " at position " + std::to_string(position);
    switch (static_cast<rc::error_type>(errorCode)) {
    case rc::error_collate: return "an unknown collating element" + at;
    case rc::error_ctype: return "the character class or range before position " + std::to_string(position) + " is not valid";
    case rc::error_escape: return "a \\ escapes nothing it may escape" + at;
    case rc::error_backref: return "a back-reference" + at + " names a group that is not there";
    case rc::error_brack: return "a [" + at + " is never closed";
    case rc::error_paren:
        if (position >= patternLength && patternLength >= 0)
            return "a ( is never closed: the pattern ends" + at;
        return "a )" + at + " closes no group";
    case rc::error_brace: return "a {" + at + " is never closed";
    case rc::error_badbrace: return "the repeat count in { }" + at + " is not valid";
    case rc::error_range: return "a -" + at + " stands where no range may";
    case rc::error_space: return "the pattern needs more memory than it may have" + at;
    case rc::error_badrepeat: return "the repeat" + at + " has nothing to repeat";
    case rc::error_size: return "the pattern is too large" + at;
    case rc::error_empty: return "an empty pattern or alternative" + at + " is not allowed here";
    case rc::error_complexity: return "the pattern is too complex" + at;
    case rc::error_stack: return "the pattern is nested too deeply" + at;
    case rc::error_perl_extension: return "the (? group" + at + " is not one this syntax knows";
    default: return "the pattern cannot be read" + at;
    }
}

CompiledQuery CompileQuery(const ListingQuery& query)
{
    CompiledQuery compiled;
    const std::string_view pattern = query.pattern;
    const Syntax syntax = SyntaxFromIndex(query.syntaxIndex);
    try {
        compiled.expression = CompilePattern(pattern, syntax, query.caseSensitive,
                                             boost::regex::save_subexpression_location);
        compiled.facts.groups = ReadGroups(compiled.expression, pattern, syntax);
        compiled.facts.compiles = true;
    } catch (const boost::regex_error& error) {
        compiled.facts.errorPosition = error.position();
        compiled.facts.error = CompileErrorWords(error.code(), error.position(),
                                                  static_cast<std::int64_t>(pattern.size()));
    } catch (...) {
        compiled.facts.error = "the pattern needs more memory than it may have";
    }
    return compiled;
}

PatternFacts DescribeGroups(const ListingQuery& query)
{
    return CompileQuery(query).facts;
}

SearchEnd SearchStopped(const std::atomic<bool>& cancel, std::int64_t at)
{
    if (cancel.load(std::memory_order_relaxed))
        return {ListingEnd::Cancelled, -1, {}};
    SearchEnd end{ListingEnd::GaveUp, at, "the pattern needs too much work there"};
    try {
        throw;
    } catch (const boost::regex_error& error) {
        if (error.code() == boost::regex_constants::error_stack)
            end.reason = "the pattern needs too much memory there";
    } catch (const std::bad_alloc&) {
        end.reason = "the pattern needs too much memory there";
    } catch (...) {
    }
    return end;
}

} // namespace tamarin
