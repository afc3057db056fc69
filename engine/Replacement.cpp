#include "Replacement.h"
#include "ListingSearch.h"

#include <chrono>
#include <iterator>

namespace tamarin {

namespace {

boost::match_flag_type FormatFlags(const ReplaceRequest& request)
{
    boost::match_flag_type flags = boost::format_default;
    switch (request.kind) {
    case FormatKind::Perl: break;
    case FormatKind::Sed: flags = boost::format_sed; break;
    case FormatKind::BoostExtended: flags = boost::format_all; break;
    case FormatKind::Literal: flags = boost::regex_constants::format_literal; break;
    }
    if (request.firstOnly)
        flags |= boost::format_first_only;
    if (request.noCopy)
        flags |= boost::format_no_copy;
    return flags;
}

// Appends to a string up to a limit and notes when more was written: one
// replacement may make more than the limit by itself ($&$&$& over a match of
// megabytes), so the limit is kept character by character.
class BoundedOutput {
public:
    using iterator_category = std::output_iterator_tag;
    using value_type = void;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = void;

    BoundedOutput(std::string& text, std::size_t limit, bool& cut) : text_(&text), limit_(limit), cut_(&cut) {}
    BoundedOutput& operator*() { return *this; }
    BoundedOutput& operator++() { return *this; }
    BoundedOutput operator++(int) { return *this; }
    BoundedOutput& operator=(char c)
    {
        if (text_->size() < limit_)
            text_->push_back(c);
        else
            *cut_ = true;
        return *this;
    }

private:
    std::string* text_;
    std::size_t limit_;
    bool* cut_;
};

// Appends [from, to) of the input, as far as the limit lets it.
void AppendBounded(std::string& text, const char* from, const char* to, std::size_t limit, bool& cut)
{
    const std::size_t room = limit > text.size() ? limit - text.size() : 0;
    const auto length = static_cast<std::size_t>(to - from);
    if (length > room)
        cut = true;
    text.append(from, std::min(length, room));
}

} // namespace

ReplaceResult Replace(const ListingQuery& query, const ReplaceRequest& request, const std::atomic<bool>& cancel,
                      std::int64_t limitBytes)
{
    const auto started = std::chrono::steady_clock::now();
    ReplaceResult result;
    const CompiledQuery compiled = CompileQuery(query);
    if (!compiled.facts.compiles) {
        result.end = ListingEnd::PatternError;
        result.reason = compiled.facts.error;
        return result;
    }
    const std::string_view input = query.input;
    const char* const first = input.empty() ? "" : input.data();
    const char* const last = first + input.size();
    const std::size_t limit = static_cast<std::size_t>(std::max<std::int64_t>(limitBytes, 0));
    const boost::match_flag_type flags = FormatFlags(request);
    const bool copy = !request.noCopy;
    result.text.reserve(std::min(limit, copy ? input.size() : std::size_t{0}));

    // As regex_replace writes it: the text before each match, the match
    // formatted, and after the last match the rest.
    const char* copiedTo = first;
    const SearchEnd end = ForEachMatch(
        compiled, query.algorithmIndex == 0, {first, input.size()}, flags, cancel, [&](const SearchMatch& match) {
            if (copy)
                AppendBounded(result.text, copiedTo, match[0].first, limit, result.cutAtLimit);
            const auto start = static_cast<std::int64_t>(result.text.size());
            match.format(BoundedOutput(result.text, limit, result.cutAtLimit), request.format, flags,
                         compiled.expression);
            copiedTo = match[0].second;
            ++result.replacements;
            if (static_cast<std::int64_t>(result.pieces.size()) < MaxReplacedPieces)
                result.pieces.push_back({start, static_cast<std::int64_t>(result.text.size()) - start});
            return !result.cutAtLimit && !request.firstOnly;
        });
    if (copy && end.end == ListingEnd::Finished)
        AppendBounded(result.text, copiedTo, last, limit, result.cutAtLimit);
    result.end = end.end;
    result.gaveUpAt = end.gaveUpAt;
    result.reason = end.reason;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace tamarin
