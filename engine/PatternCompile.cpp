#include "CodePage.h"
#include "Engine.h"
#include "RegexConfig.h"

#include <utility>

namespace {

// The length of the pattern this thread is compiling; 0 outside CompilePattern.
thread_local std::size_t compilingLength = 0;

class CompilingScope {
public:
    explicit CompilingScope(std::size_t length) : outer_(std::exchange(compilingLength, length)) {}
    ~CompilingScope() { compilingLength = outer_; }
    CompilingScope(const CompilingScope&) = delete;
    CompilingScope& operator=(const CompilingScope&) = delete;

private:
    std::size_t outer_;
};

} // namespace

namespace boost::BOOST_REGEX_DETAIL_NS {

// The library's own way of adding a character to the literal being built,
// but for how the storage grows once it is full. The library doubles it, and
// every doubling copies all of it into fresh memory, which faults a page at
// a time on first touch; at the end the expression appends its own copy of
// the pattern, one more doubling. For a pattern of megabytes of plain text
// that is most of the compile. Here the storage, once full, grows at once
// by room for the whole pattern twice: its literal text and that copy.
template <>
re_literal* EngineCompiler::append_literal(char c)
{
    if (m_last_state == nullptr || m_last_state->type != syntax_element_literal) {
        auto* result = static_cast<re_literal*>(append_state(syntax_element_literal, sizeof(re_literal) + sizeof(char)));
        result->length = 1;
        *static_cast<char*>(static_cast<void*>(result + 1)) = m_traits.translate(c, m_icase);
        return result;
    }
    const std::ptrdiff_t offset = getoffset(m_last_state);
    raw_storage& storage = m_pdata->m_data;
    if (storage.capacity() - storage.size() < sizeof(char) && compilingLength > 0)
        storage.resize(storage.size() + 2 * compilingLength + 256);  // 256: the closing states
    storage.extend(sizeof(char));
    auto* result = static_cast<re_literal*>(getaddress(offset));
    m_last_state = result;
    static_cast<char*>(static_cast<void*>(result + 1))[result->length] = m_traits.translate(c, m_icase);
    result->length += 1;
    return result;
}

} // namespace boost::BOOST_REGEX_DETAIL_NS

namespace tamarin {

boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = pattern.empty() ? "" : pattern.data();
    // The text is Windows-1252: its classes and case pairs above 0x7F come
    // from the locale, which must be in place before the pattern is parsed.
    boost::regex expression;
    expression.imbue(codepage::Locale());
    const CompilingScope compiling(pattern.size());
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
