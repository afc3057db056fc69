#include "CodePage.h"
#include "Engine.h"
#include "RegexConfig.h"

#include <array>
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

namespace {

// `bytes` more at the end of `storage`. The library doubles the storage
// whenever it is full, and every doubling copies all of it into fresh
// memory, which faults a page at a time on first touch; at the end the
// expression appends its own copy of the pattern, one more doubling. For a
// pattern of megabytes of plain text that was most of the compile. Here the
// storage, once full, grows at once by room for the whole pattern twice:
// its literal text and that copy.
void* ExtendForPattern(raw_storage& storage, std::size_t bytes)
{
    if (storage.capacity() - storage.size() < bytes && compilingLength > 0)
        storage.resize(storage.size() + bytes + 2 * compilingLength + 256);  // 256: the closing states
    return storage.extend(bytes);
}

// Whether the parsers take a character of this syntax type as a literal of
// its own accord: every type that neither the Perl and extended parser nor
// the basic one switches on. (A letter is no plain `syntax_char`: its type is
// its meaning after a backslash.) Conservative for the basic parser, which
// also takes some of these as literals.
bool TakenAsLiteral(regex_constants::syntax_type type)
{
    using namespace regex_constants;
    switch (type) {
    case syntax_open_mark:
    case syntax_close_mark:
    case syntax_escape:
    case syntax_dot:
    case syntax_caret:
    case syntax_dollar:
    case syntax_star:
    case syntax_question:
    case syntax_plus:
    case syntax_open_brace:
    case syntax_close_brace:
    case syntax_or:
    case syntax_open_set:
    case syntax_newline:
    case syntax_hash:
        return false;
    default:
        return true;
    }
}

} // namespace

// The library's own way of adding a character to the literal being built,
// but for how the storage grows (ExtendForPattern).
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
    ExtendForPattern(m_pdata->m_data, sizeof(char));
    auto* result = static_cast<re_literal*>(getaddress(offset));
    m_last_state = result;
    static_cast<char*>(static_cast<void*>(result + 1))[result->length] = m_traits.translate(c, m_icase);
    result->length += 1;
    return result;
}

// The library takes one literal character here and goes back to its main
// loop, which sends the next plain character (one with no syntax of its own,
// TakenAsLiteral) straight back here, in every syntax. So the run of
// plain characters that follows is taken at once, as the same one literal
// the library would build character by character.
template <>
bool EngineParser::parse_literal()
{
    const char* const first = m_position;
    const char* last = first + 1;
    while (last != m_end && TakenAsLiteral(this->m_traits.syntax_type(*last)))
        ++last;
    // In free-spacing mode white space is no literal: as the library, a
    // character at a time.
    const bool dropsSpaces =
        (this->flags() & (regbase::main_option_type | regbase::mod_x | regbase::no_perl_ex)) == regbase::mod_x;
    if (dropsSpaces) {
        for (; m_position != last; ++m_position) {
            if (!this->m_traits.isctype(*m_position, this->m_mask_space))
                this->append_literal(*m_position);
        }
        return true;
    }

    this->append_literal(*first);  // the literal the run extends is now the last state
    m_position = last;
    const auto rest = static_cast<std::size_t>(last - (first + 1));
    if (rest == 0)
        return true;
    // A long run looks each character's folding up in a table; a short one
    // would spend more on the table than on the characters.
    std::array<char, 256> folded{};
    const bool tabled = rest >= folded.size();
    if (tabled) {
        for (std::size_t c = 0; c < folded.size(); ++c)
            folded[c] = this->m_traits.translate(static_cast<char>(c), this->m_icase);
    }
    const std::ptrdiff_t offset = this->getoffset(this->m_last_state);
    // The last literal's characters end the storage: the run goes on there.
    char* to = static_cast<char*>(ExtendForPattern(this->m_pdata->m_data, rest));
    auto* literal = static_cast<re_literal*>(this->getaddress(offset));
    this->m_last_state = literal;
    for (const char* from = first + 1; from != last; ++from)
        *to++ = tabled ? folded[static_cast<unsigned char>(*from)] : this->m_traits.translate(*from, this->m_icase);
    literal->length += static_cast<unsigned>(rest);
    return true;
}

} // namespace boost::BOOST_REGEX_DETAIL_NS

namespace tamarin {

boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive)
{
    return CompilePattern(pattern, syntax, caseSensitive, boost::regex::flag_type{});
}

boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive,
                            boost::regex::flag_type extraFlags)
{
    // An empty view may carry no pointer at all; the library wants a real range.
    const char* first = pattern.empty() ? "" : pattern.data();
    // The text is Windows-1252: its classes and case pairs above 0x7F come
    // from the locale, which must be in place before the pattern is parsed.
    boost::regex expression;
    expression.imbue(codepage::Locale());
    const CompilingScope compiling(pattern.size());
    expression.assign(first, first + pattern.size(), SyntaxFlags(syntax, caseSensitive) | extraFlags);
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
