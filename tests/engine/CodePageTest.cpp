// The engine's 8-bit text: the Windows-1252 mapping both ways, the stand-in
// for characters the page lacks, and the page's classes and case pairs in
// every syntax.

#include "CodePage.h"
#include "EngineTestSupport.h"

#include <cstdio>
#include <set>

using namespace tamarin;
using namespace tamarin::test;

namespace {

struct UnitCase {
    char16_t unit;
    unsigned char byte;
};

const UnitCase unitCases[] = {
    {u'A', 'A'},    {u'\0', 0x00},  {u'é', 0xE9},   {u'\u00A0', 0xA0}, {u'ÿ', 0xFF},   {u'€', 0x80},
    {u'ƒ', 0x83},   {u'Š', 0x8A},    {u'Œ', 0x8C},   {u'Ž', 0x8E},       {u'‘', 0x91},   {u'”', 0x94},
    {u'–', 0x96},   {u'—', 0x97},    {u'™', 0x99},   {u'š', 0x9A},       {u'Ÿ', 0x9F},
    // Not in the page: C1 controls, other scripts, the halves of a
    // character beyond the Basic Multilingual Plane.
    {u'\u0080', 0x81}, {u'\u0081', 0x81}, {u'π', 0x81}, {u'中', 0x81}, {u'\uFFFD', 0x81}, {0xD83D, 0x81},
};

class CodePageUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(CodePageUnit, IsOneByte)
{
    const UnitCase& c = GetParam();
    EXPECT_EQ(static_cast<unsigned char>(codepage::FromUnicode(c.unit)), c.byte) << int(c.unit);
}

// "U20AC_To80": the unit and the byte, in hex.
INSTANTIATE_TEST_SUITE_P(Windows1252, CodePageUnit, ::testing::ValuesIn(unitCases), [](const auto& info) {
    char name[16];
    std::snprintf(name, sizeof name, "U%04X_To%02X", unsigned(info.param.unit), unsigned(info.param.byte));
    return std::string(name);
});

TEST(CodePage, OneBytePerUnitAndBack)
{
    std::set<int> unassigned;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t unit = codepage::ToUnicode(static_cast<char>(byte));
        if (unit == u'\uFFFD')
            unassigned.insert(byte);
        else
            EXPECT_EQ(static_cast<unsigned char>(codepage::FromUnicode(unit)), byte) << byte;
    }
    EXPECT_EQ(unassigned, (std::set<int>{0x81, 0x8D, 0x8F, 0x90, 0x9D}));
    EXPECT_EQ(codepage::Encode(u"x€😀"), std::string("x\x80\x81\x81"));
}

// Patterns and inputs as a user types them; the match, through the page.
struct ClassCase {
    std::int32_t syntax;
    bool caseSensitive;
    std::u16string_view pattern, input, match;  // match empty: none
};

const ClassCase classCases[] = {
    {0, false, u"É", u"café", u"é"},         {1, false, u"É", u"café", u"é"},
    {2, false, u"É", u"café", u"é"},         {0, true, u"É", u"café", u""},
    {0, false, u"ŠŒŽŸ", u"-šœžÿ", u"šœžÿ"},  {0, false, u"[À-Þ]+", u"noël", u"ë"},
    {2, false, u"[[:lower:]]+", u"ÀÉa", u"ÀÉa"}, {0, false, u"ß", u"SS", u""},
    {0, false, u"\\É", u"é", u"é"},         {0, false, u"caf\\w", u"un café", u"café"},
    {0, false, u"\\w+", u"–ƒœ€", u"ƒœ"},     {0, false, u"\\bcafé\\b", u"cafés café", u"café"},
    {2, true, u"[[:alpha:]]+", u"½ naïve", u"naïve"}, {1, true, u"[[:upper:]]", u"éÉ", u"É"},
    {0, false, u"\\d", u"²3", u"3"},         {0, false, u"\\s", u"a\u00A0b", u"\u00A0"},
    {0, false, u"“.”", u"a “b” c", u"“b”"},  {1, false, u"x€", u"x", u""},
    // The stand-in: itself and '.', for any character the page lacks.
    {0, false, u"π", u"3π", u"π"},           {0, false, u"\\?", u"中", u""},
    {1, false, u"b.c", u"abπcd", u"bπc"},    {2, false, u"中+", u"a文😀", u"文😀"},
};

class CodePageClasses : public ::testing::TestWithParam<ClassCase> {};

TEST_P(CodePageClasses, MatchThroughThePage)
{
    const ClassCase& c = GetParam();
    const std::string pattern = codepage::Encode(c.pattern), input = codepage::Encode(c.input);
    SCOPED_TRACE(::testing::Message() << "syntax " << c.syntax << " /" << pattern << "/ '" << input << "'");
    Window<> w;
    w.Check(CheckControl::cbCaseSensitive, c.caseSensitive);
    w.state.SyntaxIndex = c.syntax;
    w.Enter(pattern, input);
    w.Trigger();
    const std::string match = codepage::Encode(c.match);
    const std::size_t pos = input.rfind(match);  // every match here is the last occurrence
    EXPECT_EQ(w.Tree(), c.match.empty() ? "" : match + "[Pos : " + std::to_string(pos) + "  Len : " +
                                                   std::to_string(match.size()) + "]");
}

INSTANTIATE_TEST_SUITE_P(EverySyntax, CodePageClasses, ::testing::ValuesIn(classCases), [](const auto& info) {
    const ClassCase& c = info.param;
    return RowName({SyntaxName(c.syntax), CaseName(c.caseSensitive), codepage::Encode(c.pattern)}, info.index);
});

} // namespace
