// How long the pattern explainer takes: a pattern of one literal run of
// 100 MB in each syntax (at most 1 s each, so that the page can explain it off
// the window's thread while the user waits), and ordinary patterns (well
// under 1 ms each, so that the page follows typing). Beside each, the
// library's own compile of the same pattern, as the engine compiles it.
// Exits with 1 when a figure misses its goal.
//
//   explain_pattern [--megabytes N]
#include "PatternExplain.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double BestSeconds(int runs, F&& f)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

const char* const SyntaxNames[] = {"Perl", "POSIX Basic", "POSIX Extended"};
const char* const ShortNames[] = {"Perl", "Basic", "Ext."};

} // namespace

int main(int argc, char** argv)
{
    std::size_t megabytes = 100;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--megabytes") == 0)
            megabytes = static_cast<std::size_t>(std::max(1, std::atoi(argv[i + 1])));
    bool missed = false;

    std::string literal(megabytes << 20, 'x');
    for (std::size_t i = 0; i < literal.size(); i += 7)
        literal[i] = static_cast<char>('a' + i % 26);
    std::printf("One literal run of %zu MB          explain     library compile   goal\n", megabytes);
    for (int syntax = 0; syntax < 3; ++syntax) {
        std::size_t nodes = 0;
        const double explain = BestSeconds(3, [&] { nodes = tamarin::ExplainPattern(literal, syntax, false).root.children.size(); });
        const double library = BestSeconds(1, [&] { tamarin::ReadPatternWithLibrary(literal, syntax, false); });
        const bool ok = explain <= 1.0 && nodes == 1;
        missed = missed || !ok;
        std::printf("  %-16s            %8.3f s   %8.3f s         <= 1 s %s\n", SyntaxNames[syntax], explain, library,
                    ok ? "ok" : "MISSED");
    }

    static const char* const ordinary[] = {
        "hello world",
        "^\\s*(\\w+)\\s*=\\s*\"([^\"]*)\"\\s*$",
        "(?<year>\\d{4})-(?<month>\\d\\d)-(?<day>\\d\\d)",
        "\\b(?:foo|bar|baz|qux)+\\b",
        "(?<=\\$)\\d+(?:\\.\\d{2})?",
        "[[:alpha:]_][[:alnum:]_]*",
        "([a-z0-9._%+-]+)@([a-z0-9.-]+\\.[a-z]{2,})",
        "(a+)+b|(?i:c*?)d{2,5}+",
    };
    std::printf("\nOrdinary patterns (mean of 2000 runs)   explain   library compile   goal\n");
    for (const char* pattern : ordinary)
        for (int syntax = 0; syntax < 3; ++syntax) {
            const int runs = 2000;
            const double explain = BestSeconds(3, [&] {
                for (int i = 0; i < runs; ++i)
                    tamarin::ExplainPattern(pattern, syntax, false);
            }) / runs;
            const double library = BestSeconds(3, [&] {
                for (int i = 0; i < runs; ++i)
                    tamarin::ReadPatternWithLibrary(pattern, syntax, false);
            }) / runs;
            const bool ok = explain < 1e-3;
            missed = missed || !ok;
            std::printf("  %-44.44s %-5.5s %7.1f us  %7.1f us       < 1 ms %s\n", pattern, ShortNames[syntax],
                        explain * 1e6, library * 1e6, ok ? "ok" : "MISSED");
        }
    return missed ? 1 : 0;
}
