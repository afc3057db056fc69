// The engine's 8-bit text: the Windows-1252 mapping both ways, the stand-in
// for characters the page lacks, and the page's classes and case pairs in
// every syntax.

#include "CodePage.h"
#include "EngineTestSupport.h"

#include <set>

using namespace tamarin;
using namespace tamarin::test;

namespace {

TEST(CodePage, MapsEachUnitToOneByte)
{
    const struct {
        char16_t unit;
        unsigned char byte;
    } cases[] = {
        {u'A', 'A'},       {u'\n', '\n'},     {u'\0', 0x00},     {u'é', 0xE9},     {u'\u00A0', 0xA0},
        {u'ÿ', 0xFF},      {u'€', 0x80},      {u'‚', 0x82},      {u'ƒ', 0x83},     {u'…', 0x85},
        {u'Š', 0x8A},      {u'Œ', 0x8C},      {u'Ž', 0x8E},      {u'‘', 0x91},     {u'’', 0x92},
        {u'“', 0x93},      {u'”', 0x94},      {u'–', 0x96},      {u'—', 0x97},     {u'™', 0x99},
        {u'š', 0x9A},      {u'œ', 0x9C},      {u'ž', 0x9E},      {u'Ÿ', 0x9F},
        // Not in the page: C1 controls (Latin-1's 0x80 to 0x9F), other scripts,
        // symbols, the halves of a character beyond the Basic Multilingual Plane.
        {u'\u0080', 0x81}, {u'\u0081', 0x81}, {u'\u009D', 0x81}, {u'π', 0x81},     {u'中', 0x81},
        {u'\u2028', 0x81}, {u'\uFFFD', 0x81}, {0xD83D, 0x81},    {0xDE00, 0x81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "U+" << std::hex << int(c.unit));
        EXPECT_EQ(static_cast<unsigned char>(codepage::FromUnicode(c.unit)), c.byte);
    }
    EXPECT_EQ(codepage::Encode(u"x€😀"), std::string("x\x80\x81\x81"));
}

TEST(CodePage, EveryAssignedByteComesBackAndTheStandInIsUnassigned)
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
    EXPECT_EQ(codepage::Decode("\x80\x81"), u"€\uFFFD");
}

struct TextCase {
    std::int32_t syntax;
    bool caseSensitive;
    std::u16string_view pattern, input;
    std::u16string_view node;  // empty with pos -1: no match
    int pos;
};

// Patterns and inputs as a user types them, through the code page.
const TextCase textCases[] = {
    // Case pairs above 0x7F, in every syntax.
    {0, false, u"É", u"café", u"é", 3},           {1, false, u"É", u"café", u"é", 3},
    {2, false, u"É", u"café", u"é", 3},           {0, true, u"É", u"café", u"", -1},
    {0, false, u"ŠŒŽŸ", u"-šœžÿ", u"šœžÿ", 1},    {0, false, u"[À-Þ]+", u"noël", u"ë", 2},
    {2, false, u"[[:lower:]]+", u"ÀÉa", u"ÀÉa", 0}, {0, false, u"ß", u"SS", u"", -1},
    {0, false, u"\\É", u"é", u"é", 0},             {0, true, u"\\é", u"é", u"é", 0},
    // Classes above 0x7F.
    {0, false, u"caf\\w", u"un café", u"café", 3}, {0, false, u"\\w+", u"–ƒœ€", u"ƒœ", 1},
    {0, false, u"\\bcafé\\b", u"cafés café", u"café", 6},
    {2, true, u"[[:alpha:]]+", u"½ naïve", u"naïve", 2}, {1, true, u"[[:upper:]]", u"éÉ", u"É", 1},
    {0, false, u"\\d", u"²3", u"3", 1},            {0, false, u"\\s", u"a\u00A0b", u"\u00A0", 1},
    // Characters of the page are themselves, never '?'.
    {0, false, u"x€", u"x", u"", -1},              {0, false, u"x€", u"ax€", u"x€", 1},
    {0, false, u"€", u"5 €", u"€", 2},             {0, false, u"“.”", u"a “b” c", u"“b”", 2},
    // The stand-in: itself, '.', any character outside the page; never '?'.
    {0, false, u"π", u"3π", u"π", 1},              {0, false, u"\\?", u"中?", u"?", 1},
    {0, false, u"b.c", u"abπcd", u"bπc", 1},       {0, false, u"中", u"文", u"文", 0},
    {1, false, u"[^a]", u"😀", u"\xD83D", 0},       {2, false, u"😀+", u"a😀😀", u"😀😀", 1},
};

TEST(CodePage, PatternsAndInputsThroughThePage)
{
    for (const TextCase& c : textCases) {
        const std::string pattern = codepage::Encode(c.pattern), input = codepage::Encode(c.input);
        SCOPED_TRACE(::testing::Message() << "syntax " << c.syntax << " case " << c.caseSensitive
                                          << " /" << pattern << "/ on '" << input << "'");
        Window<> w;
        w.Check(CheckControl::cbCaseSensitive, c.caseSensitive);
        w.state.SyntaxIndex = c.syntax;
        w.Enter(pattern, input);
        w.Trigger();
        if (c.pos < 0) {
            EXPECT_EQ(w.Tree(), "");
            continue;
        }
        const std::string node = codepage::Encode(c.node);
        EXPECT_EQ(w.Tree(), node + "[Pos : " + std::to_string(c.pos) + "  Len : " +
                                std::to_string(node.size()) + "]");
        EXPECT_EQ(w.What1(), input.substr(0, static_cast<std::size_t>(c.pos)));
    }
}

} // namespace
