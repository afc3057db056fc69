// How long one evaluation blocks the window, and what it reports, for the
// pattern families that make a backtracking matcher work hard (nested and
// overlapping quantifiers, recursion, deep nesting, huge patterns) and for
// patterns that take little work but much backtracking memory, over inputs
// of 1 KB to 100 MB.
//
// Each combination of a row (syntaxes where the pattern compiles, Match and
// Search, case on and off) runs in a child process of its own with a time
// limit, so that a pattern that never finishes costs that limit and no more,
// and so that its peak memory is its own. A row's time and peak memory are
// the largest of its combinations; its result is that of Perl Search, case
// off (the defaults the window starts with), followed by how many of all
// combinations gave up matching (the budget, not the compiler) where that is
// more than the one shown. Beside the time the
// evaluation blocked, the CPU time it took: on a shared machine the first
// includes waiting for a core, the second does not.
//
// Peak memory is what the evaluation adds to the child's resident memory:
// the child resets the kernel's high-water mark of its resident set
// (/proc/self/clear_refs) once the input and the view are in place, and
// reads it (VmHWM) after the evaluation. The backtracking stack, the copies
// the report makes and anything else the evaluation touches count; memory
// the parent had before the fork does not. A child that fails to reset the
// mark says so ("n/a").
//
// Then ordinary patterns (a literal, a class, an alternation of words, an
// anchored line pattern, a search that restarts at every word) over lines,
// none of which they find, so each reads the whole input: the evaluation
// beside the bare library call (compile and regex_search, with the engine's
// limits), medians of three runs, whether the answers agree, and how many of
// the combinations gave up matching (none may).
//
//   hard_patterns [--quick] [--ordinary-only] [--timeout SECONDS]
//                 [--memory-guard GIB] [--sizes 1k,100k,1m,10m,50m,100m]
//
// --quick runs Perl Search, case off only. --memory-guard caps each child's
// address space (default 8 GiB), so that a budget that lets one evaluation
// take more cannot take the shared machine down with it: past the guard the
// allocation fails and the engine reports that it gave up.
#include "Engine.h"
#include "HeadlessView.h"
#include "RegexLibrary.h"

#include "RegexConfig.h"

#include "HardPatternRows.h"
#include "ProcessMemory.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace hard_patterns;
using process_memory::ResetPeakResident;
using process_memory::StatusKiB;
using tamarin::RunnerResult;

struct Combo {
    int algorithm;
    int syntax;
    bool caseSensitive;
};

struct Outcome {
    double seconds = 0;
    double cpuSeconds = 0;  // of this process: what a machine of its own would take
    RunnerResult result = 0;
    long long pos = -1;
    long long len = -1;
    long long peakKiB = -1;  // -1: not measured
    bool gaveUpMatching = false;  // -2 from the match (the budget), not from the compiler
};

// CPU time of this process, user and system: the page faults that fresh
// backtracking memory costs are system time.
double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

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
    tamarin::EvaluationOutcome evaluation;
    const tamarin::EngineContext ctx{view, state, &evaluation};

    Outcome outcome;
    malloc_trim(0);
    const bool reset = ResetPeakResident();
    const long long residentBefore = StatusKiB("VmRSS");
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    outcome.result = tamarin::DispatchRunner(ctx, input, 0);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.cpuSeconds = CpuSeconds() - cpuStart;
    outcome.gaveUpMatching = outcome.result == tamarin::ResultLibraryThrew &&
                             evaluation.stage == tamarin::EvaluationOutcome::Stage::Match;
    const long long peak = StatusKiB("VmHWM");
    if (reset && residentBefore >= 0 && peak >= 0)
        outcome.peakKiB = std::max(0LL, peak - residentBefore);
    if (outcome.result == tamarin::ResultMatched && !view.TopLevelNodes().empty()) {
        const auto& node = *view.TopLevelNodes().front();
        if (!node.children.empty())
            std::sscanf(node.children.front()->text.c_str(), "Pos : %lld  Len : %lld", &outcome.pos,
                        &outcome.len);
    }
    return outcome;
}

// Runs one combination in a child process; false when the child ran out of
// time or died. The child's address space is capped at `guardBytes`.
bool RunIsolated(const std::string& pattern, const std::string& input, const Combo& combo,
                 int timeoutSeconds, rlim_t guardBytes, Outcome& outcome)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const rlimit guard{guardBytes, guardBytes};
        setrlimit(RLIMIT_AS, &guard);
        alarm(static_cast<unsigned>(timeoutSeconds));
        const Outcome result = RunOne(pattern, input, combo);
        if (write(fds[1], &result, sizeof result) != sizeof result)
            _exit(2);
        _exit(0);
    }
    close(fds[1]);
    const bool reported = read(fds[0], &outcome, sizeof outcome) == sizeof outcome;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return reported && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The library called directly, as the engine would without its report:
// compile, then one search over the whole text.
Outcome RunBare(const std::string& pattern, const std::string& input)
{
    Outcome outcome;
    outcome.result = tamarin::ResultNoMatch;
    const auto start = std::chrono::steady_clock::now();
    try {
        const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
        boost::cmatch match;
        if (boost::regex_search(input.data(), input.data() + input.size(), match, expression,
                                boost::match_default)) {
            outcome.result = tamarin::ResultMatched;
            outcome.pos = match[0].first - input.data();
            outcome.len = match[0].second - match[0].first;
        }
    } catch (...) {
        outcome.result = tamarin::ResultLibraryThrew;
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

// Each ordinary pattern over `size` characters of lines, in this process;
// then in every one of `combos`, where none may give up.
void RunOrdinary(std::size_t size, const std::vector<Combo>& combos)
{
    static const char* const patterns[] = {"ID-4711-XQ", "[0-9]+", "kilo|lima|mike", "^\\s*$",
                                           "\\w+@\\w+\\.com"};
    const std::string input = Words(size, true);
    for (const char* pattern : patterns) {
        std::vector<double> engine, bare;
        Outcome fromEngine, fromLibrary;
        for (int run = 0; run < 3; ++run) {
            fromEngine = RunOne(pattern, input, {1, 0, false});
            fromLibrary = RunBare(pattern, input);
            engine.push_back(fromEngine.seconds);
            bare.push_back(fromLibrary.seconds);
        }
        int gaveUp = 0;
        for (const Combo& combo : combos)
            gaveUp += RunOne(pattern, input, combo).gaveUpMatching ? 1 : 0;
        const double allowed = 1.5 * Median(bare) + 0.005;
        const bool same = fromEngine.result == fromLibrary.result && fromEngine.pos == fromLibrary.pos &&
                          fromEngine.len == fromLibrary.len;
        std::printf("%-18s %9zu %9.3f s %9.3f s %9.3f s  %-10s %-7s %d of %zu\n", pattern, size,
                    Median(engine), Median(bare), allowed, fromEngine.result == tamarin::ResultLibraryThrew ? "GAVE UP" : same ? "same" : "DIFFERENT",
                    Median(engine) <= allowed ? "within" : "SLOWER", gaveUp, combos.size());
        std::fflush(stdout);
    }
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
    bool ordinaryOnly = false;
    int timeout = 30;
    double guardGiB = 8;
    std::vector<std::size_t> sizes = {1000, 100000, 1000000, 10000000, 50000000, 100000000};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--ordinary-only") {
            ordinaryOnly = true;
        } else if (arg == "--timeout" && i + 1 < argc) {
            timeout = std::atoi(argv[++i]);
        } else if (arg == "--memory-guard" && i + 1 < argc) {
            guardGiB = std::atof(argv[++i]);
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
    const auto guardBytes = static_cast<rlim_t>(guardGiB * (1 << 30));
    std::printf("Boost.Regex %d.%d.%d; %zu combination(s) per row; limit %d s and %.1f GiB per "
                "combination\n",
                release.major, release.minor, release.patch, combos.size(), timeout, guardGiB);
    std::printf("%-32s %9s %12s %9s %10s  %s\n", "pattern / input", "size", "worst block", "cpu",
                "peak MiB", "result (Perl Search)");
    for (const Row& row : ordinaryOnly ? std::vector<Row>{} : Rows()) {
        for (std::size_t size : sizes) {
            const std::string pattern = row.pattern(size);
            const std::string input = row.input(size);
            double worst = 0;
            double worstCpu = 0;
            long long peakKiB = -1;
            bool finished = true;
            int gaveUp = 0;
            bool outcomes0GaveUp = false;
            std::string result = "(killed)";
            for (std::size_t i = 0; i < combos.size(); ++i) {
                Outcome outcome;
                if (!RunIsolated(pattern, input, combos[i], timeout, guardBytes, outcome)) {
                    finished = false;
                    continue;
                }
                worst = std::max(worst, outcome.seconds);
                worstCpu = std::max(worstCpu, outcome.cpuSeconds);
                peakKiB = std::max(peakKiB, outcome.peakKiB);
                gaveUp += outcome.gaveUpMatching ? 1 : 0;
                if (i == 0) {
                    result = Describe(outcome);
                    outcomes0GaveUp = outcome.gaveUpMatching;
                }
            }
            char block[32];
            if (finished)
                std::snprintf(block, sizeof block, "%.3f s", worst);
            else
                std::snprintf(block, sizeof block, "> %d s", timeout);
            char peak[32] = "n/a";
            if (peakKiB >= 0)
                std::snprintf(peak, sizeof peak, "%.1f", static_cast<double>(peakKiB) / 1024);
            // The other combinations may end otherwise than the one shown.
            if (gaveUp > 0 && !(gaveUp == 1 && outcomes0GaveUp))
                result += "; " + std::to_string(gaveUp) + " of " + std::to_string(combos.size()) +
                          " gave up matching";
            std::printf("%-32s %9zu %12s %7.3f s %10s  %s\n", row.label.c_str(), size, block,
                        worstCpu, peak, result.c_str());
            std::fflush(stdout);
        }
    }

    std::printf("\n%-18s %9s %11s %11s %11s  %-10s %-7s %s\n", "ordinary pattern", "size",
                "evaluation", "bare", "allowed", "answer", "time", "gave up");
    for (std::size_t size : sizes)
        RunOrdinary(size, combos);
    return 0;
}
