// What the matches window costs the user, through the real windows:
//
// 1. A keystroke in the main window with real-time match on, as the input
//    grows (lines, and the same text as one line): from the key that
//    completes the pattern to the main window's outcome shown, with the
//    matches window hidden, open on its Matches page and open on its Explain
//    page; beside it, from that key to the window's first rows (or its final
//    count, when nothing matches) and to its explanation shown, and the
//    process's resident memory at its most (input and listing included).
// 2. The Explain page for patterns up to one literal of 100 MB, real-time
//    match off: from the key to the verdict shown, and the longest the
//    window's thread was busy at a stretch meanwhile (what typing would feel).
//
//   matches_window [--sizes 1m,10m,100m] [--runs N] [--patterns 100m]
//
// Offscreen unless QT_QPA_PLATFORM says otherwise. Figures are medians of
// `runs` keys, each followed by an untimed Backspace.
#include "Application.h"
#include "ExplainPage.h"
#include "Main.h"
#include "MatchTableModel.h"
#include "TextEditor.h"
#include "Unitmatches.h"
#include "Windows.h"

#include "ProcessMemory.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using process_memory::StatusKiB;

constexpr int MatchesPage = 0;
constexpr int ExplainPage = 2;
constexpr double GiveUpSeconds = 60;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Turns the event loop until `done`; the seconds from `timer`'s start, or -1.
double WaitUntil(const QElapsedTimer& timer, const std::function<bool()>& done, double* longestTurn = nullptr)
{
    while (!done()) {
        if (Seconds(timer) > GiveUpSeconds)
            return -1;
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (longestTurn)
            *longestTurn = std::max(*longestTurn, Seconds(turn));
    }
    return Seconds(timer);
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

bool WindowIdle()
{
    return !frmMatches->isVisible() || !frmMatches->Busy();
}

std::string Input(std::size_t size, bool lines)
{
    const std::string line = lines ? "write to ann@example.com or bob@tamarin.com today\n"
                                   : "write to ann@example.com or bob@tamarin.com today ";
    std::string input;
    input.reserve(size + line.size());
    while (input.size() < size)
        input += line;
    input.resize(size);
    return input;
}

void TypeAllButLast(TextEditor* editor, const std::string& text)
{
    editor->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size() - 1)));
    editor->SetSelection(editor->text().size(), editor->text().size());
    editor->setFocus();
}

struct KeyFigures {
    double main = -1, rows = -1, explained = -1;
    long long peakKiB = 0;  // the process's resident memory at its most during the keys
};

// `runs` keys completing `pattern` over the input in place, the matches
// window as `page` says (-1: hidden).
KeyFigures TimeKeys(const std::string& pattern, int page, int runs)
{
    if (page < 0)
        frmMatches->hide();
    else {
        frmMatches->show();
        frmMatches->pcMatches->setCurrentIndex(page);
    }
    TypeAllButLast(frmMain->mmoSignature, pattern);
    QElapsedTimer idle;
    idle.start();
    WaitUntil(idle, WindowIdle);
    long long peak = StatusKiB("VmRSS");
    std::vector<double> mains, rows, explained;
    for (int run = 0; run < runs; ++run) {
        const int shown = frmMatches->Explainer()->Shown();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(frmMain->mmoSignature, pattern.back());
        Settle();
        mains.push_back(Seconds(timer));
        if (page >= 0) {
            // Each moment is taken when first seen, whichever comes first.
            double rowsAt = -1, explainedAt = -1;
            WaitUntil(timer, [&] {
                if (rowsAt < 0 && (frmMatches->Model()->rowCount() > 0 || !frmMatches->Busy()))
                    rowsAt = Seconds(timer);
                if (explainedAt < 0 && frmMatches->Explainer()->Shown() > shown)
                    explainedAt = Seconds(timer);
                return rowsAt >= 0 && explainedAt >= 0 && WindowIdle();
            });
            rows.push_back(rowsAt);
            explained.push_back(explainedAt);
        }
        peak = std::max(peak, StatusKiB("VmRSS"));
        QTest::keyClick(frmMain->mmoSignature, Qt::Key_Backspace);
        Settle();
        WaitUntil(timer, WindowIdle);
    }
    KeyFigures figures;
    figures.main = Median(mains);
    if (page >= 0) {
        figures.rows = Median(rows);
        figures.explained = Median(explained);
    }
    figures.peakKiB = peak;
    return figures;
}

void KeystrokeTable(const std::string& pattern, const std::vector<std::size_t>& sizes, int runs)
{
    std::printf("Keystroke with real-time match on, pattern %s (medians of %d keys, seconds)\n", pattern.c_str(), runs);
    std::printf("%-16s %9s %9s %9s %7s %9s %9s %11s\n", "input", "hidden", "Matches", "Explain", "ratio", "rows",
                "explained", "RSS MiB");
    frmMain->cbSimultaneous->setChecked(true);
    for (const std::size_t size : sizes) {
        for (const bool lines : {true, false}) {
            const std::string input = Input(size, lines);
            frmMain->reSearch->setPlainText(QString::fromLatin1(input.data(), static_cast<qsizetype>(input.size())));
            const KeyFigures hidden = TimeKeys(pattern, -1, runs);
            const KeyFigures matches = TimeKeys(pattern, MatchesPage, runs);
            const KeyFigures explain = TimeKeys(pattern, ExplainPage, runs);
            char label[40];
            std::snprintf(label, sizeof label, "%zu MB %s", size / 1'000'000, lines ? "lines" : "one line");
            const double worst = std::max(matches.main, explain.main);
            std::printf("%-16s %9.4f %9.4f %9.4f %6.2fx %9.4f %9.4f %11.1f\n", label, hidden.main, matches.main,
                        explain.main, hidden.main > 0 ? worst / hidden.main : 0.0, matches.rows, explain.explained,
                        static_cast<double>(std::max(matches.peakKiB, explain.peakKiB)) / 1024.0);
            std::fflush(stdout);
        }
    }
    frmMatches->hide();
}

void ExplainTable(const std::vector<std::size_t>& literals, int runs)
{
    std::printf("Explain page, real-time match off (medians of %d keys, seconds): the key itself in\n"
                "the main window's editor, then to the explanation shown, and the longest turn of\n"
                "the window's thread after the key\n", runs);
    std::printf("%-24s %9s %10s %14s\n", "pattern", "key", "explained", "longest turn");
    frmMain->cbSimultaneous->setChecked(false);
    frmMain->reSearch->setPlainText("x");
    frmMatches->show();
    frmMatches->pcMatches->setCurrentIndex(ExplainPage);
    std::vector<std::pair<std::string, std::string>> patterns = {
        {"ordinary", "^(?<user>[\\w.+-]+)@((?:\\w+\\.)+)(com|org)$"},
        {"ordinary, 300 groups", [] {
             std::string p;
             for (int i = 0; i < 300; ++i)
                 p += "(a|b)";
             return p;
         }()}};
    for (const std::size_t size : literals)
        patterns.push_back({std::to_string(size / 1'000'000) + " MB literal", std::string(size, 'a')});
    for (const auto& [label, pattern] : patterns) {
        TypeAllButLast(frmMain->mmoSignature, pattern);
        QElapsedTimer idle;
        idle.start();
        WaitUntil(idle, WindowIdle);
        std::vector<double> keys, times, turns;
        QString verdict;
        for (int run = 0; run < runs; ++run) {
            double longest = 0;  // of the turns after the key
            const int shown = frmMatches->Explainer()->Shown();
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(frmMain->mmoSignature, pattern.back());
            keys.push_back(Seconds(timer));
            times.push_back(WaitUntil(timer, [shown] { return frmMatches->Explainer()->Shown() > shown; }, &longest));
            turns.push_back(longest);
            verdict = frmMatches->lblExplain->text();
            QTest::keyClick(frmMain->mmoSignature, Qt::Key_Backspace);
            QElapsedTimer back;
            back.start();
            WaitUntil(back, WindowIdle);
        }
        std::printf("%-24s %9.4f %10.4f %14.4f   %s\n", label.c_str(), Median(keys), Median(times), Median(turns),
                    verdict.toUtf8().constData());
        std::fflush(stdout);
    }
    frmMatches->hide();
}

std::vector<std::size_t> ParseSizes(const char* list)
{
    std::vector<std::size_t> sizes;
    std::string s(list);
    std::size_t from = 0;
    while (from < s.size()) {
        std::size_t to = s.find(',', from);
        if (to == std::string::npos)
            to = s.size();
        const std::string item = s.substr(from, to - from);
        std::size_t n = std::strtoull(item.c_str(), nullptr, 10);
        if (item.find_first_of("kK") != std::string::npos)
            n *= 1000;
        if (item.find_first_of("mM") != std::string::npos)
            n *= 1000 * 1000;
        sizes.push_back(n);
        from = to + 1;
    }
    return sizes;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::size_t> sizes = ParseSizes("1m,10m,100m");
    std::vector<std::size_t> literals = ParseSizes("1m,100m");
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--sizes"))
            sizes = ParseSizes(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--patterns"))
            literals = ParseSizes(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    char name[] = "matches_window";
    char* appArgv[] = {name, nullptr};
    TamarinApplication app(appArgc, appArgv);
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    if (!QTest::qWaitForWindowExposed(frmMain))
        return 1;
    // A match at once, and none: the main window's search reads the whole input.
    for (const char* pattern : {"(\\w+)@(\\w+)\\.com", "(\\w+)@(\\w+)\\.net"}) {
        KeystrokeTable(pattern, sizes, runs);
        std::printf("\n");
    }
    ExplainTable(literals, runs);
    DestroyWindows();
    return 0;
}
