// How long one evaluation blocks the window, and what it reports, for the
// pattern families that make a backtracking matcher work hard (nested and
// overlapping quantifiers, recursion, deep nesting, huge patterns) and for
// patterns that take little work but much backtracking memory, over inputs
// of 1 KB to 10 MB.
//
// Each row runs in a child process with a time limit, so that a pattern that
// never finishes costs that limit and no more. A row's time is the slowest
// of the combinations it runs (syntaxes where the pattern compiles, Match and
// Search, case on and off); its result is that of Perl Search, case off (the
// defaults the window starts with).
//
//   hard_patterns [--quick] [--timeout SECONDS] [--sizes 1k,100k,1m,10m]
//
// --quick runs Perl Search, case off only.
#include "Engine.h"
#include "HeadlessView.h"
#include "RegexLibrary.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using tamarin::RunnerResult;

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

std::string Words(std::size_t size, bool lines)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo",
                                        "foxtrot", "golf", "hotel", "india", "juliet"};
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 16);
    std::size_t lineStart = 0;
    while (text.size() < size) {
        if (lines && text.size() - lineStart > 70) {
            text += '\n';
            lineStart = text.size();
        } else if (!text.empty() && text.back() != '\n') {
            text += ' ';
        }
        text += words[random() % 10];
    }
    text.resize(size);
    return text;
}

std::string TwoLetters(std::size_t size, char a, char b)
{
    std::mt19937 random(11);
    std::string text(size, a);
    for (char& c : text)
        c = (random() & 1) ? a : b;
    return text;
}

std::string Nested(std::size_t depth, const std::string& core)
{
    return std::string(depth, '(') + core + std::string(depth, ')');
}

struct Row {
    std::string label;
    std::function<std::string(std::size_t)> pattern;  // by input size
    std::function<std::string(std::size_t)> input;
};

std::vector<Row> Rows()
{
    auto fixed = [](std::string s) { return [s](std::size_t) { return s; }; };
    auto as = [](std::size_t n) { return Repeat('a', n); };
    auto xs = [](std::size_t n) { return Repeat('x', n); };
    auto lines = [](std::size_t n) { return Words(n, true); };
    auto line = [](std::size_t n) { return Words(n, false); };
    return {
        {"(a++(?#x))  compile", fixed("(a++(?#x))"), as},
        {"(>++(?#E\\<)C  compile", fixed("(>++(?#E\\<)C"), as},
        {"(a+)+b  on a..a", fixed("(a+)+b"), as},
        {"(a*)*b  on a..a", fixed("(a*)*b"), as},
        {"((a+)+)+b  on a..a", fixed("((a+)+)+b"), as},
        {"(x+x+)+y  on x..x", fixed("(x+x+)+y"), xs},
        {"(a|aa)+b  on a..a", fixed("(a|aa)+b"), as},
        {"(a|a?)+b  on a..a", fixed("(a|a?)+b"), as},
        {"(.*a){12}b  on a..a", fixed("(.*a){12}b"), as},
        {"a(?R)?b  on a..a", fixed("a(?R)?b"), as},
        {"(.|\\n)*  on lines", fixed("(.|\\n)*"), lines},
        {"(.|\\n)*  on one line", fixed("(.|\\n)*"), line},
        {"[\\s\\S]*  on lines", fixed("[\\s\\S]*"), lines},
        {"(a|b)*  on a/b", fixed("(a|b)*"), [](std::size_t n) { return TwoLetters(n, 'a', 'b'); }},
        {"(?:x|y)+  on x/y", fixed("(?:x|y)+"), [](std::size_t n) { return TwoLetters(n, 'x', 'y'); }},
        {"(\\w+\\s?)*$  on lines", fixed("(\\w+\\s?)*$"), lines},
        {"(\\w+\\s?)*$  on one line", fixed("(\\w+\\s?)*$"), line},
        {"\\w+@\\w+\\.com  on lines", fixed("\\w+@\\w+\\.com"), lines},
        {"10000-deep (..(b)..)  on lines", fixed(Nested(10000, "b")), lines},
        {"pattern of N a  on \"aaab\"", as, fixed("aaab")},
    };
}

struct Combo {
    int algorithm;
    int syntax;
    bool caseSensitive;
};

struct Outcome {
    double seconds = 0;
    RunnerResult result = 0;
    long long pos = -1;
    long long len = -1;
};

Outcome RunOne(const std::string& pattern, const std::string& input, const Combo& combo)
{
    tamarin::HeadlessView view;
    view.SetText(tamarin::TextControl::reSearch, input);
    view.SetChecked(tamarin::CheckControl::cbCaseSensitive, combo.caseSensitive);
    tamarin::EvaluationState state;
    state.AlgorithmIndex = combo.algorithm;
    state.SyntaxIndex = combo.syntax;
    state.InputSnapshot = input;
    state.PatternSnapshot = pattern;
    const tamarin::EngineContext ctx{view, state};

    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    outcome.result = tamarin::DispatchRunner(ctx, input, 0);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.result == tamarin::ResultMatched && !view.TopLevelNodes().empty()) {
        const auto& node = *view.TopLevelNodes().front();
        if (!node.children.empty())
            std::sscanf(node.children.front()->text.c_str(), "Pos : %lld  Len : %lld", &outcome.pos,
                        &outcome.len);
    }
    return outcome;
}

// Runs `combos` in a child process; false when the child ran out of time.
bool RunIsolated(const std::string& pattern, const std::string& input,
                 const std::vector<Combo>& combos, int timeoutSeconds,
                 std::vector<Outcome>& outcomes)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        alarm(static_cast<unsigned>(timeoutSeconds));
        for (const Combo& combo : combos) {
            const Outcome outcome = RunOne(pattern, input, combo);
            if (write(fds[1], &outcome, sizeof outcome) != sizeof outcome)
                _exit(2);
        }
        _exit(0);
    }
    close(fds[1]);
    outcomes.clear();
    Outcome outcome;
    while (read(fds[0], &outcome, sizeof outcome) == sizeof outcome)
        outcomes.push_back(outcome);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Describe(const Outcome& o)
{
    switch (o.result) {
    case tamarin::ResultMatched:
        return "match " + std::to_string(o.pos) + "+" + std::to_string(o.len);
    case tamarin::ResultNoMatch: return "no match";
    case tamarin::ResultLibraryThrew: return "-2 gave up";
    default: return "result " + std::to_string(o.result);
    }
}

std::size_t ParseSize(const std::string& s)
{
    std::size_t n = std::strtoull(s.c_str(), nullptr, 10);
    if (s.find_first_of("kK") != std::string::npos)
        n *= 1000;
    if (s.find_first_of("mM") != std::string::npos)
        n *= 1000 * 1000;
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    int timeout = 30;
    std::vector<std::size_t> sizes = {1000, 100000, 1000000, 10000000};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--timeout" && i + 1 < argc) {
            timeout = std::atoi(argv[++i]);
        } else if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            std::string list = argv[++i];
            for (std::size_t at = 0; at <= list.size();) {
                const std::size_t comma = std::min(list.find(',', at), list.size());
                sizes.push_back(ParseSize(list.substr(at, comma - at)));
                at = comma + 1;
            }
        }
    }

    // The first combination is the window's start-up default; its result is shown.
    std::vector<Combo> combos = {{1, 0, false}};
    if (!quick) {
        for (int algorithm : {0, 1})
            for (int syntax : {0, 1, 2})
                for (bool caseSensitive : {false, true})
                    if (!(algorithm == 1 && syntax == 0 && !caseSensitive))
                        combos.push_back({algorithm, syntax, caseSensitive});
    }

    const tamarin::RegexLibraryRelease release = tamarin::RegexLibraryVersion();
    std::printf("Boost.Regex %d.%d.%d; %zu combination(s) per row; limit %d s per row\n",
                release.major, release.minor, release.patch, combos.size(), timeout);
    std::printf("%-32s %8s %12s  %s\n", "pattern / input", "size", "worst block", "result (Perl Search)");
    for (const Row& row : Rows()) {
        for (std::size_t size : sizes) {
            const std::string pattern = row.pattern(size);
            const std::string input = row.input(size);
            std::vector<Outcome> outcomes;
            const bool finished = RunIsolated(pattern, input, combos, timeout, outcomes);
            double worst = 0;
            for (const Outcome& o : outcomes)
                worst = std::max(worst, o.seconds);
            char block[32];
            if (finished)
                std::snprintf(block, sizeof block, "%.3f s", worst);
            else
                std::snprintf(block, sizeof block, "> %d s", timeout);
            const std::string result = outcomes.empty() ? "(killed)" : Describe(outcomes.front());
            std::printf("%-32s %8zu %12s  %s\n", row.label.c_str(), size, block, result.c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}
