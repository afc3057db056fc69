// The syntax and algorithm settings dialog, opened from the main window as a
// user opens it.
#include "WidgetTestSupport.h"
#include "LinkLabel.h"
#include "Unitsettings.h"
#include "WebLinks.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#ifndef TAMARIN_REGEX_RELEASE_NUMBER
#include <boost/version.hpp>
// Standalone Boost.Regex headers carry no release number; the build gives it then.
#define TAMARIN_REGEX_RELEASE_NUMBER BOOST_VERSION
#endif

using namespace WidgetTest;

class SettingsDialogTest : public QObject {
    Q_OBJECT

private:
    QRadioButton* SyntaxButton(int syntaxIndex)
    {
        QRadioButton* buttons[] = {frmSettings->rbPerl, frmSettings->rbBasic, frmSettings->rbExtended};
        return buttons[syntaxIndex];
    }

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        frmMain->show();
    }
    void cleanupTestCase() { DestroyWindows(); }

    // Which tab the main window's four commands bring to the front.
    void opensOnTheCommandsPage_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("page");
        QTest::newRow("Settings > Syntax") << "mnuSyntax" << 0;
        QTest::newRow("tool button Syntax") << "tbSyntax" << 0;
        QTest::newRow("Settings > Algorithms") << "mnuAlgorithms" << 1;
        QTest::newRow("tool button Algorithms") << "tbAlgorithm" << 1;
    }
    void opensOnTheCommandsPage()
    {
        QFETCH(QString, command);
        QFETCH(int, page);
        auto* action = frmMain->findChild<QAction*>(command);
        QVERIFY(action);
        // Start from the other page, so that the command must switch.
        frmSettings->pcSyntax->setCurrentIndex(1 - page);
        int pageShown = -1;
        bool modal = false;
        QVERIFY(DuringModalRun(frmSettings, [&] { action->trigger(); }, [&] {
            pageShown = frmSettings->pcSyntax->currentIndex();
            modal = QApplication::activeModalWidget() == frmSettings;
            frmSettings->Button2->click();
        }));
        QCOMPARE(pageShown, page);
        QVERIFY(modal);
    }

    // OK writes the checked syntax; the main window then shows it in panel 3.
    void okAppliesTheCheckedSyntax_data()
    {
        QTest::addColumn<int>("syntaxIndex");
        QTest::addColumn<QString>("panel");
        QTest::newRow("POSIX Extended") << 2 << "Syntax : POSIX Extended";
        QTest::newRow("POSIX Basic") << 1 << "Syntax : POSIX Basic";
        QTest::newRow("Perl after Basic") << 0 << "Syntax : Perl";
    }
    void okAppliesTheCheckedSyntax()
    {
        QFETCH(int, syntaxIndex);
        QFETCH(QString, panel);
        frmMain->State.SyntaxIndex = syntaxIndex == 0 ? 1 : 0;
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->mnuSyntax->trigger(); }, [&] {
            ClickChoice(SyntaxButton(syntaxIndex));
            frmSettings->Button1->click();
        }));
        QCOMPARE(frmMain->State.SyntaxIndex, syntaxIndex);
        QCOMPARE(frmMain->StatusPanel(3)->text(), panel);
    }

    // Opened on the Algorithm tab and confirmed at once, the syntax stays.
    void okOnTheAlgorithmTabKeepsTheSyntax()
    {
        frmMain->State.SyntaxIndex = 2;
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->mnuAlgorithms->trigger(); },
                               [] { frmSettings->Button1->click(); }));
        QCOMPARE(frmMain->State.SyntaxIndex, 2);
        QCOMPARE(frmMain->StatusPanel(3)->text(), QString("Syntax : POSIX Extended"));
    }

    // Cancel, Escape and the close box write nothing, and the next showing
    // checks the unchanged syntax again. The main window still refreshes
    // panel 3 (here it was stale on purpose).
    void abandonedChoiceIsForgotten_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void abandonedChoiceIsForgotten()
    {
        QFETCH(QString, how);
        frmMain->State.SyntaxIndex = 2;
        frmMain->StatusPanel(3)->setText("stale");
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->tbSyntax->trigger(); }, [&] {
            ClickChoice(frmSettings->rbBasic);
            QVERIFY(frmSettings->rbBasic->isChecked());
            if (how == "cancel")
                QTest::mouseClick(frmSettings->Button2, Qt::LeftButton);
            else if (how == "escape")
                QTest::keyClick(frmSettings, Qt::Key_Escape);
            else
                frmSettings->close();
        }));
        QCOMPARE(frmMain->State.SyntaxIndex, 2);
        QCOMPARE(frmMain->StatusPanel(3)->text(), QString("Syntax : POSIX Extended"));

        bool extendedChecked = false;
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->tbSyntax->trigger(); }, [&] {
            extendedChecked = frmSettings->rbExtended->isChecked() && !frmSettings->rbBasic->isChecked();
            frmSettings->Button2->click();
        }));
        QVERIFY(extendedChecked);
        QVERIFY(frmSettings->isHidden());
    }

    // Enter presses OK, the default button.
    void enterConfirms()
    {
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->mnuSyntax->trigger(); }, [] {
            ClickChoice(frmSettings->rbExtended);
            QTest::keyClick(frmSettings->rbExtended, Qt::Key_Return);
        }));
        QCOMPARE(frmMain->State.SyntaxIndex, 2);
    }

    // Choices of one tab exclude each other, and only each other.
    void eachTabIsOneGroup()
    {
        QVERIFY(ShowActive(frmSettings));
        QVERIFY(frmSettings->rbPerl->isChecked());
        QVERIFY(frmSettings->rbSearch->isChecked());
        ClickChoice(frmSettings->rbExtended);
        QVERIFY(frmSettings->rbExtended->isChecked());
        QVERIFY(!frmSettings->rbPerl->isChecked());
        QVERIFY(!frmSettings->rbBasic->isChecked());
        QVERIFY(frmSettings->rbSearch->isChecked());
        frmSettings->pcSyntax->setCurrentIndex(1);
        ClickChoice(frmSettings->rbMatch);
        QVERIFY(frmSettings->rbMatch->isChecked());
        QVERIFY(!frmSettings->rbSearch->isChecked());
        QVERIFY(frmSettings->rbExtended->isChecked());
        frmSettings->reject();
    }

    // Grep and Replace are shown but cannot be chosen, by mouse or keyboard.
    void grepAndReplaceCannotBeChecked()
    {
        QVERIFY(ShowActive(frmSettings));
        frmSettings->pcSyntax->setCurrentIndex(1);
        for (QRadioButton* button : {frmSettings->rbGrep, frmSettings->reReplace}) {
            QVERIFY(!button->isEnabled());
            ClickChoice(button);
            QVERIFY(!button->isChecked());
        }
        // Arrow keys walk the group but skip the disabled choices.
        frmSettings->rbSearch->setFocus();
        QTest::keyClick(frmSettings->rbSearch, Qt::Key_Down);
        QVERIFY(!frmSettings->rbGrep->isChecked());
        QVERIFY(!frmSettings->reReplace->isChecked());
        frmSettings->reject();
    }

    // The Algorithm tab follows AlgorithmIndex at showing, and OK applies the
    // checked algorithm as the main window's selector does: index, selector
    // and button caption, with no evaluation.
    void algorithmTabIsBoundToTheSelector_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Search to Match") << 1 << 0 << "Match";
        QTest::newRow("Match to Search") << 0 << 1 << "Search";
        QTest::newRow("Match kept") << 0 << 0 << "Match";
    }
    void algorithmTabIsBoundToTheSelector()
    {
        QFETCH(int, before);
        QFETCH(int, chosen);
        QFETCH(QString, caption);
        GiveMainWindowMatchingText();
        frmMain->ComboBoxEx1->setCurrentIndex(before);
        QCOMPARE(frmMain->State.AlgorithmIndex, before);
        EvaluationCounter evaluations;

        bool shownAsBefore = false;
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->mnuAlgorithms->trigger(); }, [&] {
            QRadioButton* current = before == 0 ? frmSettings->rbMatch : frmSettings->rbSearch;
            QRadioButton* other = before == 0 ? frmSettings->rbSearch : frmSettings->rbMatch;
            shownAsBefore = current->isChecked() && !other->isChecked();
            ClickChoice(chosen == 0 ? frmSettings->rbMatch : frmSettings->rbSearch);
            frmSettings->Button1->click();
        }));
        QVERIFY(shownAsBefore);
        QCOMPARE(frmMain->State.AlgorithmIndex, chosen);
        QCOMPARE(frmMain->ComboBoxEx1->currentIndex(), chosen);
        QCOMPARE(frmMain->btnMatch->text(), caption);
        QCOMPARE(evaluations.count(), 0);
    }

    // Cancel applies no algorithm either.
    void cancelLeavesTheAlgorithm()
    {
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->tbAlgorithm->trigger(); }, [] {
            ClickChoice(frmSettings->rbMatch);
            frmSettings->Button2->click();
        }));
        QCOMPARE(frmMain->State.AlgorithmIndex, 1);
        QCOMPARE(frmMain->ComboBoxEx1->currentIndex(), 1);
        QCOMPARE(frmMain->btnMatch->text(), QString("Search"));
    }

    // The link at the foot opens the documentation of the library release
    // Tamarin is built with.
    void documentationLinkOpensTheLibrarysPages()
    {
        BrowserStandIn browser;
        QVERIFY(ShowActive(frmSettings));
        QTest::mouseClick(frmSettings->pnRegexDocumentation, Qt::LeftButton);
        QCOMPARE(browser.opened.size(), 1);
        const QString address = browser.opened.first().toString();
        constexpr int number = TAMARIN_REGEX_RELEASE_NUMBER;
        const QString release = QStringLiteral("%1_%2_%3").arg(number / 100000).arg(number / 100 % 1000).arg(number % 100);
        QCOMPARE(address, QString::fromLatin1(WebLinks::RegexDocumentationFormat).arg(release));
        QVERIFY(browser.opened.first().isValid());
        // The keyboard reaches it too.
        frmSettings->pnRegexDocumentation->setFocus();
        QTest::keyClick(frmSettings->pnRegexDocumentation, Qt::Key_Space);
        QCOMPARE(browser.opened.size(), 2);
        QVERIFY(frmSettings->isVisible());
        frmSettings->reject();
    }

    // The descriptions read as running text: lines joined, the given openings.
    void descriptionsReadAsRunningText_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("opening");
        QTest::newRow("Memo1") << "Memo1"
                               << "The Perl regular expression syntax is based on that used by "
                                  "the programming language Perl ";
        QTest::newRow("Memo3") << "Memo3"
                               << "The POSIX-Basic regular expression syntax is used by the Unix "
                                  "utility sed, and variations are used by grep and emacs.";
        QTest::newRow("Memo2") << "Memo2"
                               << "The POSIX-Extended regular expression syntax is supported by "
                                  "the POSIX C regular expression API's, and variations are used "
                                  "by the utilities egrep and awk.";
        QTest::newRow("Memo4") << "Memo4"
                               << "The algorithm regex _match determines whether a given regular "
                                  "expression matches all of a given character sequence denoted "
                                  "by a pair of bidirectional-iterators, the algorithm is defined "
                                  "as follows, the main use of this function is data input "
                                  "validation.";
        QTest::newRow("Memo5") << "Memo5"
                               << "The algorithm regex_search will search a range denoted by a "
                                  "pair of bidirectional-iterators for a given regular "
                                  "expression. The algorithm uses ";
        QTest::newRow("Memo6") << "Memo6"
                               << "The algorithm regex_grep is deprecated in favor of "
                                  "regex_iterator which provides a more convenient and standard "
                                  "library friendly interface.";
        QTest::newRow("Memo7") << "Memo7"
                               << "The algorithm regex_replace searches through a string finding "
                                  "all the matches to the regular expression: for each match it "
                                  "then calls match_results::format to format the string and "
                                  "sends the result to the output iterator. Sections of text "
                                  "that do not match are copied to the output ";
    }
    void descriptionsReadAsRunningText()
    {
        QFETCH(QString, memo);
        QFETCH(QString, opening);
        auto* box = frmSettings->findChild<QPlainTextEdit*>(memo);
        QVERIFY(box);
        const QString text = box->toPlainText();
        QVERIFY2(text.startsWith(opening), qPrintable(text));
        QVERIFY(!text.contains('\n'));
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->viewport()->backgroundRole(), QPalette::Window);
    }

    // Closed, the dialog is hidden and kept, with its pages as they were.
    void closingKeepsTheDialog()
    {
        QPointer<TfrmSettings> dialog = frmSettings;
        QVERIFY(DuringModalRun(frmSettings, [] { frmMain->mnuAlgorithms->trigger(); },
                               [] { frmSettings->Button1->click(); }));
        QApplication::processEvents();
        QVERIFY(dialog);
        QVERIFY(dialog->isHidden());
        QCOMPARE(dialog->pcSyntax->currentIndex(), 1);
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
