// The pieces around the library call: the optional syntax check, the cut of
// the result panes, the tree node that receives the position, and the mark.

#include "EngineTestSupport.h"

#include <cstdint>

using namespace tamarin;
using namespace tamarin::test;

namespace {

struct VerdictCase {
    Syntax syntax;
    const char* pattern;
    bool check;
    std::int32_t verdict;
};

const VerdictCase verdictCases[] = {
    {Syntax::Perl, "(", true, -1},      {Syntax::Basic, "(", true, 1},     {Syntax::Extended, "(", true, -1},
    {Syntax::Perl, "[", true, -1},      {Syntax::Basic, "[", true, -1},    {Syntax::Extended, "[", true, -1},
    {Syntax::Basic, "\\(", true, -1},   {Syntax::Basic, "", true, -1},     {Syntax::Perl, "", true, 1},
    {Syntax::Perl, "(?<=a+)b", true, -1}, {Syntax::Perl, "(a)\\2", true, -1}, {Syntax::Extended, "a{2}", true, 1},
    {Syntax::Perl, "a(b)c", true, 1},   {Syntax::Perl, "(", false, 1},     {Syntax::Basic, "[", false, 1},
};

class Verdict : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdict, PerSyntaxWithCheckOnAndOff)
{
    const VerdictCase& c = GetParam();
    static const std::string elsewhere = "[";
    for (const bool caseSensitive : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "case " << caseSensitive);
        Window<> w;
        w.Check(CheckControl::cfgSyntaxCheck, c.check);
        w.state.PatternSnapshot = c.pattern;
        CurrentPattern = elsewhere;  // the check looks at the snapshot only
        EXPECT_EQ(ValidatePattern(w.ctx, c.syntax, caseSensitive), c.verdict);
        EXPECT_EQ(w.view.Messages(), std::vector<std::string>(c.verdict == 1 ? 0 : 1, "Invalid Regular Expression"));
    }
}

INSTANTIATE_TEST_SUITE_P(ValidatePattern, Verdict, ::testing::ValuesIn(verdictCases), [](const auto& info) {
    const VerdictCase& c = info.param;
    return RowName({SyntaxName(static_cast<std::int32_t>(c.syntax)), c.check ? "CheckOn" : "CheckOff", c.pattern},
                   info.index);
});

TEST(ValidatePattern, EveryRealTimeEvaluationWarnsAgain)
{
    Window<> w;
    w.Check(CheckControl::cfgSyntaxCheck);
    w.Enter("(", "a(b");
    for (int edit = 1; edit <= 3; ++edit) {
        EXPECT_EQ(w.Trigger(), 1);
        EXPECT_EQ(w.view.Messages().size(), std::size_t(edit));
    }
    w.state.SyntaxIndex = 1;  // in POSIX Basic '(' is an ordinary character
    EXPECT_EQ(w.Trigger(), 1);
    EXPECT_EQ(w.Tree(), "([Pos : 1  Len : 1]");
    EXPECT_EQ(w.view.Messages().size(), 3u);
}

struct CutCase {
    std::string text;
    std::int64_t start, count;
    std::string cut;
};

const CutCase cutCases[] = {
    {"abc", 1, 3, "abc"}, {"abc", 2, 1, "b"},      {"abc", 0, 2, "ab"},       {"abc", -7, 2, "ab"},
    {"abc", 3, 9, "c"},   {"abc", 4, 1, ""},       {"abc", 2, 0, ""},         {"abc", 2, -1, ""},
    {"", 0, 1, ""},       {"", 1, 1, ""},          {"abc", 1, INT64_MAX, "abc"}, {"abc", INT64_MAX, 1, ""},
    {"abc", INT64_MIN, 1, "a"}, {"abc", 1, INT64_MIN, ""}, {std::string("a\0b", 3), 2, 2, std::string("\0b", 2)},
};

class CutBoundary : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutBoundary, Cuts)
{
    const CutCase& c = GetParam();
    EXPECT_EQ(CutText(c.text, c.start, c.count), c.cut) << "start " << c.start << " count " << c.count;
}

INSTANTIATE_TEST_SUITE_P(CutText, CutBoundary, ::testing::ValuesIn(cutCases), [](const auto& info) {
    const CutCase& c = info.param;
    return RowName({c.text.empty() ? "Empty" : c.text, "Start" + NumberName(c.start), "Count" + NumberName(c.count)});
});

// A tree that was not cleared: the index counts the older nodes, children too.
struct NodeIndexCase {
    std::int32_t index;
    RunnerResult result;
    const char* tree;
};

const NodeIndexCase nodeIndexCases[] = {
    {0, 1, "old[old child | Pos : 1  Len : 2] | other | an"},
    {1, 1, "old[old child[Pos : 1  Len : 2]] | other | an"},
    {2, 1, "old[old child] | other[Pos : 1  Len : 2] | an"},
    {3, 1, "old[old child] | other | an[Pos : 1  Len : 2]"},
    {4, -2, "old[old child] | other | an"},
    {-1, -2, "old[old child] | other | an"},
};

class NodeIndex : public ::testing::TestWithParam<NodeIndexCase> {};

TEST_P(NodeIndex, ChildGoesUnderTheNodeAtTheIndex)
{
    const NodeIndexCase& c = GetParam();
    Window<> w;
    w.Enter("an", "banana");
    w.view.AddChildNode(w.view.AddNode("old"), "old child");
    w.view.AddNode("other");
    EXPECT_EQ(DispatchRunner(w.ctx, "banana", c.index), c.result);
    EXPECT_EQ(w.Tree(), c.tree);
    EXPECT_EQ(w.What1(), "b");  // written before the node, so it stays
    EXPECT_EQ(w.What0(), "ana");
}

INSTANTIATE_TEST_SUITE_P(OlderNodes, NodeIndex, ::testing::ValuesIn(nodeIndexCases),
                         [](const auto& info) { return "Index" + NumberName(info.param.index); });

// Formatting of "banana" before the mark: which characters are green, and
// their styles ('B' bold only, 'i' italic, 'u' underline, 's' strike-out, '.' none).
std::string Colours(const HeadlessView& v)
{
    std::string out;
    for (std::size_t i = 0; i < v.GetText(TextControl::reSearch).size(); ++i)
        out += v.ColorAt(i) == 0x008000 ? 'G' : v.ColorAt(i) == HeadlessView::DefaultColor ? '.' : '?';
    return out;
}
std::string Styles(const HeadlessView& v)
{
    std::string out;
    for (std::size_t i = 0; i < v.GetText(TextControl::reSearch).size(); ++i) {
        const FontStyle s = v.StyleAt(i);
        out += s == fsBold ? 'B' : s == fsItalic ? 'i' : s == fsUnderline ? 'u' : s == fsStrikeOut ? 's' : s == 0 ? '.' : '?';
    }
    return out;
}
void Preformat(HeadlessView& v)
{
    v.FormatInput(1, 1, fsItalic);
    v.FormatInput(2, 1, fsUnderline);
    v.FormatInput(3, 1, fsStrikeOut);
    v.FormatInput(4, 1, fsItalic | fsBold);
}

// Starts from a selection of 2..4; unchecked, or without an algorithm, it stays.
struct MarkCase {
    bool checked;
    std::int32_t algorithm, pos, len, returned, selStart, selLength;
    const char *colours, *styles;
};

const MarkCase markCases[] = {
    {true, 1, 1, 2, 1, 1, 2, ".GG...", ".BBs?."},
    {true, 0, 0, 6, 1, 0, 6, "GGGGGG", "BBBBBB"},
    {true, 1, 0, 0, 1, 0, 0, "......", ".ius?."},   // empty match: nothing coloured
    {true, 1, 4, 10, 1, 4, 2, "....GG", ".iusBB"},  // clipped at the end
    {true, 1, 10, 5, 1, 6, 0, "......", ".ius?."},  // past the end: nothing
    {true, 2, 1, 2, 1, 2, 3, "......", ".ius?."},   // no algorithm: no mark
    {false, 1, 1, 2, -1, 2, 3, "......", ".ius?."},
};

class Mark : public ::testing::TestWithParam<MarkCase> {};

TEST_P(Mark, IsTheSelectedRangeExactlyBoldGreen)
{
    const MarkCase& c = GetParam();
    Window<> w;
    w.Check(CheckControl::cfgHighLight, c.checked);
    w.state.AlgorithmIndex = c.algorithm;
    w.view.SetText(TextControl::reSearch, "banana");
    Preformat(w.view);
    w.view.SetSelStart(2);
    w.view.SetSelLength(3);
    EXPECT_EQ(HighlightMatch(w.ctx, c.pos, c.len), c.returned);
    EXPECT_EQ(w.view.SelStart(), c.selStart);
    EXPECT_EQ(w.view.GetSelLength(), c.selLength);
    EXPECT_EQ(Colours(w.view), c.colours);
    EXPECT_EQ(Styles(w.view), c.styles);
}

INSTANTIATE_TEST_SUITE_P(Highlight, Mark, ::testing::ValuesIn(markCases), [](const auto& info) {
    const MarkCase& c = info.param;
    return RowName({c.checked ? "On" : "Off", AlgorithmName(c.algorithm), "Pos" + NumberName(c.pos),
                    "Len" + NumberName(c.len)});
});

TEST(Highlight, EvaluationsKeepEarlierMarksAndFormattingOutsideTheMatch)
{
    Window<> w;
    w.Check(CheckControl::cfgHighLight);
    w.Enter("b", "banana");
    Preformat(w.view);
    EXPECT_EQ(w.Trigger(), 1);
    w.state.PatternSnapshot = "an";
    EXPECT_EQ(w.Trigger(), 1);
    EXPECT_EQ(w.view.SelStart(), 1);
    EXPECT_EQ(w.view.GetSelLength(), 2);
    EXPECT_EQ(Colours(w.view), "GGG...");
    EXPECT_EQ(Styles(w.view), "BBBs?.");
    EXPECT_EQ(w.view.GetText(TextControl::reSearch), "banana");
}

} // namespace
