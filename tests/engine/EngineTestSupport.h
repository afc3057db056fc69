#pragma once
// Shared set-up for the engine tests: a window stand-in with its evaluation
// state, a view that records (and can fail) every operation, and a check that
// a reported match is consistent with the text that was searched.

#include "Engine.h"
#include "HeadlessView.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tamarin::test {

// The tree on one line: each node as text[children], siblings joined by " | ".
inline std::string Describe(const std::vector<std::unique_ptr<HeadlessView::Node>>& nodes)
{
    std::string out;
    for (const auto& node : nodes) {
        if (!out.empty())
            out += " | ";
        out += node->text;
        if (!node->children.empty())
            out += "[" + Describe(node->children) + "]";
    }
    return out;
}

// The main window as far as the engine sees it.
template <class View = HeadlessView>
struct Window {
    View view;
    EvaluationState state;
    EngineContext ctx{view, state};

    Window() = default;
    Window(const Window&) = delete;

    // What an evaluation trigger does before it calls Evaluate.
    void Enter(const std::string& pattern, const std::string& input)
    {
        view.SetText(TextControl::reSearch, input);
        state.InputSnapshot = input;
        state.PatternSnapshot = pattern;
    }
    std::int32_t Trigger()
    {
        view.ClearTree();
        return Evaluate(ctx);
    }
    void Check(CheckControl box, bool on = true) { view.SetChecked(box, on); }
    std::string Tree() const { return Describe(view.TopLevelNodes()); }
    std::string What0() const { return view.GetText(TextControl::what0); }
    std::string What1() const { return view.GetText(TextControl::what1); }
};

// Logs every EngineView operation with its arguments; an operation whose
// entry starts with `failOn` throws instead of running.
class ProbeView : public HeadlessView {
public:
    mutable std::vector<std::string> log;
    std::string failOn;

    std::string GetText(TextControl c) const override { Note("GetText " + Name(c)); return HeadlessView::GetText(c); }
    std::int64_t TextLength(TextControl c) const override { Note("TextLength " + Name(c)); return HeadlessView::TextLength(c); }
    void SetText(TextControl c, const std::string& t) override { Note("SetText " + Name(c) + " '" + t + "'"); HeadlessView::SetText(c, t); }
    bool IsChecked(CheckControl b) const override { Note("IsChecked " + Name(b)); return HeadlessView::IsChecked(b); }
    void SetSelStart(std::int32_t s) override { Note("SetSelStart " + std::to_string(s)); HeadlessView::SetSelStart(s); }
    void SetSelLength(std::int32_t l) override { Note("SetSelLength " + std::to_string(l)); HeadlessView::SetSelLength(l); }
    std::int32_t GetSelLength() const override { Note("GetSelLength"); return HeadlessView::GetSelLength(); }
    void SetSelColor(ColorRef c) override { Note("SetSelColor " + Hex(c)); HeadlessView::SetSelColor(c); }
    FontStyle GetSelStyle() const override { Note("GetSelStyle"); return HeadlessView::GetSelStyle(); }
    void SetSelStyle(FontStyle s) override { Note("SetSelStyle " + std::to_string(s)); HeadlessView::SetSelStyle(s); }
    TreeNodeRef AddNode(const std::string& t) override { Note("AddNode '" + t + "'"); return HeadlessView::AddNode(t); }
    TreeNodeRef NodeByIndex(std::int32_t i) override { Note("NodeByIndex " + std::to_string(i)); return HeadlessView::NodeByIndex(i); }
    TreeNodeRef AddChildNode(TreeNodeRef p, const std::string& t) override
    {
        Note("AddChildNode '" + static_cast<Node*>(p.handle)->text + "' <- '" + t + "'");
        return HeadlessView::AddChildNode(p, t);
    }
    void ClearTree() override { Note("ClearTree"); HeadlessView::ClearTree(); }
    void ShowMessage(const std::string& t) override { Note("ShowMessage '" + t + "'"); HeadlessView::ShowMessage(t); }

private:
    void Note(const std::string& entry) const
    {
        if (!failOn.empty() && entry.rfind(failOn, 0) == 0)
            throw std::runtime_error("view failed: " + entry);
        log.push_back(entry);
    }
    static std::string Name(TextControl c) { return std::array{"reSearch", "what0", "what1"}[int(c)]; }
    static std::string Name(CheckControl b)
    {
        return std::array{"cbCaseSensitive", "cfgSyntaxCheck", "cfgHighLight"}[int(b)];
    }
    static std::string Hex(ColorRef c)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(c));
        return buf;
    }
};

// After a runner result on a cleared tree: a defined result, and for a match a
// report that agrees with the searched text (positions inside it, node text,
// panes before and after the match); messages only for a rejected pattern.
inline void ExpectConsistentReport(const Window<>& w, RunnerResult result, const std::string& input)
{
    ASSERT_TRUE(result == 1 || result == -1 || result == -2 || result == -3) << result;
    EXPECT_EQ(w.view.Messages().size(), result == -3 ? 1u : 0u);
    if (result != 1)
        return;
    const auto& nodes = w.view.TopLevelNodes();
    ASSERT_EQ(nodes.size(), 1u);
    ASSERT_EQ(nodes[0]->children.size(), 1u);
    long long pos = -1, len = -1;
    ASSERT_EQ(std::sscanf(nodes[0]->children[0]->text.c_str(), "Pos : %lld  Len : %lld", &pos, &len), 2);
    ASSERT_GE(pos, 0);
    ASSERT_GE(len, 0);
    ASSERT_LE(pos + len, static_cast<long long>(input.size()));
    EXPECT_EQ(nodes[0]->text, input.substr(pos, len));
    EXPECT_EQ(w.What1(), input.substr(0, pos));
    EXPECT_EQ(w.What0(), input.substr(pos + len));
}

// A name for a row of a parameterised test (gtest takes letters, digits and
// '_'): each part keeps its runs of ASCII letters and digits, capitalised
// ("no match, Match" -> "NoMatchMatch"), and the parts are joined by '_'.
// A part gives at most 48 characters: long patterns would make long names.
inline std::string RowName(std::initializer_list<std::string_view> parts)
{
    std::string name;
    for (const std::string_view part : parts) {
        std::string word;
        bool startsWord = true;
        for (const char ch : part) {
            if (word.size() == 48)
                break;
            const auto u = static_cast<unsigned char>(ch);
            if (u < 0x80 && std::isalnum(u)) {
                word += startsWord ? static_cast<char>(std::toupper(u)) : ch;
                startsWord = false;
            } else {
                startsWord = true;
            }
        }
        if (!word.empty())
            name += (name.empty() ? "" : "_") + word;
    }
    return name;
}

// The same with the row's index last, for tables whose fields alone do not
// tell every row apart.
inline std::string RowName(std::initializer_list<std::string_view> parts, std::size_t index)
{
    const std::string name = RowName(parts);
    return (name.empty() ? "Row" : name + "_") + std::to_string(index);
}

// Numbers in row names: "-7" is "Minus7".
inline std::string NumberName(long long number)
{
    return number < 0 ? "Minus" + std::to_string(0ULL - static_cast<unsigned long long>(number)) : std::to_string(number);
}

// The names the window gives the algorithm and syntax indices.
inline std::string AlgorithmName(std::int32_t algorithm)
{
    return algorithm == 0 ? "Match" : algorithm == 1 ? "Search" : algorithm == 2 ? "Replace" : "Algorithm" + NumberName(algorithm);
}
inline std::string SyntaxName(std::int32_t syntax)
{
    return syntax == 0 ? "Perl" : syntax == 1 ? "Basic" : syntax == 2 ? "Extended" : "Syntax" + NumberName(syntax);
}
inline std::string CaseName(bool caseSensitive) { return caseSensitive ? "Sensitive" : "Insensitive"; }

} // namespace tamarin::test
