// The match options dialog and its interplay with the main window: the
// mirrored boxes, the status panels, the evaluation that a change of
// real-time match starts, and the two live options the engine reads.
#include "WidgetTestSupport.h"
#include "Unitconfig.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>

using namespace WidgetTest;

class ConfigDialogTest : public QObject {
    Q_OBJECT

private:
    // Opens the dialog from the main window, runs `whileShown`, and checks
    // that the dialog then closed.
    void RunConfig(const std::function<void()>& whileShown)
    {
        QVERIFY(DuringModalRun(frmConfig, [] { frmMain->mnuConfig->trigger(); }, whileShown));
    }

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        frmMain->show();
    }
    void cleanupTestCase() { DestroyWindows(); }

    void startsAsDocumented()
    {
        QVERIFY(!frmConfig->cbCaseSensitive->isChecked());
        QVERIFY(!frmConfig->cfgSyntaxCheck->isChecked());
        QVERIFY(!frmConfig->cfgHighLight->isChecked());
        QVERIFY(!frmConfig->cfgHighLight->isEnabled());
        QVERIFY(frmConfig->cbSimultaneous->isEnabled());
        QCOMPARE(frmConfig->cfgHighLight->parentWidget(), frmConfig->GroupBox1);
        QCOMPARE(frmConfig->cbSimultaneous->parentWidget(), frmConfig->GroupBox1);
    }

    // Both commands of the main window open it modally.
    void opensModallyFromTheMainWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Settings > Config") << "mnuConfig";
        QTest::newRow("tool button Config") << "tbConfig";
    }
    void opensModallyFromTheMainWindow()
    {
        QFETCH(QString, command);
        auto* action = frmMain->findChild<QAction*>(command);
        QVERIFY(action);
        bool modal = false;
        QVERIFY(DuringModalRun(frmConfig, [&] { action->trigger(); }, [&] {
            modal = QApplication::activeModalWidget() == frmConfig;
            frmConfig->Button2->click();
        }));
        QVERIFY(modal);
    }

    // Each showing mirrors the main window's boxes, not what was last
    // chosen here and cancelled.
    void showingMirrorsTheMainWindow()
    {
        RunConfig([] {
            QVERIFY(!frmConfig->cbCaseSensitive->isChecked());
            QVERIFY(frmConfig->cbSimultaneous->isChecked());
            ClickChoice(frmConfig->cbCaseSensitive);
            ClickChoice(frmConfig->cbSimultaneous);
            frmConfig->Button2->click();
        });
        QVERIFY(!frmMain->cbCaseSensitive->isChecked());
        QVERIFY(frmMain->cbSimultaneous->isChecked());
        RunConfig([] {
            QVERIFY(!frmConfig->cbCaseSensitive->isChecked());
            QVERIFY(frmConfig->cbSimultaneous->isChecked());
            frmConfig->Button2->click();
        });
        // Changed in the main window meanwhile: the next showing follows.
        ClickChoice(frmMain->cbCaseSensitive);
        ClickChoice(frmMain->cbSimultaneous);
        RunConfig([] {
            QVERIFY(frmConfig->cbCaseSensitive->isChecked());
            QVERIFY(!frmConfig->cbSimultaneous->isChecked());
            frmConfig->Button2->click();
        });
    }

    // OK with nothing changed rewrites panels 1 and 2 and evaluates nothing.
    void okWithoutChangesOnlyRewritesThePanels()
    {
        GiveMainWindowMatchingText();
        frmMain->StatusPanel(1)->setText("stale 1");
        frmMain->StatusPanel(2)->setText("stale 2");
        EvaluationCounter evaluations;
        RunConfig([] { frmConfig->Button1->click(); });
        QCOMPARE(frmMain->StatusPanel(1)->text(), QString("Syntax Check : OFF"));
        QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case InSensitive"));
        QCOMPARE(evaluations.count(), 0);
    }

    // A change of real-time match runs the trigger exactly once, either way;
    // a change of case alone runs none.
    void evaluationsStartedByOk_data()
    {
        QTest::addColumn<bool>("toggleCase");
        QTest::addColumn<bool>("toggleRealTime");
        QTest::addColumn<int>("evaluations");
        QTest::newRow("nothing") << false << false << 0;
        QTest::newRow("case only") << true << false << 0;
        QTest::newRow("real-time only") << false << true << 1;
        QTest::newRow("both") << true << true << 1;
    }
    void evaluationsStartedByOk()
    {
        QFETCH(bool, toggleCase);
        QFETCH(bool, toggleRealTime);
        QFETCH(int, evaluations);
        GiveMainWindowMatchingText();
        // Off and on again: one evaluation per change of the main window's box.
        for (bool realTimeAfter : {false, true}) {
            EvaluationCounter counter;
            RunConfig([&] {
                if (toggleCase)
                    ClickChoice(frmConfig->cbCaseSensitive);
                if (toggleRealTime)
                    ClickChoice(frmConfig->cbSimultaneous);
                frmConfig->Button1->click();
            });
            QCOMPARE(counter.count(), evaluations);
            QCOMPARE(frmMain->cbSimultaneous->isChecked(), toggleRealTime ? realTimeAfter : true);
        }
    }

    // The case box is written first, so the evaluation set off by real-time
    // match already runs with the new case option: "B" now finds "b". Run
    // with the old option it would find nothing (and clear the tree twice).
    void caseIsAppliedBeforeTheEvaluation()
    {
        ClickChoice(frmMain->cbCaseSensitive);
        frmMain->mmoSignature->setPlainText("B");
        frmMain->reSearch->setPlainText("abc");
        frmMain->btnMatch->click();
        QCOMPARE(ResultCount(), 0);
        EvaluationCounter evaluations;
        RunConfig([] {
            ClickChoice(frmConfig->cbCaseSensitive);
            ClickChoice(frmConfig->cbSimultaneous);
            frmConfig->Button1->click();
        });
        QCOMPARE(evaluations.count(), 1);
        QCOMPARE(ResultText(), QString("b"));
        QVERIFY(!frmMain->cbCaseSensitive->isChecked());
        QVERIFY(!frmMain->cbSimultaneous->isChecked());
    }

    // Checking "Case Sensitive" checks the main window's box; panel 2 says so.
    void okWritesTheCaseOption()
    {
        RunConfig([] {
            ClickChoice(frmConfig->cbCaseSensitive);
            frmConfig->Button1->click();
        });
        QVERIFY(frmMain->cbCaseSensitive->isChecked());
        QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case Sensitive"));
        RunConfig([] {
            ClickChoice(frmConfig->cbCaseSensitive);
            frmConfig->Button1->click();
        });
        QVERIFY(!frmMain->cbCaseSensitive->isChecked());
        QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case InSensitive"));
    }

    // "Syntax Check" on: panel 1 says so and the next evaluation validates
    // the pattern first.
    void syntaxCheckReachesTheEngine()
    {
        RunConfig([] {
            ClickChoice(frmConfig->cfgSyntaxCheck);
            frmConfig->Button1->click();
        });
        QCOMPARE(frmMain->StatusPanel(1)->text(), QString("Syntax Check : ON"));
        QVERIFY(frmConfig->cfgSyntaxCheck->isChecked());

        frmMain->reSearch->setPlainText("abc");
        auto message = AnswerNextMessageBox();
        frmMain->mmoSignature->setPlainText("(");
        QTRY_VERIFY(message->shown);
        QCOMPARE(message->text, QString("Invalid Regular Expression"));
    }

    // Cancel, Escape and the close box put both live options back as they
    // were when the dialog was shown, so that panel 1 keeps telling the truth.
    void abandoningRestoresTheLiveOptions_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("checkWasOn");
        QTest::newRow("Cancel, was off") << "cancel" << false;
        QTest::newRow("Escape, was off") << "escape" << false;
        QTest::newRow("close box, was off") << "close" << false;
        QTest::newRow("Cancel, was on") << "cancel" << true;
        QTest::newRow("close box, was on") << "close" << true;
    }
    void abandoningRestoresTheLiveOptions()
    {
        QFETCH(QString, how);
        QFETCH(bool, checkWasOn);
        if (checkWasOn)
            RunConfig([] {
                frmConfig->cfgSyntaxCheck->setChecked(true);
                frmConfig->Button1->click();
            });
        const QString panel = frmMain->StatusPanel(1)->text();
        RunConfig([&] {
            ClickChoice(frmConfig->cfgSyntaxCheck);
            QCOMPARE(frmConfig->cfgSyntaxCheck->isChecked(), !checkWasOn);
            // Nothing lets a user check it; a program might.
            frmConfig->cfgHighLight->setChecked(true);
            if (how == "cancel")
                QTest::mouseClick(frmConfig->Button2, Qt::LeftButton);
            else if (how == "escape")
                QTest::keyClick(frmConfig, Qt::Key_Escape);
            else
                frmConfig->close();
        });
        QCOMPARE(frmConfig->cfgSyntaxCheck->isChecked(), checkWasOn);
        QVERIFY(!frmConfig->cfgHighLight->isChecked());
        QCOMPARE(frmMain->StatusPanel(1)->text(), panel);
        // Highlight back off: real-time match can be switched on again.
        QVERIFY(frmConfig->cbSimultaneous->isEnabled());
        QVERIFY(frmMain->cbSimultaneous->isEnabled());
    }

    // Highlight and real-time match exclude each other in both windows.
    void highlightExcludesRealTimeMatch()
    {
        GiveMainWindowMatchingText();
        frmConfig->cbSimultaneous->setChecked(true);
        EvaluationCounter evaluations;
        frmConfig->cfgHighLight->setChecked(true);
        QVERIFY(!frmConfig->cbSimultaneous->isEnabled());
        QVERIFY(!frmConfig->cbSimultaneous->isChecked());
        QVERIFY(!frmMain->cbSimultaneous->isEnabled());
        QVERIFY(!frmMain->cbSimultaneous->isChecked());
        // The main window's own reaction to its box ran: one evaluation.
        QCOMPARE(evaluations.count(), 1);

        frmConfig->cfgHighLight->setChecked(false);
        QVERIFY(frmConfig->cbSimultaneous->isEnabled());
        QVERIFY(frmMain->cbSimultaneous->isEnabled());
        QVERIFY(!frmConfig->cbSimultaneous->isChecked());
        QVERIFY(!frmMain->cbSimultaneous->isChecked());
        QCOMPARE(evaluations.count(), 1);
    }

    // Enter presses OK.
    void enterConfirms()
    {
        RunConfig([] {
            ClickChoice(frmConfig->cbCaseSensitive);
            QTest::keyClick(frmConfig->cbCaseSensitive, Qt::Key_Return);
        });
        QVERIFY(frmMain->cbCaseSensitive->isChecked());
    }

    // The engine keeps reading the very boxes of this one dialog.
    void liveOptionsAreTheDialogsOwnBoxes()
    {
        QPointer<QCheckBox> syntaxCheck = frmConfig->cfgSyntaxCheck;
        RunConfig([] { frmConfig->Button2->click(); });
        QApplication::processEvents();
        QVERIFY(syntaxCheck);
        QCOMPARE(frmConfig->cfgSyntaxCheck, syntaxCheck.data());
        QVERIFY(frmConfig->isHidden());
    }
};

QTEST_MAIN(ConfigDialogTest)
#include "ConfigDialogTest.moc"
