#include "CodePage.h"

#include <array>

namespace tamarin::codepage {

namespace {

constexpr char16_t Unassigned = 0xFFFD;

// 0x80 to 0x9F, where Windows-1252 departs from Latin-1 (which holds C1
// controls there); the rest of the page is Latin-1.
constexpr char16_t Page80[32] = {
    0x20AC, Unassigned, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030,     0x0160, 0x2039, 0x0152, Unassigned, 0x017D, Unassigned,
    Unassigned, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC, 0x2122,     0x0161, 0x203A, 0x0153, Unassigned, 0x017E, 0x0178,
};

constexpr char16_t UnicodeOf(unsigned byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Page80[byte - 0x80] : static_cast<char16_t>(byte);
}

// Every UTF-16 unit to its byte: one lookup per character, also for the
// megabytes of a large input.
using ByteTable = std::array<unsigned char, 0x10000>;

const ByteTable& Bytes()
{
    static const ByteTable table = [] {
        ByteTable bytes;
        bytes.fill(static_cast<unsigned char>(StandIn));
        for (unsigned byte = 0; byte < 0x100; ++byte) {
            if (UnicodeOf(byte) != Unassigned)
                bytes[UnicodeOf(byte)] = static_cast<unsigned char>(byte);
        }
        return bytes;
    }();
    return table;
}

using Mask = std::ctype_base::mask;

// Some libraries give graph and alnum bits of their own beside those of
// alpha, digit and punct; others compose them. Set only what is separate.
constexpr Mask GraphBits = std::ctype_base::graph &
                           ~(std::ctype_base::alpha | std::ctype_base::digit | std::ctype_base::punct);
constexpr Mask AlnumBits = std::ctype_base::alnum & ~(std::ctype_base::alpha | std::ctype_base::digit);
constexpr Mask Visible = std::ctype_base::print | GraphBits;
constexpr Mask Letter = std::ctype_base::alpha | AlnumBits | Visible;
constexpr Mask Capital = Letter | std::ctype_base::upper;
constexpr Mask Small = Letter | std::ctype_base::lower;
constexpr Mask Symbol = std::ctype_base::punct | Visible;
constexpr Mask NoBreakSpace = std::ctype_base::space | std::ctype_base::blank | std::ctype_base::print;

// Classes and case pairs of the page's 256 bytes, after the characters they
// stand for: ASCII as the classic locale has it; above it letters (with
// their case partner where the page holds one), the no-break space, and
// punctuation and symbols for the rest. Unassigned bytes (the stand-in)
// are in no class.
struct Tables {
    Mask classes[256];
    unsigned char lower[256];
    unsigned char upper[256];
};

// The classic locale's table is open to facets only.
struct ClassicCtype : std::ctype<char> {
    using std::ctype<char>::classic_table;
};

Tables MakeTables()
{
    Tables tables{};
    const Mask* classic = ClassicCtype::classic_table();
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        tables.lower[byte] = tables.upper[byte] = static_cast<unsigned char>(byte);
        if (byte < 0x80)
            tables.classes[byte] = classic[byte];
        else if (UnicodeOf(byte) != Unassigned)
            tables.classes[byte] = Symbol;
    }
    for (unsigned byte = 'A'; byte <= 'Z'; ++byte) {
        tables.lower[byte] = static_cast<unsigned char>(byte + 0x20);
        tables.upper[byte + 0x20] = static_cast<unsigned char>(byte);
    }
    const auto pair = [&tables](unsigned capital, unsigned small) {
        tables.classes[capital] = Capital;
        tables.classes[small] = Small;
        tables.lower[capital] = static_cast<unsigned char>(small);
        tables.upper[small] = static_cast<unsigned char>(capital);
    };
    for (unsigned byte = 0xC0; byte <= 0xDE; ++byte) {
        if (byte != 0xD7)  // the multiplication sign, beside the division sign 0xF7
            pair(byte, byte + 0x20);
    }
    pair(0x8A, 0x9A);  // Š š
    pair(0x8C, 0x9C);  // Œ œ
    pair(0x8E, 0x9E);  // Ž ž
    pair(0x9F, 0xFF);  // Ÿ ÿ
    for (unsigned small : {0x83u, 0xB5u, 0xDFu})  // ƒ µ ß: their capitals are not in the page
        tables.classes[small] = Small;
    for (unsigned letter : {0x88u, 0xAAu, 0xBAu})  // ˆ ª º: letters without case
        tables.classes[letter] = Letter;
    tables.classes[0xA0] = NoBreakSpace;
    return tables;
}

const Tables& CodePageTables()
{
    static const Tables tables = MakeTables();
    return tables;
}

// The page's classes and case pairs as a std::ctype<char>, which is all the
// expression library asks of a locale for classes and case.
class CodePageCtype final : public std::ctype<char> {
public:
    CodePageCtype() : std::ctype<char>(CodePageTables().classes), tables_(CodePageTables()) {}

protected:
    char do_toupper(char c) const override { return Map(tables_.upper, c); }
    char do_tolower(char c) const override { return Map(tables_.lower, c); }
    const char* do_toupper(char* first, const char* last) const override
    {
        for (; first != last; ++first)
            *first = Map(tables_.upper, *first);
        return last;
    }
    const char* do_tolower(char* first, const char* last) const override
    {
        for (; first != last; ++first)
            *first = Map(tables_.lower, *first);
        return last;
    }

private:
    static char Map(const unsigned char (&table)[256], char c)
    {
        return static_cast<char>(table[static_cast<unsigned char>(c)]);
    }

    const Tables& tables_;
};

} // namespace

char16_t ToUnicode(char byte)
{
    return UnicodeOf(static_cast<unsigned char>(byte));
}

char FromUnicode(char16_t unit)
{
    return static_cast<char>(Bytes()[unit]);
}

void EncodeInto(const char16_t* units, std::size_t count, char* out)
{
    const ByteTable& bytes = Bytes();
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<char>(bytes[units[i]]);
}

std::string Encode(std::u16string_view text)
{
    std::string bytes(text.size(), '\0');
    EncodeInto(text.data(), text.size(), bytes.data());
    return bytes;
}

void DecodeInto(const char* bytes, std::size_t count, char16_t* out)
{
    // One pass the compiler can keep in registers: megabytes of selection
    // or copy are converted at a time.
    for (std::size_t i = 0; i < count; ++i)
        out[i] = UnicodeOf(static_cast<unsigned char>(bytes[i]));
}

std::u16string Decode(std::string_view text)
{
    std::u16string units(text.size(), u'\0');
    DecodeInto(text.data(), text.size(), units.data());
    return units;
}

const std::locale& Locale()
{
    // The locale owns the facet (reference count 0) and lives to the end.
    static const std::locale locale(std::locale::classic(), new CodePageCtype);
    return locale;
}

} // namespace tamarin::codepage
