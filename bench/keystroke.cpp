// What one keystroke, one paste and the first evaluation after a paste cost
// in the real main window with "Real-Time Match" on, beside the bare library
// call (compile and regex_search) over the same text, for inputs of 1 KB to
// 50 MB in three shapes: lines of about 80 characters, one line of words, and
// one run without a blank (like base64). Also the window's start-up time,
// idle memory, and the peak memory a 10 MB input costs after ten keystrokes.
//
// Each size and shape runs in a child process with a time limit. Every figure
// is checked against its goal; the program exits 1 when one misses.
//
//   keystroke [--runs N] [--sizes 1k,100k,1m,10m,50m,100m] [--shapes lines,words,run]
//             [--timeout SECONDS]
#include "Application.h"
#include "HeapPolicy.h"
#include "Main.h"
#include "TextEditor.h"
#include "Windows.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QTest>
#include <QTextCursor>

#include "RegexConfig.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t KB = 1024;
constexpr std::size_t MB = 1024 * KB;

const char* const Pattern = "ID-[0-9]+-X";  // the keystroke appends 'Q'
const char* const Needle = "ID-4711-XQ";
const char* const WholeInput = "[\\s\\S]*";

enum class Shape { Lines, Words, Run };
const char* ShapeName(Shape shape)
{
    return shape == Shape::Lines ? "lines" : shape == Shape::Words ? "one line" : "one run";
}

// Text of `size` bytes in `shape`, the needle 200 bytes before the end.
std::string MakeText(std::size_t size, Shape shape)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot",
                                        "golf", "hotel", "india", "juliet", "kilo", "lima",
                                        "mike", "november", "oscar", "papa", "quebec", "romeo"};
    static const char base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 random(42);
    std::string text;
    text.reserve(size + 100);
    if (shape == Shape::Run) {
        while (text.size() < size)
            text += base64[random() % 64];
    }
    std::size_t lineStart = 0;
    while (text.size() < size) {
        if (shape == Shape::Lines && text.size() - lineStart > 76) {
            text += '\n';
            lineStart = text.size();
        } else {
            if (text.size() > lineStart)
                text += ' ';
            text += words[random() % std::size(words)];
        }
    }
    text.resize(size);
    const std::size_t at = size > 400 ? size - 200 : size / 2;
    text.replace(at, std::strlen(Needle), Needle);
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double Milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lets the window finish everything an action started, painting included.
void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

double TimeAction(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    Settle();
    return Milliseconds(timer);
}

// The floor of one evaluation: the pattern compiled and searched once.
double TimeBareSearch(const std::string& text, const std::string& pattern, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
        boost::cmatch match;
        boost::regex_search(text.data(), text.data() + text.size(), match, expression,
                            boost::match_default);
        times.push_back(Milliseconds(timer));
    }
    return Median(times);
}

// Resident and peak resident memory of this process, in MB.
double StatusMegabytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
    }
    return 0.0;
}
void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void MoveCaret(TextEditor* editor, QTextCursor::MoveOperation where)
{
    const qsizetype at = where == QTextCursor::End ? editor->text().size() : 0;
    editor->SetSelection(at, at);
}

// Prints one figure against its goal; false when it misses.
bool Report(const char* size, const char* shape, const char* action, double ms, double bare,
            double limit)
{
    const bool met = ms <= limit;
    std::printf("%-7s %-9s %-22s %10.2f %10.2f %7.2f %10.2f  %s\n", size, shape, action, ms, bare,
                bare > 0 ? ms / bare : 0.0, limit, met ? "ok" : "MISS");
    std::fflush(stdout);
    return met;
}

// Keystrokes may cost 1.5 times the bare search plus 5 ms.
double KeyLimit(double bare) { return 1.5 * bare + 5.0; }

struct Typing {
    TextEditor* editor;
    QTextCursor::MoveOperation caret;
};

// One character typed `runs` times, each taken back by an unmeasured Backspace.
double MedianKeystroke(const Typing& typing, int runs)
{
    std::vector<double> keys;
    typing.editor->setFocus();
    Settle();
    for (int i = 0; i < runs; ++i) {
        MoveCaret(typing.editor, typing.caret);
        keys.push_back(TimeAction([&] { QTest::keyClick(typing.editor, Qt::Key_Q, Qt::NoModifier); }));
        QTest::keyClick(typing.editor, Qt::Key_Backspace);
        Settle();
    }
    return Median(keys);
}

struct Sizing {
    const char* label;
    std::size_t bytes;
};

double PasteLimit(std::size_t bytes, Shape shape)
{
    // 0.5 s per 10 MB of lines; 0.5 s per 1 MB of one line.
    const double perMegabyte = shape == Shape::Lines ? 50.0 : 500.0;
    return std::max(500.0, perMegabyte * static_cast<double>(bytes) / MB);
}

// Everything for one size and shape; true when every figure met its goal.
bool MeasureInput(const Sizing& sizing, Shape shape, int runs)
{
    const char* shapeName = ShapeName(shape);
    Settle();
    const double idle = StatusMegabytes("VmRSS:");
    std::string text = MakeText(sizing.bytes, shape);
    const double bare = TimeBareSearch(text, std::string(Pattern) + "Q", runs);
    const double bareAll = TimeBareSearch(text, WholeInput, runs);
    TextEditor* pattern = frmMain->mmoSignature;
    TextEditor* input = frmMain->reSearch;
    bool met = true;

    // Paste with real-time match off, then the first evaluation over it.
    frmMain->cbSimultaneous->setChecked(false);
    pattern->setPlainText(Pattern);
    QApplication::clipboard()->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    input->setFocus();
    Settle();
    // The median of pastes into the emptied editor; the last one stays.
    std::vector<double> pastes;
    for (int i = 0; i < runs; ++i) {
        input->clear();
        Settle();
        pastes.push_back(TimeAction([&] { QTest::keySequence(input, QKeySequence::Paste); }));
    }
    // The first paste also maps the memory the later ones reuse.
    met &= Report(sizing.label, shapeName, "first paste", pastes.front(), 0, PasteLimit(sizing.bytes, shape));
    met &= Report(sizing.label, shapeName, "paste", Median(pastes), 0, PasteLimit(sizing.bytes, shape));
    QApplication::clipboard()->clear();
    const double first = TimeAction([&] { frmMain->btnMatch->click(); });
    met &= Report(sizing.label, shapeName, "first evaluation", first, bare, KeyLimit(bare));
    {
        const QSignalBlocker quiet(frmMain->cbSimultaneous);
        frmMain->cbSimultaneous->setChecked(true);
    }

    const bool measureMemory = sizing.bytes == 10 * MB && shape == Shape::Lines;
    if (measureMemory) {
        // The bench's own copy of the text and the clipboard's are not the
        // window's: freed, and given back so that the heap does not keep them.
        std::string().swap(text);
        heap::ReturnFreedMemory();
        ResetPeakMemory();
    }
    const std::pair<const char*, Typing> typings[] = {
        {"key in pattern", {pattern, QTextCursor::End}},
        {"key at input end", {input, QTextCursor::End}},
        {"key at input start", {input, QTextCursor::Start}},
    };
    for (const auto& [action, typing] : typings)
        met &= Report(sizing.label, shapeName, action, MedianKeystroke(typing, runs), bare, KeyLimit(bare));
    pattern->setPlainText(WholeInput);
    Settle();
    met &= Report(sizing.label, shapeName, "key, whole input match",
                  MedianKeystroke({input, QTextCursor::End}, runs), bareAll, KeyLimit(bareAll));
    if (measureMemory) {
        const double peak = StatusMegabytes("VmHWM:") - idle;
        const double limit = 4.0 * static_cast<double>(sizing.bytes) / MB;
        const bool fits = peak <= limit;
        std::printf("%-7s %-9s %-22s %10.1f MB above %.1f MB resident (goal %.0f MB)  %s\n",
                    sizing.label, shapeName, "peak memory", peak, idle, limit, fits ? "ok" : "MISS");
        met &= fits;
    }
    return met;
}

// A pattern of 100 KB (a slice of the input, one line of words), typed at its end.
bool MeasureLongPattern(int runs)
{
    const std::string text = MakeText(MB, Shape::Words);
    const std::string slice = text.substr(MB / 2, 100 * KB);
    frmMain->reSearch->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    frmMain->mmoSignature->setPlainText(QString::fromLatin1(slice.data(), static_cast<qsizetype>(slice.size())));
    Settle();
    const double bare = TimeBareSearch(text, slice + "Q", runs);
    const double key = MedianKeystroke({frmMain->mmoSignature, QTextCursor::End}, runs);
    return Report("1 MB", "one line", "key in 100 KB pattern", key, bare, KeyLimit(bare));
}

// The windows as the program creates them, the main window shown.
bool OpenMainWindow()
{
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    return QTest::qWaitForWindowExposed(frmMain);
}

bool MeasureStartUp()
{
    QElapsedTimer timer;
    timer.start();
    if (!OpenMainWindow())
        return false;
    const double startUp = Milliseconds(timer);
    Settle();
    const double idle = StatusMegabytes("VmRSS:");
    std::printf("%-7s %-9s %-22s %10.2f ms to the shown window (goal 100)  %s\n", "-", "-",
                "start-up", startUp, startUp <= 100 ? "ok" : "MISS");
    std::printf("%-7s %-9s %-22s %10.1f MB resident (goal 40)  %s\n", "-", "-", "idle memory", idle,
                idle <= 40 ? "ok" : "MISS");
    std::fflush(stdout);
    return startUp <= 100 && idle <= 40;
}

// Runs `work` in a fresh application in a child process, within `timeout` seconds.
bool RunIsolated(int argc, char* argv[], int timeoutSeconds, const std::function<bool()>& work)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        alarm(static_cast<unsigned>(timeoutSeconds));
        TamarinApplication app(argc, argv);
        const bool met = work();
        std::fflush(stdout);
        _exit(met ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
        std::printf("        (no figure within %d s: %s)  MISS\n", timeoutSeconds, strsignal(WTERMSIG(status)));
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Listed(const std::string& list, const std::string& name)
{
    return list.empty() || ("," + list + ",").find("," + name + ",") != std::string::npos;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int runs = 7;
    int timeout = 120;
    std::string sizes;
    std::string shapes;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(3, std::atoi(argv[i + 1]));
        else if (option == "--timeout")
            timeout = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--sizes")
            sizes = argv[i + 1];
        else if (option == "--shapes")
            shapes = argv[i + 1];
    }

    std::printf("%-7s %-9s %-22s %10s %10s %7s %10s\n", "input", "shape", "action", "ms", "bare ms",
                "ratio", "goal ms");
    int qtArgc = 1;
    bool met = RunIsolated(qtArgc, argv, timeout, [] { return MeasureStartUp(); });
    const Sizing sizings[] = {{"1k", KB},          {"100k", 100 * KB}, {"1m", MB},
                              {"10m", 10 * MB},    {"50m", 50 * MB},   {"100m", 100 * MB}};
    const std::pair<const char*, Shape> shapeNames[] = {
        {"lines", Shape::Lines}, {"words", Shape::Words}, {"run", Shape::Run}};
    for (const Sizing& sizing : sizings) {
        // 100 MB only when asked for: it takes minutes and gigabytes.
        const bool asked = sizes.empty() ? sizing.bytes < 100 * MB : Listed(sizes, sizing.label);
        if (!asked)
            continue;
        for (const auto& [name, shape] : shapeNames) {
            if (!Listed(shapes, name))
                continue;
            met &= RunIsolated(qtArgc, argv, timeout,
                               [&] { return OpenMainWindow() && MeasureInput(sizing, shape, runs); });
        }
    }
    if (Listed(sizes, "1m") && Listed(shapes, "words")) {
        met &= RunIsolated(qtArgc, argv, timeout, [&] { return OpenMainWindow() && MeasureLongPattern(runs); });
    }
    return met ? 0 : 1;
}
