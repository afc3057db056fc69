// The result pane on its own: it lays out only what is on screen, so its
// scrolling, selection and copying must agree with the text however long
// its lines are and wherever they cross the pieces it lays out at a time.
#include "EditorText.h"
#include "ResultPane.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include <tuple>
#include <vector>

class ResultPaneTest : public QObject {
    Q_OBJECT
private slots:
    void rowStepsRetraceTheirWay_data();
    void rowStepsRetraceTheirWay();
    void dragSelectsFromTheTopAndCopies();
    void sharedTextStaysWhenTheSourceChanges();
    void clicksSelectWordsAndLines();
};

namespace {

QString Words(qsizetype size, QChar between)
{
    QString text;
    while (text.size() < size)
        text += QStringLiteral("delta") + between;
    text.truncate(size);
    return text;
}

} // namespace

void ResultPaneTest::rowStepsRetraceTheirWay_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("short lines") << Words(20000, u'\n');
    QTest::newRow("one line of words") << Words(20000, u' ');
    QTest::newRow("one run without a blank") << QString(20000, u'x');
    QTest::newRow("lines of exactly one piece") << (QString(2048, u'y') + '\n').repeated(6);
    QTest::newRow("empty lines and a last break") << QStringLiteral("a\n\n\nb\n\n");
    QTest::newRow("characters outside Latin-1") << QString::fromUtf8("€—é中😀 ").repeated(3000);
}

void ResultPaneTest::rowStepsRetraceTheirWay()
{
    // Going down row by row and back up must visit the same row starts, end
    // at the last page, and never stand still on the way.
    QFETCH(QString, text);
    ResultPane pane;
    pane.resize(240, 80);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.setPlainText(text);
    QScrollBar* bar = pane.verticalScrollBar();
    std::vector<int> down{bar->value()};
    while (bar->value() < bar->maximum()) {
        QTest::keyClick(&pane, Qt::Key_Down);
        QVERIFY2(bar->value() > down.back(), "a step down did not move");
        down.push_back(bar->value());
    }
    QCOMPARE(down.back(), bar->maximum());
    QVERIFY(bar->maximum() <= text.size());
    for (auto row = down.rbegin() + 1; row != down.rend(); ++row) {
        QTest::keyClick(&pane, Qt::Key_Up);
        QCOMPARE(bar->value(), *row);
    }
    QTest::keyClick(&pane, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(bar->value(), bar->maximum());
}

void ResultPaneTest::dragSelectsFromTheTopAndCopies()
{
    ResultPane pane;
    pane.resize(240, 80);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    const QString text = Words(50000, u' ');
    pane.setPlainText(text);
    QWidget* view = pane.viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(view, QPoint(view->width() - 2, view->height() - 2));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 2, view->height() - 2));
    const QString selected = pane.selectedText();
    QVERIFY(selected.size() > 10);
    QVERIFY(text.startsWith(selected));
    QTest::keySequence(&pane, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), selected);
}

void ResultPaneTest::sharedTextStaysWhenTheSourceChanges()
{
    // A long slice shares the source's version, a short one is copied;
    // either stays as it was when the source is edited.
    ResultPane pane;
    EditorText source;
    source.Reset(u"before the match|after");
    for (const auto& [start, length, shown] : {std::tuple(17, 5, "after"), std::tuple(0, 16, "before the match")}) {
        pane.setText(source.Version(), start, length);
        source.Replace(start, start + length, u"XXXXX");
        QCOMPARE(pane.toPlainText(), QString::fromUtf8(shown));
        source.Undo();
    }
    pane.setText(source.Version(), 0, 6);
    QCOMPARE(pane.toPlainText(), QStringLiteral("before"));
}

void ResultPaneTest::clicksSelectWordsAndLines()
{
    // As in an editor: a double click selects a word, a triple click its
    // line with the break, and a drag after it goes by lines; a middle
    // click changes nothing.
    ResultPane pane;
    pane.resize(240, 80);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.setPlainText("one, two\nthree four");
    QWidget* view = pane.viewport();
    const QPoint first(1, 4 + pane.fontMetrics().lineSpacing() / 2);
    const QPoint second = first + QPoint(30, pane.fontMetrics().lineSpacing());
    QTest::mouseClick(view, Qt::LeftButton, {}, first);
    QTest::mousePress(view, Qt::LeftButton, {}, first);
    QTest::mouseDClick(view, Qt::LeftButton, {}, first);
    QCOMPARE(pane.selectedText(), QStringLiteral("one"));
    QTest::mouseRelease(view, Qt::LeftButton, {}, first);
    QTest::mousePress(view, Qt::LeftButton, {}, first);
    QCOMPARE(pane.selectedText(), QStringLiteral("one, two\n"));
    QTest::mouseMove(view, second);
    QTest::mouseRelease(view, Qt::LeftButton, {}, second);
    QTest::mouseClick(view, Qt::MiddleButton, {}, second);
    QCOMPARE(pane.selectedText(), QStringLiteral("one, two\nthree four"));
}

QTEST_MAIN(ResultPaneTest)
#include "ResultPaneTest.moc"
