// How the sliced view lays out and draws, beside the standard plain-text
// editor: the scroll bar's thumb shows the share of the text on screen, rows
// of a long line are the standard rows wherever the line is cut into pieces,
// a selected line break is drawn as the standard editor draws it, the scroll
// bar pages as the standard one does, and Ctrl with the wheel zooms where the
// standard editor zooms.
#include "ResultPane.h"
#include "TextEditor.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

class SlicedLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void thumbIsTheShareOnScreen_data();
    void thumbIsTheShareOnScreen();
    void rowsOfALongLineAreTheStandardOnes_data();
    void rowsOfALongLineAreTheStandardOnes();
    void rowsAfterAnEditAreThoseOfAFreshView();
    void selectedLineBreaksLookAsInTheStandardEditor();
    void scrollBarPagesAsThePageKeys();
    void ctrlWheelZoomsReadOnlyText();
};

namespace {

// A pane whose row steps the test can walk.
class RowProbe : public ResultPane {
public:
    using SlicedTextView::RowStartAfter;
    int Width() const { return viewport()->width() - 8; }
};

// An editor whose row steps the test can walk.
class EditorProbe : public TextEditor {
public:
    using SlicedTextView::RowStartAfter;
    std::vector<qsizetype> RowStarts()
    {
        std::vector<qsizetype> starts{0};
        for (qsizetype next; (next = RowStartAfter(starts.back(), 1)) > starts.back();)
            starts.push_back(next);
        return starts;
    }
};

qreal ThumbShare(const QScrollBar* bar)
{
    return static_cast<qreal>(bar->pageStep()) / (bar->maximum() - bar->minimum() + bar->pageStep());
}

QString Lines(int count)
{
    QString text;
    for (int line = 0; line < count; ++line)
        text += QStringLiteral("line %1 of the text\n").arg(line);
    text.chop(1);
    return text;
}

} // namespace

void SlicedLayoutTest::thumbIsTheShareOnScreen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("height");
    QTest::newRow("200 lines, a quarter on screen") << Lines(200) << 50 * QFontMetrics(QFont()).lineSpacing();
    QTest::newRow("a five-row pane") << Lines(40) << 5 * QFontMetrics(QFont()).lineSpacing() + 10;
    QTest::newRow("a long line of words") << QStringLiteral("echo golf ").repeated(600) << 200;
}

void SlicedLayoutTest::thumbIsTheShareOnScreen()
{
    QFETCH(QString, text);
    QFETCH(int, height);
    QPlainTextEdit standard;
    TextEditor editor;
    for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(&standard),
                                      static_cast<QAbstractScrollArea*>(&editor)}) {
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->resize(300, height);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
    }
    standard.setPlainText(text);
    editor.setPlainText(text);
    QCoreApplication::processEvents();
    const qreal expected = ThumbShare(standard.verticalScrollBar());
    QVERIFY2(qAbs(ThumbShare(editor.verticalScrollBar()) - expected) < 0.05,
             qPrintable(QStringLiteral("thumb %1 of the track, standard %2")
                            .arg(ThumbShare(editor.verticalScrollBar()))
                            .arg(expected)));
    // Its arrows still step a row at a time.
    QScrollBar* bar = editor.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(bar->value() > 0 && bar->value() < 400);
}

void SlicedLayoutTest::rowsOfALongLineAreTheStandardOnes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QString base64;
    std::mt19937 random(7);
    for (int i = 0; i < 30000; ++i)
        base64 += QChar(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[random() % 64]);
    QTest::newRow("base64, narrow") << base64 << 240;
    QTest::newRow("base64, wide") << base64 << 733;
    QTest::newRow("hex") << QStringLiteral("0123456789abcdef").repeated(1500) << 517;
    QTest::newRow("outside the code page") << QString::fromUtf8("中€😀ж").repeated(3000) << 301;
    QTest::newRow("words") << QStringLiteral("alpha bravo charlie delta echo ").repeated(700) << 355;
    QTest::newRow("words and paths") << QStringLiteral("see /usr/share/doc and x-ray 1/2 + well-known ").repeated(500) << 402;
}

void SlicedLayoutTest::rowsOfALongLineAreTheStandardOnes()
{
    // However a long line is cut into pieces to lay out, its rows start
    // where a layout of the whole line starts them: no short row where a
    // piece ends. Outside the code page, where words end only at blanks,
    // rows are at least as full as the standard ones.
    QFETCH(QString, text);
    QFETCH(int, width);
    RowProbe pane;
    pane.resize(width, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.setPlainText(text);
    std::vector<qsizetype> rows{0};
    for (qsizetype next; (next = pane.RowStartAfter(rows.back(), 1)) > rows.back();)
        rows.push_back(next);

    QTextLayout whole(text, pane.font(), pane.viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    whole.setTextOption(option);
    whole.beginLayout();
    std::vector<qsizetype> standard;
    for (QTextLine line = whole.createLine(); line.isValid(); line = whole.createLine()) {
        line.setLineWidth(pane.Width());
        standard.push_back(line.textStart());
    }
    whole.endLayout();
    QVERIFY(standard.size() > 20);
    const bool inCodePage = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
    if (inCodePage) {
        // Rows are measured a character at a time, the layout shapes them
        // whole: a rare row may end a character earlier or later.
        const auto strays = std::count_if(rows.begin(), rows.end(), [&](qsizetype start) {
            return !std::binary_search(standard.begin(), standard.end(), start);
        });
        QVERIFY2(strays * 50 <= static_cast<qsizetype>(rows.size()),
                 qPrintable(QStringLiteral("%1 of %2 rows start elsewhere than in a whole layout")
                                .arg(strays)
                                .arg(rows.size())));
        return;
    }
    for (qsizetype start : rows)
        QVERIFY2(!text[start].isLowSurrogate(), "a row splits a character");
    QVERIFY(rows.size() <= standard.size());
}

void SlicedLayoutTest::rowsAfterAnEditAreThoseOfAFreshView()
{
    // The rows of a long line are remembered between keystrokes as far as
    // an edit leaves them as they were.
    QString text = QStringLiteral("0123456789abcdef").repeated(900) + QStringLiteral(" words at the end");
    EditorProbe edited;
    edited.resize(300, 200);
    edited.setPlainText(text);
    edited.RowStarts();
    for (const auto& [at, typed] : {std::pair(9000, "wide WWWW "), std::pair(4100, ""), std::pair(14300, "i")}) {
        edited.SetSelection(at, typed[0] ? at : at + 3);
        edited.insertPlainText(QString::fromUtf8(typed));
        text = edited.toPlainText();
        EditorProbe fresh;
        fresh.resize(300, 200);
        fresh.setPlainText(text);
        QCOMPARE(edited.RowStarts(), fresh.RowStarts());
    }
}

void SlicedLayoutTest::selectedLineBreaksLookAsInTheStandardEditor()
{
    const QString text = QStringLiteral("alpha\n\nbravo charlie\ndelta");
    QPlainTextEdit standard;
    TextEditor editor;
    for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(&standard),
                                      static_cast<QAbstractScrollArea*>(&editor)}) {
        area->setFocusPolicy(Qt::NoFocus);  // no caret in either
        area->resize(260, 120);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
    }
    standard.setPlainText(text);
    editor.setPlainText(text);
    QImage before;
    for (const auto& [from, to] : {std::pair(2, 21), std::pair(0, 5), std::pair(5, 7), std::pair(6, 6)}) {
        QTextCursor cursor(standard.document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        standard.setTextCursor(cursor);
        editor.SetSelection(from, to);
        const QImage expected = standard.viewport()->grab().toImage();
        const QImage drawn = editor.viewport()->grab().toImage();
        QVERIFY2(drawn == expected, qPrintable(QStringLiteral("selection %1-%2 drawn otherwise").arg(from).arg(to)));
    }
}

void SlicedLayoutTest::scrollBarPagesAsThePageKeys()
{
    // Clicks in the scroll bar's page area, page keys and the wheel over the
    // bar, on a pane and on the read-only standard editor: after each step
    // the same line is on top (a line is 9 characters).
    QStringList lines;
    for (int line = 0; line < 300; ++line)
        lines << QStringLiteral("line %1").arg(line, 3, 10, QChar(u'0'));
    using Step = std::function<void(QAbstractScrollArea*)>;
    const auto page = [](QAbstractSlider::SliderAction action) -> Step {
        return [action](QAbstractScrollArea* area) { area->verticalScrollBar()->triggerAction(action); };
    };
    const auto key = [](Qt::Key key) -> Step { return [key](QAbstractScrollArea* area) { QTest::keyClick(area, key); }; };
    const auto wheelOnBar = [](int angle) -> Step {
        return [angle](QAbstractScrollArea* area) {
            QWheelEvent wheel(QPointF(5, 50), QPointF(), {}, QPoint(0, angle), {}, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(area->verticalScrollBar(), &wheel);
        };
    };
    const Step steps[] = {page(QAbstractSlider::SliderPageStepAdd), page(QAbstractSlider::SliderPageStepAdd),
                          key(Qt::Key_PageDown), wheelOnBar(-120), page(QAbstractSlider::SliderPageStepSub),
                          key(Qt::Key_PageUp), wheelOnBar(120)};
    for (const int height : {173, 300}) {
        QPlainTextEdit standard(lines.join(u'\n'));
        standard.setReadOnly(true);
        ResultPane pane;
        pane.setPlainText(lines.join(u'\n'));
        for (QAbstractScrollArea* area : std::initializer_list<QAbstractScrollArea*>{&standard, &pane}) {
            area->resize(300, height);
            area->show();
            QVERIFY(QTest::qWaitForWindowExposed(area));
        }
        for (const Step& step : steps) {
            step(&standard);
            step(&pane);
            QCOMPARE(pane.verticalScrollBar()->value() / 9, standard.verticalScrollBar()->value());
        }
    }
}

void SlicedLayoutTest::ctrlWheelZoomsReadOnlyText()
{
    // Ctrl with the wheel, by notches and half notches: a pane's font follows
    // the read-only standard editor's, down to its smallest; an editor's
    // stays, as the editable standard editor's does.
    QPlainTextEdit standard;
    standard.setReadOnly(true);
    ResultPane pane;
    TextEditor editor;
    const std::initializer_list<QAbstractScrollArea*> areas = {&standard, &pane, &editor};
    QFont small = pane.font();
    small.setPointSizeF(6);
    for (QAbstractScrollArea* area : areas)
        area->setFont(small);
    for (const int turn : {120, 240, -120, 60, -120, -120, -120, -120, -120, -120, -120, -120, -120}) {
        for (QAbstractScrollArea* area : areas) {
            QWheelEvent wheel(QPointF(5, 5), QPointF(), {}, QPoint(0, turn), {}, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(area->viewport(), &wheel);
        }
        QCOMPARE(pane.font().pointSizeF(), standard.font().pointSizeF());
        QCOMPARE(editor.font().pointSizeF(), 6.0);
    }
}

QTEST_MAIN(SlicedLayoutTest)
#include "SlicedLayoutTest.moc"
