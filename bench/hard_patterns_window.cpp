// How long the rows of bench/hard_patterns block the real main window: from
// the key that completes the pattern to the outcome shown in the outcome
// line, painting included, beside the same evaluation in the library alone
// (as bench/hard_patterns times it: Perl Search, case off, the window's
// start-up defaults).
//
// For each row and size, one child process times the library; another opens
// the main window as the program does, puts the input into the input editor
// and all of the pattern but its last character into the pattern editor,
// then types that character, and takes it back with an untimed Backspace,
// `runs` times. The window's column gives the first key and the median of
// all; the peak is the most the window's resident memory grew over what it
// held before the first key, and what it held at that peak.
//
//   hard_patterns_window [--sizes 50m,100m] [--runs N] [--rows TEXT] [--timeout SECONDS]
//
// --rows keeps the rows whose label contains TEXT. The window is offscreen
// unless QT_QPA_PLATFORM says otherwise (xcb on a display: the real thing).
// Beside the wall clock, each row gives the time the processes took (user
// and system) and their page faults, for the library and the window's first
// key; TAMARIN_BENCH_EACH_KEY=1 prints them for every key.
#include "Application.h"
#include "Engine.h"
#include "HeadlessView.h"
#include "Main.h"
#include "TextEditor.h"
#include "Windows.h"

#include "HardPatternRows.h"
#include "ProcessMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using process_memory::ResetPeakResident;
using process_memory::StatusKiB;

// The time this process has taken, user and system, and its page faults.
struct Usage {
    double user = 0;
    double system = 0;
    long faults = 0;
};

Usage UsageNow()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime), usage.ru_minflt + usage.ru_majflt};
}

Usage operator-(const Usage& a, const Usage& b) { return {a.user - b.user, a.system - b.system, a.faults - b.faults}; }

struct Figures {
    double librarySeconds = -1;
    Usage library;
    Usage firstKey;  // of the window's first key
    double firstSeconds = -1;
    double medianSeconds = -1;
    double worstSeconds = -1;
    long long peakGrowthKiB = -1;
    long long peakKiB = -1;
    char outcome[120] = "";
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// Runs `work` in a child process within `timeoutSeconds`; false when it died.
bool RunIsolated(int timeoutSeconds, const std::function<Figures()>& work, Figures& figures)
{
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        alarm(static_cast<unsigned>(timeoutSeconds));
        const Figures result = work();
        const bool written = write(fds[1], &result, sizeof result) == sizeof result;
        _exit(written ? 0 : 2);
    }
    close(fds[1]);
    const bool reported = read(fds[0], &figures, sizeof figures) == sizeof figures;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return reported && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The evaluation the window runs, with no window: the library, its budget
// and the engine's report into a view without widgets.
Figures TimeLibrary(const std::string& pattern, const std::string& input)
{
    tamarin::HeadlessView view;
    view.SetText(tamarin::TextControl::reSearch, input);
    view.SetChecked(tamarin::CheckControl::cbCaseSensitive, false);
    tamarin::EvaluationState state;
    state.AlgorithmIndex = tamarin::AlgorithmSearch;
    state.InputSnapshot = input;
    state.PatternSnapshot = pattern;
    const tamarin::EngineContext ctx{view, state, nullptr};
    const Usage before = UsageNow();
    const auto start = std::chrono::steady_clock::now();
    tamarin::DispatchRunner(ctx, input, 0);
    Figures figures;
    figures.librarySeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.library = UsageNow() - before;
    return figures;
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The window as the program opens it, the input in place and the pattern
// but its last character typed; then that character, `runs` times.
Figures TimeWindow(const std::string& pattern, const std::string& input, int runs)
{
    int argc = 1;
    char name[] = "hard_patterns_window";
    char* argv[] = {name, nullptr};
    TamarinApplication app(argc, argv);
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    Figures figures;
    if (!QTest::qWaitForWindowExposed(frmMain) || pattern.empty())
        return figures;
    TextEditor* patternEditor = frmMain->mmoSignature;
    frmMain->reSearch->setPlainText(QString::fromLatin1(input.data(), static_cast<qsizetype>(input.size())));
    patternEditor->setPlainText(QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size() - 1)));
    patternEditor->SetSelection(patternEditor->text().size(), patternEditor->text().size());
    patternEditor->setFocus();
    Settle();

    const long long residentBefore = StatusKiB("VmRSS");
    const bool reset = ResetPeakResident();
    std::vector<double> keys;
    for (int run = 0; run < runs; ++run) {
        const Usage before = UsageNow();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(patternEditor, pattern.back());
        Settle();
        keys.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        const Usage taken = UsageNow() - before;
        if (run == 0)
            figures.firstKey = taken;
        if (qEnvironmentVariableIsSet("TAMARIN_BENCH_EACH_KEY"))
            std::fprintf(stderr, "key %d: %.3f s, %.2f user %.2f sys %ld faults\n", run + 1, keys.back(), taken.user, taken.system, taken.faults);
        if (run == 0)
            std::snprintf(figures.outcome, sizeof figures.outcome, "%s", frmMain->pnOutcome->text().toUtf8().constData());
        QTest::keyClick(patternEditor, Qt::Key_Backspace);
        Settle();
    }
    figures.firstSeconds = keys.front();
    figures.medianSeconds = Median(keys);
    figures.worstSeconds = *std::max_element(keys.begin(), keys.end());
    if (reset) {
        figures.peakKiB = StatusKiB("VmHWM");
        figures.peakGrowthKiB = figures.peakKiB - residentBefore;
    }
    return figures;
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

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<std::size_t> sizes = {50000000, 100000000};
    int runs = 3;
    int timeout = 300;
    std::string rows;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--runs") {
            runs = std::max(1, std::atoi(value.c_str()));
        } else if (option == "--timeout") {
            timeout = std::max(1, std::atoi(value.c_str()));
        } else if (option == "--rows") {
            rows = value;
        } else if (option == "--sizes") {
            sizes.clear();
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = std::min(value.find(',', at), value.size());
                sizes.push_back(ParseSize(value.substr(at, comma - at)));
                at = comma + 1;
            }
        }
    }

    std::printf("%-32s %9s %9s %9s %9s %9s %9s %9s  %s\n", "pattern / input", "size", "library",
                "window 1st", "median", "worst", "peak +MiB", "peak MiB", "outcome shown (first key)");
    bool within = true;
    for (const hard_patterns::Row& row : hard_patterns::Rows()) {
        if (!rows.empty() && row.label.find(rows) == std::string::npos)
            continue;
        for (std::size_t size : sizes) {
            const std::string pattern = row.pattern(size);
            const std::string input = row.input(size);
            Figures library;
            Figures window;
            const bool libraryDone = RunIsolated(timeout, [&] { return TimeLibrary(pattern, input); }, library);
            const bool windowDone = RunIsolated(timeout, [&] { return TimeWindow(pattern, input, runs); }, window);
            const bool met = windowDone && window.worstSeconds <= 2.0;
            within &= met;
            std::printf("%-32s %9zu %8.3fs %8.3fs %8.3fs %8.3fs %9.1f %9.1f  %s%s\n", row.label.c_str(), size,
                        libraryDone ? library.librarySeconds : -1.0, window.firstSeconds, window.medianSeconds,
                        window.worstSeconds, static_cast<double>(window.peakGrowthKiB) / 1024,
                        static_cast<double>(window.peakKiB) / 1024, windowDone ? window.outcome : "(killed)",
                        met ? "" : "  OVER 2 s");
            // On a shared machine the wall clock includes waiting for a core;
            // the time taken does not.
            std::printf("%-32s %9s  taken: library %.2f user %.2f sys %ld faults; window's first key %.2f user %.2f sys %ld faults\n",
                        "", "", library.library.user, library.library.system, library.library.faults,
                        window.firstKey.user, window.firstKey.system, window.firstKey.faults);
            std::fflush(stdout);
        }
    }
    return within ? 0 : 1;
}
