// Measures one keystroke with "Real-Time Match" on, from the key event until
// the window has evaluated, updated panes and tree, and painted, for inputs of
// 1 KB to 10 MB (lines of about 80 characters, the match near the end), typed
// into the pattern editor and into the input editor, beside the bare
// boost::regex_search over the same text.
//
//   keystroke [runs]        (default 7 runs; prints the medians)
#include "Application.h"
#include "Main.h"
#include "Windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include "RegexConfig.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// Counts paint events, to show that a measured keystroke includes painting.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
PaintCounter* Painter = nullptr;

const char* const Pattern = "ID-[0-9]+-X";  // the keystroke appends 'Q'
const char* const Needle = "ID-4711-XQ";

// Lines of about 80 characters of ordinary words, the needle 200 bytes before the end.
std::string MakeText(std::size_t size)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot",
                                        "golf", "hotel", "india", "juliet", "kilo", "lima",
                                        "mike", "november", "oscar", "papa", "quebec", "romeo"};
    std::mt19937 random(42);
    std::string text;
    text.reserve(size + 100);
    std::size_t lineStart = 0;
    while (text.size() < size) {
        if (text.size() - lineStart > 76) {
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
    text.replace(at, std::char_traits<char>::length(Needle), Needle);
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Lets the window finish everything the keystroke started, painting included.
void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Milliseconds from a key event until the window is idle again.
double TimeKey(QWidget* target, Qt::Key key, char text = 0)
{
    QElapsedTimer timer;
    timer.start();
    if (text)
        QTest::keyClick(target, text);
    else
        QTest::keyClick(target, key);
    Settle();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Milliseconds until a timer posted now fires: work the keystroke left behind.
double TimeStall()
{
    QElapsedTimer timer;
    timer.start();
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    while (!fired)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double TimeBareSearch(const std::string& text, const std::string& pattern, int runs)
{
    const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        boost::cmatch match;
        const bool found = boost::regex_search(text.data(), text.data() + text.size(), match,
                                               expression, boost::match_default);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!found)
            std::fprintf(stderr, "needle not found\n");
    }
    return Median(times);
}

void MoveCaretToEnd(QPlainTextEdit* editor)
{
    QTextCursor cursor = editor->textCursor();
    cursor.movePosition(QTextCursor::End);
    editor->setTextCursor(cursor);
}

void MoveCaretToStart(QPlainTextEdit* editor)
{
    QTextCursor cursor = editor->textCursor();
    cursor.movePosition(QTextCursor::Start);
    editor->setTextCursor(cursor);
}

struct Row {
    const char* where;
    double keyMs;
    double stallMs;
    int paints;  // paint events of the input editor and the panes in all runs
};

// Types one character into `editor` `runs` times (each followed by an
// unmeasured Backspace) and returns the medians.
Row MeasureTyping(const char* where, QPlainTextEdit* editor, const std::function<void()>& placeCaret,
                  int runs)
{
    std::vector<double> keys;
    std::vector<double> stalls;
    editor->setFocus();
    Settle();
    Painter->paints = 0;
    for (int i = 0; i < runs; ++i) {
        placeCaret();
        keys.push_back(TimeKey(editor, Qt::Key_Q, 'Q'));
        stalls.push_back(TimeStall());
        QTest::keyClick(editor, Qt::Key_Backspace);
        Settle();
    }
    return {where, Median(keys), Median(stalls), Painter->paints};
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TamarinApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;

    PrepareApplication();
    CreateWindows();
    PaintCounter painter;
    Painter = &painter;
    for (QPlainTextEdit* editor : {frmMain->reSearch, frmMain->what0, frmMain->what1})
        editor->viewport()->installEventFilter(&painter);
    frmMain->show();
    if (!QTest::qWaitForWindowExposed(frmMain))
        return 1;

    std::printf("%-8s %-18s %10s %10s %10s %8s %7s\n", "input", "keystroke in", "key ms",
                "after ms", "regex ms", "ratio", "paints");
    const std::pair<const char*, std::size_t> sizes[] = {
        {"1 KB", 1024}, {"100 KB", 100 * 1024}, {"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};
    for (const auto& [label, size] : sizes) {
        const std::string text = MakeText(size);
        frmMain->mmoSignature->setPlainText(Pattern);
        frmMain->reSearch->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        Settle();
        const double bare = TimeBareSearch(text, std::string(Pattern) + "Q", runs);
        const double bareAll = TimeBareSearch(text, "[\\s\\S]*", runs);

        QPlainTextEdit* pattern = frmMain->mmoSignature;
        QPlainTextEdit* input = frmMain->reSearch;
        std::vector<Row> rows = {
            MeasureTyping("pattern (end)", pattern, [&] { MoveCaretToEnd(pattern); }, runs),
            MeasureTyping("input (end)", input, [&] { MoveCaretToEnd(input); }, runs),
            MeasureTyping("input (start)", input, [&] { MoveCaretToStart(input); }, runs),
        };
        if (frmMain->TreeView1->topLevelItemCount() != 1)
            std::fprintf(stderr, "expected one result for %s\n", label);
        // A match that is the whole input: the tree node holds all of it.
        frmMain->mmoSignature->setPlainText("[\\s\\S]*");
        Settle();
        rows.push_back(MeasureTyping("input, all matched", input, [&] { MoveCaretToEnd(input); }, runs));
        frmMain->mmoSignature->setPlainText(Pattern);
        for (const Row& row : rows) {
            const double regex = &row == &rows.back() ? bareAll : bare;
            std::printf("%-8s %-18s %10.2f %10.2f %10.3f %8.1f %7d\n", label, row.where, row.keyMs,
                        row.stallMs, regex, regex > 0 ? row.keyMs / regex : 0.0, row.paints);
        }
        std::fflush(stdout);
    }
    DestroyWindows();
    return 0;
}
