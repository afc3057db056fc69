#include "PatternCharacters.h"

#include "CodePage.h"
#include "RegexConfig.h"

namespace tamarin::pattern {

namespace rc = boost::regex_constants;
static_assert(OpenMark == rc::syntax_open_mark && CloseSet == rc::syntax_close_set && Hash == rc::syntax_hash);
static_assert(Digit == rc::syntax_digit && Newline == rc::syntax_newline && Comma == rc::syntax_comma);
static_assert(Colon == rc::syntax_colon && Equal == rc::syntax_equal && Not == rc::syntax_not);
static_assert(WordAssert == rc::escape_type_word_assert && LeftWord == rc::escape_type_left_word);
static_assert(Class == rc::escape_type_class && NotClass == rc::escape_type_not_class);
static_assert(StartBuffer == rc::escape_type_start_buffer && EndBuffer == rc::escape_type_end_buffer);
static_assert(ControlA == rc::escape_type_control_a && Hex == rc::escape_type_hex);
static_assert(AsciiControl == rc::escape_type_ascii_control && E == rc::escape_type_e);
static_assert(EndQuote == rc::escape_type_E && StartQuote == rc::escape_type_Q && Combining == rc::escape_type_X);
static_assert(OneByte == rc::escape_type_C && SoftEnd == rc::escape_type_Z && Continue == rc::escape_type_G);
static_assert(Property == rc::escape_type_property && NamedChar == rc::escape_type_named_char);
static_assert(ExtendedBackref == rc::escape_type_extended_backref && ResetStart == rc::escape_type_reset_start_mark);
static_assert(LineEnding == rc::escape_type_line_ending && ControlV == rc::escape_type_control_v);

namespace {

using Traits = boost::regex::traits_type;

const Traits& LibraryTraits()
{
    static const Traits traits = [] {
        Traits t;
        t.imbue(codepage::Locale());
        return t;
    }();
    return traits;
}

} // namespace

Characters::Characters()
{
    const Traits& traits = LibraryTraits();
    static const char spaceName[] = "s";
    static const char wordName[] = "w";
    const auto space = traits.lookup_classname(spaceName, spaceName + 1);
    const auto word = traits.lookup_classname(wordName, wordName + 1);
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        roles_[i] = static_cast<unsigned char>(traits.syntax_type(c));
        flags_[i] = static_cast<unsigned char>((traits.isctype(c, space) ? SpaceFlag : 0) |
                                               (traits.isctype(c, word) ? WordFlag : 0));
    }
}

const Characters& Characters::Get()
{
    static const Characters characters;
    return characters;
}

bool Characters::IsClassName(const char* first, const char* last) const
{
    return LibraryTraits().lookup_classname(first, last) != 0;
}

std::string Characters::CollateName(const char* first, const char* last) const
{
    return LibraryTraits().lookup_collatename(first, last);
}

std::intmax_t Characters::ToInt(const char*& first, const char* last, int radix) const
{
    return LibraryTraits().toi(first, last, radix);
}

// As the compiler checks a range when it stores a class (basic_regex_creator::append_set).
bool Characters::RangeAccepted(Digraph first, Digraph last, bool collate, bool icase, bool longSet) const
{
    const Traits& traits = LibraryTraits();
    first.first = traits.translate(first.first, icase);
    last.first = traits.translate(last.first, icase);
    if (!longSet) {
        if (collate) {
            const char a[2] = {first.first, 0}, b[2] = {last.first, 0};  // as the compiler passes them
            return !(traits.transform(a, a + 1) > traits.transform(b, b + 1));
        }
        return static_cast<unsigned char>(last.first) >= static_cast<unsigned char>(first.first);
    }
    first.second = traits.translate(first.second, icase);
    last.second = traits.translate(last.second, icase);
    std::string s1, s2;
    if (collate) {
        const char a1[3] = {first.first, first.second, 0}, a2[3] = {last.first, last.second, 0};
        s1 = traits.transform(a1, a1[1] ? a1 + 2 : a1 + 1);
        s2 = traits.transform(a2, a2[1] ? a2 + 2 : a2 + 1);
        if (s1.empty())
            s1 = std::string(1, '\0');
        if (s2.empty())
            s2 = std::string(1, '\0');
    } else {
        s1 = first.second ? std::string{first.first, first.second} : std::string(1, first.first);
        s2 = last.second ? std::string{last.first, last.second} : std::string(1, last.first);
    }
    return !(s1 > s2);
}

bool Characters::EquivalenceAccepted(Digraph d, bool longSet) const
{
    const Traits& traits = LibraryTraits();
    if (longSet && d.second) {
        const char cs[3] = {d.first, d.second, 0};
        return !traits.transform_primary(cs, cs + 2).empty();
    }
    const char c[2] = {d.first, 0};
    return !traits.transform_primary(c, c + 1).empty();
}

} // namespace tamarin::pattern
