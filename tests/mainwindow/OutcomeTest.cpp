// The outcome line: after every evaluation it says, without a box or a
// change of focus, whether the pattern matched and where, did not match, did
// not compile, or made the library give up, and how long that took; screen
// readers read the new text.
#include "WidgetTestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>

using namespace WidgetTest;

class OutcomeTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void tellsTheOutcome_data();
    void tellsTheOutcome();
    void isPassiveAndAnnounced();
};

void OutcomeTest::tellsTheOutcome_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");  // what the line says, before its time

    QTest::newRow("match") << "[0-9]+" << "Invoice 0042 paid" << "Match at 8, length 4";
    QTest::newRow("empty match") << "x*" << "abc" << "Match at 0, length 0";
    QTest::newRow("no match") << "z" << "abc" << "No match";
    QTest::newRow("does not compile") << "(" << "abc" << "The pattern does not compile";
    QTest::newRow("gave up") << "(a+)+b" << QString(40, 'a')
                             << "Too complex for this input: the search gave up";
}

void OutcomeTest::tellsTheOutcome()
{
    QFETCH(QString, pattern);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QLabel* line = frmMain->pnOutcome;
    QCOMPARE(line->text(), QString("Nothing evaluated yet"));
    Type(frmMain->reSearch, input);
    QCOMPARE(line->text(), QString("Nothing to do: the pattern is empty"));
    frmMain->mmoSignature->setPlainText(pattern);
    const QRegularExpression timed("^" + QRegularExpression::escape(text) +
                                   " \u00B7 [0-9.]+ (ms|s)$");
    QVERIFY2(timed.match(line->text()).hasMatch(), qPrintable(line->text()));
    frmMain->reSearch->clear();
    QCOMPARE(line->text(), QString("Nothing to do: the input is empty"));
}

void OutcomeTest::isPassiveAndAnnounced()
{
    Type(frmMain->reSearch, "abc");
    Type(frmMain->mmoSignature, "(");
    QVERIFY(frmMain->pnOutcome->text().startsWith("The pattern does not compile \u00B7 "));
    // What a screen reader reads is the outcome itself, never a fixed label.
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(frmMain->pnOutcome);
    QVERIFY(reader);
    QCOMPARE(reader->text(QAccessible::Name), frmMain->pnOutcome->text());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(QApplication::focusWidget(), frmMain->mmoSignature);
    QCOMPARE(frmMain->pnOutcome->focusPolicy(), Qt::NoFocus);
    // The strip keeps its two controls at their ends, the line in between.
    QVERIFY(frmMain->cbSimultaneous->geometry().right() <= frmMain->pnOutcome->geometry().left());
    QVERIFY(frmMain->pnOutcome->geometry().right() <= frmMain->btnMatch->geometry().left());
}

QTEST_MAIN(OutcomeTest)
#include "OutcomeTest.moc"
