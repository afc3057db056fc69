// The syntax error test dialog: modeless, compiles only, and reads the
// main window's syntax and case box when it runs.
#include "WidgetTestSupport.h"
#include "Unitsyntax.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace WidgetTest;

namespace {

const QString Sample = "[0-9]{2}[0,1][0-9][0-3][0-9]((-| |_)|( - ))[1-4][0-9]{6}";

void OpenFromMenu()
{
    frmMain->mnuRegExpSyntaxTest->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(frmSyntax));
}

// Replaces the pattern by typing, as a user does.
void TypePattern(const QString& pattern)
{
    frmSyntax->mnoSignature->selectAll();
    QTest::keyClick(frmSyntax->mnoSignature, Qt::Key_Delete);
    QTest::keyClicks(frmSyntax->mnoSignature, pattern);
}

} // namespace

class SyntaxTestDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        QVERIFY(ShowActive(frmMain));
    }
    void cleanupTestCase() { DestroyWindows(); }

    // Modeless: the main window goes on taking input while it is open.
    void opensModelessFromTheMenu()
    {
        OpenFromMenu();
        QVERIFY(frmSyntax->isVisible());
        QVERIFY(!frmSyntax->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        ClickChoice(frmMain->cbCaseSensitive);
        QVERIFY(frmMain->cbCaseSensitive->isChecked());
        QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case Sensitive"));
    }

    void sampleIsValidAtOnce()
    {
        OpenFromMenu();
        QCOMPARE(frmSyntax->mnoSignature->toPlainText(), Sample);
        QCOMPARE(frmSyntax->ComboBoxEx1->currentText(), QString("PERL"));
        QVERIFY(frmSyntax->Edit2->text().isEmpty());
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
    }

    // The verdict for a pattern in each syntax.
    void verdicts_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("syntax");
        QTest::addColumn<QString>("verdict");
        const QString valid = "Regular Expression";
        const QString invalid = "Invalid Regular Expression";
        QTest::newRow("( Perl") << "(" << 0 << invalid;
        QTest::newRow("( POSIX Basic") << "(" << 1 << valid;
        QTest::newRow("( POSIX Extended") << "(" << 2 << invalid;
        QTest::newRow("[ Perl") << "[" << 0 << invalid;
        QTest::newRow("[ POSIX Basic") << "[" << 1 << invalid;
        QTest::newRow("[ POSIX Extended") << "[" << 2 << invalid;
        QTest::newRow("\\( POSIX Basic") << "\\(" << 1 << invalid;
        QTest::newRow("a{2,1} Perl") << "a{2,1}" << 0 << invalid;
        QTest::newRow("(?i)a Perl") << "(?i)a" << 0 << valid;
        QTest::newRow("(?i)a POSIX Extended") << "(?i)a" << 2 << invalid;
        QTest::newRow("sample POSIX Extended") << Sample << 2 << valid;
        // Line ends are kept and compiled as ordinary characters.
        QTest::newRow("two lines Perl") << "(a\nb)" << 0 << valid;
        QTest::newRow("break inside a group") << "(a\n" << 0 << invalid;
        // The same code page as the main window: each character one byte of
        // its own (a dash sorts after 'a'); one the page lacks, an ordinary one.
        QTest::newRow("euro Perl") << QString::fromUtf8("€+") << 0 << valid;
        QTest::newRow("han POSIX Extended") << QString::fromUtf8("中+") << 2 << valid;
        QTest::newRow("range a to dash") << QString::fromUtf8("[a-–]") << 0 << valid;
        QTest::newRow("range dash to a") << QString::fromUtf8("[–-a]") << 0 << invalid;
    }
    void verdicts()
    {
        QFETCH(QString, pattern);
        QFETCH(int, syntax);
        QFETCH(QString, verdict);
        OpenFromMenu();
        frmSyntax->mnoSignature->setPlainText(pattern);
        frmSyntax->ComboBoxEx1->setCurrentIndex(syntax);
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), verdict);
    }

    // A user typing a pattern with a line break: the break stays and counts.
    void typedLineBreakIsKept()
    {
        OpenFromMenu();
        TypePattern("(a");
        QTest::keyClick(frmSyntax->mnoSignature, Qt::Key_Return);
        QTest::keyClicks(frmSyntax->mnoSignature, "b)");
        QCOMPARE(frmSyntax->mnoSignature->toPlainText(), QString("(a\nb)"));
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
    }

    // The case option is the main window's box at the moment of the test:
    // "[Z-a]" is a valid range only when case counts ("z" to "a" is not).
    void readsTheMainWindowsCaseBoxWhenTesting()
    {
        OpenFromMenu();
        TypePattern("[Z-a]");
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Invalid Regular Expression"));
        ClickChoice(frmMain->cbCaseSensitive);
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
        // For an ordinary valid pattern the case option changes nothing.
        TypePattern(Sample);
        for (int i = 0; i < 2; ++i) {
            ClickChoice(frmMain->cbCaseSensitive);
            QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
            QCOMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
        }
    }

    // Closing and reopening reloads the sample, keeps the old verdict.
    void reopeningReloadsTheSampleButKeepsTheVerdict_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "button";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void reopeningReloadsTheSampleButKeepsTheVerdict()
    {
        QFETCH(QString, how);
        QPointer<TfrmSyntax> dialog = frmSyntax;
        OpenFromMenu();
        TypePattern("(");
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Invalid Regular Expression"));
        if (how == "button")
            QTest::mouseClick(frmSyntax->Button1, Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(frmSyntax->mnoSignature, Qt::Key_Escape);
        else
            frmSyntax->close();
        QApplication::processEvents();
        QVERIFY(dialog);
        QVERIFY(frmSyntax->isHidden());

        OpenFromMenu();
        QCOMPARE(frmSyntax->mnoSignature->toPlainText(), Sample);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Invalid Regular Expression"));
    }

    // The selector shows the current syntax at each showing, and stays where
    // the user put it while the dialog is open.
    void selectorFollowsTheSyntaxAtShowingOnly()
    {
        frmMain->State.SyntaxIndex = 2;
        OpenFromMenu();
        QCOMPARE(frmSyntax->ComboBoxEx1->currentText(), QString("POSIX Extended"));
        frmSyntax->ComboBoxEx1->setCurrentIndex(1);
        TypePattern("x");
        frmMain->State.SyntaxIndex = 0;
        // Chosen again while showing: only brought to the front.
        OpenFromMenu();
        QCOMPARE(frmSyntax->ComboBoxEx1->currentIndex(), 1);
        QCOMPARE(frmSyntax->mnoSignature->toPlainText(), QString("x"));
        frmSyntax->close();
        OpenFromMenu();
        QCOMPARE(frmSyntax->ComboBoxEx1->currentIndex(), 0);
    }

    // The selector is a fixed choice of three.
    void selectorOffersTheThreeSyntaxesOnly()
    {
        QCOMPARE(frmSyntax->ComboBoxEx1->isEditable(), false);
        QStringList entries;
        for (int i = 0; i < frmSyntax->ComboBoxEx1->count(); ++i)
            entries << frmSyntax->ComboBoxEx1->itemText(i);
        QCOMPARE(entries, QStringList({"PERL", "POSIX Basic", "POSIX Extended"}));
        OpenFromMenu();
        frmSyntax->ComboBoxEx1->setFocus();
        QTest::keyClicks(frmSyntax->ComboBoxEx1, "zzz");
        QVERIFY(frmSyntax->ComboBoxEx1->currentIndex() >= 0);
        QVERIFY(entries.contains(frmSyntax->ComboBoxEx1->currentText()));
    }

    // The test changes nothing outside its verdict box.
    void testingChangesNothingElse()
    {
        GiveMainWindowMatchingText();
        EvaluationCounter evaluations;
        OpenFromMenu();
        frmSyntax->ComboBoxEx1->setCurrentIndex(2);
        TypePattern("(");
        QTest::mouseClick(frmSyntax->Button2, Qt::LeftButton);
        QCOMPARE(frmMain->State.SyntaxIndex, 0);
        QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("b"));
        QCOMPARE(frmMain->StatusPanel(3)->text(), QString("Syntax : Perl"));
        QCOMPARE(evaluations.count(), 0);
    }

    // Enter outside the pattern editor tests; inside it, it is a line break.
    void enterTestsFromTheVerdictBox()
    {
        OpenFromMenu();
        QVERIFY(ShowActive(frmSyntax));
        frmSyntax->Edit2->setFocus();
        frmSyntax->Edit2->clear();
        QTest::keyClick(frmSyntax->Edit2, Qt::Key_Return);
        QCOMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
        QVERIFY(frmSyntax->isVisible());
    }
};

QTEST_MAIN(SyntaxTestDialogTest)
#include "SyntaxTestDialogTest.moc"
