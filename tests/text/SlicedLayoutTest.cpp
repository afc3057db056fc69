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
#include <memory>
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
    void scrollBarPagesAsThePageKeys_data();
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

void SlicedLayoutTest::scrollBarPagesAsThePageKeys_data()
{
    QTest::addColumn<bool>("editable");
    QTest::addColumn<int>("height");
    for (const int height : {173, 300}) {
        QTest::addRow("pane, %d pixels", height) << false << height;
        QTest::addRow("editor, %d pixels", height) << true << height;
    }
}

void SlicedLayoutTest::scrollBarPagesAsThePageKeys()
{
    // The same steps on the standard editor and on ours: clicks in the
    // scroll bar's page area, a page key (which in a pane pages the view),
    // the wheel over the scroll bar. After each the same row is on top.
    QFETCH(bool, editable);
    QFETCH(int, height);
    QStringList lines;
    for (int line = 0; line < 300; ++line)
        lines << QStringLiteral("line %1").arg(line, 3, 10, QChar(u'0'));  // 9 characters a line
    const QString text = lines.join(u'\n');
    QPlainTextEdit standard;
    standard.setReadOnly(!editable);
    std::unique_ptr<SlicedTextView> ours;
    if (editable) {
        auto* editor = new TextEditor;
        editor->setPlainText(text);
        ours.reset(editor);
    } else {
        auto* pane = new ResultPane;
        pane->setPlainText(text);
        ours.reset(pane);
    }
    standard.setPlainText(text);
    for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(&standard),
                                      static_cast<QAbstractScrollArea*>(ours.get())}) {
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->resize(300, height);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
    }
    const auto pageArea = [](QAbstractScrollArea* area, QAbstractSlider::SliderAction action) {
        area->verticalScrollBar()->triggerAction(action);
    };
    const auto pageKey = [editable](QAbstractScrollArea* area, QAbstractSlider::SliderAction action) {
        // An editor's page key moves its caret too, which the other steps
        // then leave where it is.
        if (!editable)
            QTest::keyClick(area, action == QAbstractSlider::SliderPageStepAdd ? Qt::Key_PageDown : Qt::Key_PageUp);
    };
    const auto wheelOnBar = [](QAbstractScrollArea* area, QAbstractSlider::SliderAction action) {
        QScrollBar* bar = area->verticalScrollBar();
        const QPointF point(bar->width() / 2, bar->height() / 2);
        const QPoint turn(0, action == QAbstractSlider::SliderPageStepAdd ? -120 : 120);
        QWheelEvent wheel(point, bar->mapToGlobal(point), {}, turn, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(bar, &wheel);
    };
    const struct {
        std::function<void(QAbstractScrollArea*, QAbstractSlider::SliderAction)> step;
        QAbstractSlider::SliderAction action;
    } steps[] = {{pageArea, QAbstractSlider::SliderPageStepAdd}, {pageArea, QAbstractSlider::SliderPageStepAdd},
                 {pageKey, QAbstractSlider::SliderPageStepAdd},  {wheelOnBar, QAbstractSlider::SliderPageStepAdd},
                 {pageArea, QAbstractSlider::SliderPageStepSub}, {pageKey, QAbstractSlider::SliderPageStepSub},
                 {wheelOnBar, QAbstractSlider::SliderPageStepSub}};
    for (const auto& step : steps) {
        step.step(&standard, step.action);
        step.step(ours.get(), step.action);
        QCoreApplication::processEvents();
        QVERIFY2(standard.verticalScrollBar()->value() > 0, "the standard editor did not scroll");
        QCOMPARE(ours->verticalScrollBar()->value() / 9, standard.verticalScrollBar()->value());
    }
}

void SlicedLayoutTest::ctrlWheelZoomsReadOnlyText()
{
    // Turns of the wheel with Ctrl, in eighths of a notch: the font of a
    // pane grows and shrinks as the read-only standard editor's does, never
    // to nothing; an editor's stays, as the editable standard editor's does.
    const std::vector<int> turns = {120, 240, -120, 60, -120, -120, -120, -120, -120, -120, -120, -120, -120};
    for (const bool editable : {false, true}) {
        QPlainTextEdit standard;
        standard.setReadOnly(!editable);
        std::unique_ptr<SlicedTextView> ours(editable ? static_cast<SlicedTextView*>(new TextEditor)
                                                      : new ResultPane);
        for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(&standard),
                                          static_cast<QAbstractScrollArea*>(ours.get())}) {
            QFont font = area->font();
            font.setPointSizeF(6);
            area->setFont(font);
            area->resize(300, 200);
            area->show();
            QVERIFY(QTest::qWaitForWindowExposed(area));
        }
        for (const int turn : turns) {
            for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(&standard),
                                              static_cast<QAbstractScrollArea*>(ours.get())}) {
                const QPointF point(10, 10);
                QWheelEvent wheel(point, area->viewport()->mapToGlobal(point), {}, QPoint(0, turn), Qt::NoButton,
                                  Qt::ControlModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(area->viewport(), &wheel);
            }
            QCOMPARE(ours->font().pointSizeF(), standard.font().pointSizeF());
        }
        QCOMPARE(ours->font().pointSizeF() == 6, editable);
    }
}

QTEST_MAIN(SlicedLayoutTest)
#include "SlicedLayoutTest.moc"
