// What one Shift+arrow costs in the main window's input editor as the
// selection grows: each key changes the selection, and a changed selection
// is offered to other programs as the one a middle click pastes (X11's
// PRIMARY). Needs a desktop with that selection: run it on a display with
// QT_QPA_PLATFORM=xcb (offscreen has none, and it says so).
//
// Cases: a 1 KB text all selected; a 50 MB text with 1 KB selected; the same
// text all selected. Each key is Shift+Left or Shift+Right in turn, timed
// from the key to the window having handled everything it started; then the
// selection is read back as a paste would read it.
//
//   selection_keys [--keys N] [--megabytes M]
#include "Application.h"
#include "Main.h"
#include "TextEditor.h"
#include "Windows.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString Lines(qsizetype size)
{
    const QString line = QStringLiteral("lorem ipsum dolor sit amet, consectetur adipiscing elit 0123456789\n");
    QString text;
    text.reserve(size + line.size());
    while (text.size() < size)
        text += line;
    text.truncate(size);
    return text;
}

struct Case {
    const char* name;
    qsizetype textSize;
    qsizetype selected;
};

// Times `keys` Shift+arrows over a selection of `selected` characters in the
// middle of the editor's text; prints the median and what PRIMARY then holds.
void Measure(TextEditor* editor, const Case& c, int keys)
{
    if (editor->text().size() != c.textSize) {
        editor->setPlainText(Lines(c.textSize));
        Settle();
    }
    const qsizetype from = (c.textSize - c.selected) / 2;
    editor->SetSelection(from, from + c.selected);
    Settle();
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(editor, i % 2 ? Qt::Key_Right : Qt::Key_Left, Qt::ShiftModifier);
        Settle();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    QElapsedTimer reading;
    reading.start();
    const qsizetype offered = QApplication::clipboard()->text(QClipboard::Selection).size();
    const double readMs = static_cast<double>(reading.nsecsElapsed()) / 1e6;
    std::printf("%-30s %12lld %10.3f %10.3f %10.3f %12lld %10.1f\n", c.name, static_cast<long long>(c.selected),
                Median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), static_cast<long long>(offered), readMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    int keys = 41;
    qsizetype megabytes = 50;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--keys")
            keys = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--megabytes")
            megabytes = std::max(1, std::atoi(argv[i + 1]));
    }
    int qtArgc = 1;
    TamarinApplication app(qtArgc, argv);
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    if (!QTest::qWaitForWindowExposed(frmMain))
        return 1;
    if (!QApplication::clipboard()->supportsSelection()) {
        std::printf("This desktop has no selection for a middle click (run with QT_QPA_PLATFORM=xcb).\n");
        return 1;
    }
    TextEditor* editor = frmMain->reSearch;
    editor->setFocus();
    const qsizetype large = megabytes * 1000 * 1000;
    const Case cases[] = {
        {"1 KB text, all selected", 1000, 1000},
        {"large text, 1 KB selected", large, 1000},
        {"large text, all selected", large, large},
    };
    std::printf("%-30s %12s %10s %10s %10s %12s %10s\n", "case", "selected", "median ms", "min ms",
                "max ms", "PRIMARY has", "read ms");
    for (const Case& c : cases)
        Measure(editor, c, keys);
    return 0;
}
