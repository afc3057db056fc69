// libFuzzer target: one evaluation of the engine through HeadlessView, every
// option chosen by the fuzzer, then the checks every evaluation must pass.
//
// Input: byte 0 the algorithm, byte 1 the syntax index (see Index), byte 2
// options (bit 0 case-sensitive, bit 1 syntax check, bit 2 highlight, bit 3
// the input set in italic beforehand), bytes 3 and 4 the pattern's length
// (little endian, cut to what follows), then the pattern, then the input.
// NUL bytes and bytes above 0x7F are ordinary characters in both.
#include "Engine.h"
#include "HeadlessView.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tamarin;

namespace {

// Most bytes pick one of the `usual` values 0..usual-1; the top 32 stand for
// -8..23, values without a runner or outside the syntax table included.
std::int32_t Index(std::uint8_t byte, int usual)
{
    return byte < 0xE0 ? byte % usual : byte - 0xE0 - 8;
}

struct Case {
    std::int32_t algorithm = 0, syntax = 0;
    bool caseSensitive = false, syntaxCheck = false, highlight = false, italic = false;
    std::string pattern, input;
};

// What one evaluation left behind, as a user would see it.
struct Seen {
    std::int32_t returned = 0;
    EvaluationOutcome outcome;
    std::string what0, what1;
    const HeadlessView* view = nullptr;
};

[[noreturn]] void Fail(const Case& c, const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n  algorithm %d syntax %d case %d check %d highlight %d italic %d\n",
                 what, c.algorithm, c.syntax, c.caseSensitive, c.syntaxCheck, c.highlight, c.italic);
    std::abort();
}

#define REQUIRE(condition) \
    do { if (!(condition)) Fail(c, #condition); } while (0)

// What a trigger of the main window does: input and snapshots, a cleared tree, Evaluate.
Seen Evaluated(const Case& c, HeadlessView& view)
{
    EvaluationState state;
    state.AlgorithmIndex = c.algorithm;
    state.SyntaxIndex = c.syntax;
    state.InputSnapshot = c.input;
    state.PatternSnapshot = c.pattern;
    view.SetText(TextControl::reSearch, c.input);
    if (c.italic)
        view.FormatInput(0, c.input.size(), fsItalic);
    view.SetChecked(CheckControl::cbCaseSensitive, c.caseSensitive);
    view.SetChecked(CheckControl::cfgSyntaxCheck, c.syntaxCheck);
    view.SetChecked(CheckControl::cfgHighLight, c.highlight);
    view.ClearTree();
    Seen seen;
    seen.returned = Evaluate({view, state, &seen.outcome});
    seen.what0 = view.GetText(TextControl::what0);
    seen.what1 = view.GetText(TextControl::what1);
    seen.view = &view;
    return seen;
}

void CheckReport(const Case& c, const Seen& s)
{
    const RunnerResult r = s.outcome.result;
    const HeadlessView& view = *s.view;
    REQUIRE(r == 1 || r == -1 || r == -2 || r == -3 || r == -4);
    REQUIRE(s.returned == (r == -1 ? 0 : 1));

    const bool runs = c.algorithm == AlgorithmMatch || c.algorithm == AlgorithmSearch;
    const bool compiles = PatternCompiles(c.pattern, SyntaxFromIndex(c.syntax), c.caseSensitive);
    REQUIRE(runs || r == -1);
    REQUIRE(!runs || (r == -4) == c.input.empty());
    if (runs && !c.input.empty()) {
        // The check rejects exactly what the runner's own compile throws on.
        REQUIRE((r == -3) == (c.syntaxCheck && !compiles));
        REQUIRE(compiles || r == -3 || r == -2);
        REQUIRE(r != -2 || (s.outcome.stage == EvaluationOutcome::Stage::Compile) == !compiles);
    }
    REQUIRE(view.Messages().size() == (r == -3 ? 1u : 0u));
    REQUIRE(r != -3 || view.Messages()[0] == InvalidPatternMessage);

    const auto& nodes = view.TopLevelNodes();
    const std::int64_t size = static_cast<std::int64_t>(c.input.size());
    std::int64_t pos = -1, len = 0;
    if (r == 1) {
        pos = s.outcome.pos;
        len = s.outcome.len;
        REQUIRE(pos >= 0 && len >= 0 && pos + len <= size);
        const std::string matched = c.input.substr(pos, len);
        REQUIRE(s.what1 + matched + s.what0 == c.input);
        REQUIRE(s.what1.size() == static_cast<std::size_t>(pos));
        REQUIRE(nodes.size() == 1 && nodes[0]->text == matched);
        REQUIRE(nodes[0]->children.size() == 1 && nodes[0]->children[0]->children.empty());
        REQUIRE(nodes[0]->children[0]->text ==
                "Pos : " + std::to_string(pos) + "  Len : " + std::to_string(len));
        REQUIRE(c.algorithm != AlgorithmMatch || (pos == 0 && len == size));
    } else {
        REQUIRE(s.what0.empty() && s.what1.empty() && nodes.empty());
    }

    // The highlight: exactly the match green and bold, everything else as it was.
    const bool marked = r == 1 && c.highlight;
    REQUIRE(view.SelStart() == (marked ? pos : 0));
    REQUIRE(view.GetSelLength() == (marked ? len : 0));
    for (std::int64_t i = 0; i < size; ++i) {
        const bool inMatch = marked && i >= pos && i < pos + len;
        REQUIRE(view.ColorAt(i) == (inMatch ? HighlightColor : HeadlessView::DefaultColor));
        REQUIRE(view.StyleAt(i) == (inMatch ? fsBold : c.italic ? fsItalic : 0));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return -1;  // not an input of this target; keep it out of the corpus
    Case c;
    c.algorithm = Index(data[0], 2);
    c.syntax = Index(data[1], 3);
    c.caseSensitive = data[2] & 1;
    c.syntaxCheck = data[2] & 2;
    c.highlight = data[2] & 4;
    c.italic = data[2] & 8;
    const char* rest = reinterpret_cast<const char*>(data + 5);
    const std::size_t restSize = size - 5;
    const std::size_t patternSize = std::min<std::size_t>(data[3] | data[4] << 8, restSize);
    c.pattern.assign(rest, patternSize);
    c.input.assign(rest + patternSize, restSize - patternSize);

    HeadlessView view;
    CheckReport(c, Evaluated(c, view));
    return 0;
}
